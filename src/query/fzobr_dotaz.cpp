#include "query/fzobr_dotaz.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTransposeProxyModel>
#include <QVBoxLayout>
#include <cmath>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/widgets/db_grid.h"
#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "query/extremes.h"
#include "query/graph_registration.h"
#include "query/result_columns.h"

namespace kolvio {

namespace {

constexpr char kWidthsSection[] = "Zobr_Vysledek_1";
constexpr char kViewerSection[] = "Zobr_dotaz1";
constexpr char kIndexKey[] = "index_soubory";
constexpr int kTitleColumnWidth = 200;
constexpr int kMinimumColumnWidth = 80;
constexpr int kTitlePadding = 16;

bool ShowFailure(const Status& st) {
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
    return st.ok();
}

bool Sortable(FieldType type) {
    return type != FieldType::kLogical && type != FieldType::kMemo && type != FieldType::kBlob;
}

GridColumn::Formatter Formatter(ResultFormatter f, const DisplaySettings& s) {
    using Fixed = std::string (*)(const Value&, const DisplaySettings&);
    using Plain = std::string (*)(const Value&);
    const auto fixed = [&s](Fixed fn) -> GridColumn::Formatter {
        return [fn, &s](const Value& v) { return QString::fromStdString(fn(v, s)); };
    };
    const auto plain = [](Plain fn) -> GridColumn::Formatter {
        return [fn](const Value& v) { return QString::fromStdString(fn(v)); };
    };
    switch (f) {
        case ResultFormatter::kNone:
            return {};
        case ResultFormatter::kDELKA:
            return fixed(DELKAGetText);
        case ResultFormatter::kPRUMER:
            return fixed(PRUMERGetText);
        case ResultFormatter::kRYCHL_MAX:
            return fixed(RYCHL_MAXGetText);
        case ResultFormatter::kSR_TEP:
            return fixed(SR_TEPGetText);
        case ResultFormatter::kSR_KCAL:
            return fixed(SR_KCALGetText);
        case ResultFormatter::kSR_PLP:
            return fixed(SR_PLPGetText);
        case ResultFormatter::kSR_Procent:
            return fixed(SR_ProcentGetText);
        case ResultFormatter::kCAS:
            return plain(CASGetText);
        case ResultFormatter::kCASNull:
            return plain(CASGetTextNull);
        case ResultFormatter::kMESIC:
            return plain(MESICGetText);
        case ResultFormatter::kSMER:
            return plain(SMERGetText);
    }
    return {};
}

// NastavViewTable: the title, alignment and formatter of each field.
QList<GridColumn> ResultColumns(const Table& table, const DisplaySettings& settings) {
    QList<GridColumn> columns;
    for (const FieldLayout& field : table.fields()) {
        const QString name = QString::fromStdString(field.name);
        Qt::Alignment align = IsNumericType(field.type) ? Qt::AlignRight : Qt::AlignLeft;
        GridColumn::Formatter format;
        QString title = name;
        if (const ResultColumnStyle* style = FindResultColumnStyle(field.name)) {
            title =
                QString::fromUtf8(style->title.data(), static_cast<qsizetype>(style->title.size()));
            if (style->alignment == ValueAlignment::kRight) align = Qt::AlignRight;
            if (style->alignment == ValueAlignment::kCentre) align = Qt::AlignHCenter;
            format = Formatter(style->formatter, settings);
        }
        columns.append(GridColumn(name, title, format, true, align | Qt::AlignVCenter));
    }
    return columns;
}

}  // namespace

TFZobr_Dotaz* TFZobr_Dotaz::Create(TForm_hl& main) {
    Table& table = main.database().TVYSL();
    table.setDirectory(main.database().DataDir());
    if (!ShowFailure(table.open())) return nullptr;
    return new TFZobr_Dotaz(main);
}

TFZobr_Dotaz::TFZobr_Dotaz(TForm_hl& main) : TFVyhod_Zakl(main) {
    setObjectName(QStringLiteral("FZobr_Dotaz"));
    setWindowTitle(QStringLiteral("Zobrazení výsledku dotazu"));
    Label1->setText(QStringLiteral("ZOBRAZENÍ VÝSLEDKU DOTAZU"));
    setHelpContext(900);
    if (main.settings().readBool(kViewerSection, kIndexKey, false)) buildSortIndexes();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabTabulka"));
    DBGrid1 = new DBGrid(result(), ResultColumns(result(), main.displaySettings()), page);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setTitleSort(true, true);
    // Wide enough for its title until the rider sets a width.
    const QFontMetrics metrics = DBGrid1->horizontalHeader()->fontMetrics();
    for (int col = 0; col < DBGrid1->datasetModel()->columnCount(); ++col) {
        const QString title = DBGrid1->datasetModel()->column(col).title;
        DBGrid1->setColumnWidth(
            col, std::max(kMinimumColumnWidth, metrics.horizontalAdvance(title) + kTitlePadding));
    }
    swappedView = new QTableView(page);
    swappedView->setObjectName(QStringLiteral("swappedView"));
    swappedView->setModel(new QTransposeProxyModel(swappedView));
    static_cast<QTransposeProxyModel*>(swappedView->model())
        ->setSourceModel(DBGrid1->datasetModel());
    swappedView->setSelectionMode(QAbstractItemView::SingleSelection);
    swappedView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    swappedView->horizontalHeader()->hide();
    swappedView->verticalHeader()->setFixedWidth(kTitleColumnWidth);
    swappedView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    swappedView->verticalHeader()->setDefaultSectionSize(
        DBGrid1->verticalHeader()->defaultSectionSize());
    swappedView->setWordWrap(false);
    swappedView->hide();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DBGrid1);
    layout->addWidget(swappedView);
    PageControl1->addTab(page, QStringLiteral("Tabulka"));
    buildChartPages();
    body()->addWidget(PageControl1, 1);
    restoreWidths();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* name, const char* caption, const char* hint) {
        QAction* a = PopupMenu1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(QString::fromUtf8(hint));
        return a;
    };
    MSoucet = item("MSoucet", "&součet", "vypočte součet hodnot aktivního sloupce");
    MPrumer = item("MPrumer", "&průměr", "vypočte průměrnou hodnotu aktivního sloupce");
    MMax = item("MMax", "&maximum", "nalezne maximální hodnotu aktivního sloupce");
    MMin = item("MMin", "mi&nimum", "nalezne minimální hodnotu aktivního sloupce");
    PopupMenu1->addSeparator();
    MPocet = item("MPocet", "poče&t", "spočte počet zobrazených zánamů");
    MVymaz = item("MVymaz", "&vymazat", "vymaže aktivní záznam");
    PopupMenu1->addSeparator();
    MProhodSR = item("MProhodSR", "pro&hoď", "prohodí sloupce a řádky");
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TFZobr_Dotaz::enableSummaries);
    connect(MSoucet, &QAction::triggered, this, [this] { summary(SummaryKind::kSum); });
    connect(MPrumer, &QAction::triggered, this, [this] { summary(SummaryKind::kAverage); });
    connect(MMax, &QAction::triggered, this, [this] { summary(SummaryKind::kMaximum); });
    connect(MMin, &QAction::triggered, this, [this] { summary(SummaryKind::kMinimum); });
    connect(MPocet, &QAction::triggered, this, &TFZobr_Dotaz::MPocetClick);
    connect(MVymaz, &QAction::triggered, this, &TFZobr_Dotaz::MVymazClick);
    connect(MProhodSR, &QAction::triggered, this, &TFZobr_Dotaz::MProhodSRClick);
    for (QTableView* view : {static_cast<QTableView*>(DBGrid1), swappedView}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& at) { showMenu(view->viewport()->mapToGlobal(at)); });
    }
    // In the swapped layout a record is a column.
    connect(swappedView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                DBGrid1->datasetModel()->setCurrentRow(current.column());
                lastColumn_ = current.row();
            });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) lastColumn_ = current.column();
            });
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFZobr_Dotaz::pageChanged);
    // A deleted row leaves a drawn chart out of date.
    handlers_.attach(result(), TableEvent::kAfterDelete, [this](Table&) {
        Zmena();
        return Status::Ok();
    });
    Zmena();
    pageChanged(PageControl1->currentIndex());
    DBGrid1->setFocus();
}

TFZobr_Dotaz::~TFZobr_Dotaz() = default;

void TFZobr_Dotaz::pageChanged(int index) {
    static constexpr int kPageHelp[] = {1010, 1020, 1030};
    setHelpContext(index >= 0 && index < 3 ? kPageHelp[index] : 900);
}

int TFZobr_Dotaz::currentColumn() const {
    const QModelIndex current = swapped() ? swappedView->currentIndex() : DBGrid1->currentIndex();
    if (current.isValid()) return swapped() ? current.row() : current.column();
    // A grid without rows keeps the column it was on.
    return lastColumn_ < DBGrid1->datasetModel()->columnCount() ? lastColumn_ : -1;
}

Table& TFZobr_Dotaz::result() const {
    return mainWindow().database().TVYSL();
}

bool TFZobr_Dotaz::swapped() const {
    return swappedView->isVisibleTo(this);
}

void TFZobr_Dotaz::showMenu(const QPoint& at) {
    PopupMenu1->popup(at);
}

void TFZobr_Dotaz::buildSortIndexes() {
    Table& table = result();
    const std::vector<FieldLayout> fields = table.fields();
    const int n = static_cast<int>(fields.size());
    TForm_hl& main = mainWindow();
    main.showGauge("Vytváření indexových souborů");
    for (int i = 0; i < n; ++i) {
        const std::string& f = fields[i].name;
        if (Sortable(fields[i].type)) {
            if (!ShowFailure(EnsureIndex(table, f.substr(0, 10), f))) break;
            main.setGauge(static_cast<int>(std::lround((i + 0.5) / n * 100)));
            if (!ShowFailure(EnsureIndex(table, ("_" + f).substr(0, 10), f, false, true))) break;
        }
        main.setGauge(static_cast<int>(std::lround((i + 1.0) / n * 100)));
    }
    main.hideGauge();
}

void TFZobr_Dotaz::saveWidths() {
    DatasetModel* model = DBGrid1->datasetModel();
    if (model->columnCount() <= 1) return;
    const Status st = mainWindow().settings().update([&](IniDocument& ini) {
        for (int c = 0; c < model->columnCount(); ++c) {
            if (!ini.setValue(
                    kWidthsSection, model->column(c).field.toStdString(),
                    std::to_string(qRound(DBGrid1->columnWidth(c) / DBGrid1->fontScale())))) {
                return false;
            }
        }
        return true;
    });
    ShowFailure(st);
}

void TFZobr_Dotaz::restoreWidths() {
    DatasetModel* model = DBGrid1->datasetModel();
    if (model->columnCount() <= 1) return;
    const IniDocument ini = mainWindow().settings().load();
    for (int c = 0; c < model->columnCount(); ++c) {
        const auto text = ini.value(kWidthsSection, model->column(c).field.toStdString());
        bool ok = false;
        const int width = text ? QString::fromStdString(*text).toInt(&ok) : 0;
        if (ok && width > 0) {
            DBGrid1->setColumnWidth(c, qRound(width * DBGrid1->fontScale()));
        } else if (model->column(c).field == QLatin1String(kExtremeField)) {
            // The rank an extremes row stands for is read whole.
            DBGrid1->resizeColumnToContents(c);
        }
    }
}

void TFZobr_Dotaz::MVymazClick() {
    if (ShowMsgBox(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgButtons::kYesNo) ==
        MsgResult::kNo) {
        return;
    }
    Table& table = result();
    if (!table.isOpen() || table.isEmpty()) return;
    // The grid starts again from its first column after the rows change;
    // the rider stays on the column they were summing up.
    const int column = currentColumn();
    ShowFailure(table.deleteRecord());
    if (column < 0) return;
    lastColumn_ = column;
    const QModelIndex current = DBGrid1->currentIndex();
    if (current.isValid() && !swapped())
        DBGrid1->setCurrentIndex(DBGrid1->model()->index(current.row(), column));
}

void TFZobr_Dotaz::MProhodSRClick() {
    if (!swapped()) {
        saveWidths();
        DBGrid1->hide();
        swappedView->show();
        const int row = DBGrid1->datasetModel()->currentRow();
        if (row >= 0) swappedView->setCurrentIndex(swappedView->model()->index(0, row));
        swappedView->setFocus();
    } else {
        swappedView->hide();
        DBGrid1->show();
        restoreWidths();
        DBGrid1->setFocus();
    }
}

void TFZobr_Dotaz::FormClose() {
    handlers_.detachAll();
    saveWidths();
    SettingsFile& ini = mainWindow().settings();
    if (ini.readInteger(kGraphRegistrationSection, kGraphMethodKey, 0) != 0)
        ShowFailure(ini.writeInteger(kGraphRegistrationSection, kGraphMethodKey, 0));
    result().close();
}

}  // namespace kolvio
