#include "app/fnavig.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include "app/directory_chooser.h"
#include "app/fkonfig.h"
#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/recent_databases.h"
#include "app/shorten_path.h"
#include "app/widgets/round_button.h"

namespace kolvio {

namespace {

constexpr int kColumns = 5;
constexpr int kRecentEntries = 5;
constexpr int kRecentPathMax = 30;

QGridLayout* Group(QVBoxLayout* body, QWidget* parent, const QString& title) {
    auto* box = new QGroupBox(title, parent);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(10);
    body->addWidget(box, 1);
    return grid;
}

void Place(QGridLayout* grid, const QList<RoundButton*>& buttons) {
    for (int i = 0; i < buttons.size(); ++i)
        grid->addWidget(buttons[i], i / kColumns, i % kColumns);
    for (int c = 0; c < kColumns; ++c)
        grid->setColumnStretch(c, 1);
}

}  // namespace

TFNavig::TFNavig(TForm_hl& main) : TFZakl(main) {
    setObjectName(QStringLiteral("FNavig"));
    setWindowTitle(QStringLiteral("NAVIGÁTOR"));
    Label1->setText(QStringLiteral("NAVIGÁTOR"));
    setHelpContext(1);

    RButton1 = dataButton("RButton1", "Nová jízda", "Zadání nové jízdy", ScreenId::kNovaJizda);
    RButton2 = dataButton("RButton2", "Nová trať", "Zadání nové tratě", ScreenId::kNovaTrat);
    RButton3 = dataButton("RButton3", "Nové kolo", "Zadání nového typu kola", ScreenId::kNoveKolo);
    RButton5 = dataButton("RButton5", "Editace kol", "Editace a odstranění typu kola",
                          ScreenId::kEditKolo);
    RButton6 =
        dataButton("RButton6", "Editace tratí", "Editace a odstranění tratí", ScreenId::kEditTrat);
    RButton4 =
        dataButton("RButton4", "Nový typ jízd", "Zadání nového typu jízd", ScreenId::kNovyTypJizd);
    RButton7 = dataButton("RButton7", "Editace typu jízd", "Editace a odstranění typu jízd",
                          ScreenId::kEditTypJizd);
    RButton8 = dataButton("RButton8", "Editace jízd", "Editace a odstranění jízd", std::nullopt);
    if (FindScreen(ScreenId::kEditJizd)) available_.append(RButton8);
    connect(RButton8, &RoundButton::clicked, this, &TFNavig::RButton8Click);
    RBTHL = dataButton("RBTHL", "Nové hlídání tepu",
                       "Zadání nového typu hlídání limitu tepové frekvence", ScreenId::kNoveTHL);
    RBETHL =
        dataButton("RBETHL", "Editace hlídání tepu",
                   "Editace a odstranění typu hlídání limitu tepové frekvence", ScreenId::kEditthl);

    RButton10 = evaluationButton("RButton10", "Obecné", "Obecné vyhodnocení");
    RButton11 = evaluationButton("RButton11", "Statistika",
                                 "Vyhodnocení statistických údajů jízd {max.,min...}");
    RButton12 = evaluationButton("RButton12", "Statistika tratí",
                                 "Vyhodnocení statistických údajů tratí (tratě) {max.,min...}");
    RButton13 = evaluationButton("RButton13", "Statistika kol",
                                 "Vyhodnocení statistických údajů kol (kola) {max.,min...}");
    RButton14 = evaluationButton(
        "RButton14", "Statistika hl. t. jízd",
        "Vyhodnocení statistických údajů hlavních typů jízd (jízdy) {max.,min...}");
    RButton15 = evaluationButton(
        "RButton15", "Statistika ved. t. jízd",
        "Vyhodnocení statistických údajů vedlejších typů jízd (jízdy) {max.,min...}");
    RButton18 = evaluationButton(
        "RButton18", "Statistika hlídání tepu",
        "Vyhodnocení statistických údajů typu hlídání limitu tepové frekvence {max.,min...}");
    RButton16 = evaluationButton(
        "RButton16", "Statistika měsíční",
        "Vyhodnocení statistických údajů jednotlivých jízd po měsících {max.,min...}");
    RButton17 = new RoundButton(QStringLiteral("Extrémy"), this);
    RButton17->setObjectName(QStringLiteral("RButton17"));
    RButton17->setToolTip(QStringLiteral("Vyhodnocení extrémů jednotlivých jízd"));
    RButton17->setStatusTip(RButton17->toolTip());
    const ScreenFactory extremes = FindScreen(ScreenId::kDotaz2);
    if (extremes) available_.append(RButton17);
    connect(RButton17, &RoundButton::clicked, this, [this, extremes] {
        if (extremes) openTask(extremes(mainWindow()));
    });

    // New items above the matching editors.
    Place(Group(body(), this, QStringLiteral("Data:")),
          {RButton1, RButton2, RButton3, RButton4, RBTHL, RButton8, RButton6, RButton5, RButton7,
           RBETHL});
    Place(Group(body(), this, QStringLiteral("Vyhodnocení:")),
          {RButton10, RButton11, RButton12, RButton13, RButton14, RButton15, RButton18, RButton16,
           RButton17});
    createMenus();
    updateTasks();
    for (RoundButton* b : findChildren<RoundButton*>())
        b->installEventFilter(this);
    connect(&mainWindow(), &TForm_hl::databaseChanged, this, &TFNavig::updateTasks);

    // The route list shows route 0 again (the ride screens hide it).
    mainWindow().database().TTRS().setFiltered(false);
}

void TFNavig::updateTasks() {
    const bool open = mainWindow().hasDatabase();
    for (RoundButton* b : findChildren<RoundButton*>())
        b->setEnabled(open && available_.contains(b));
    MDKomprese->setEnabled(open);
}

RoundButton* TFNavig::dataButton(const char* name, const char* caption, const char* hint,
                                 std::optional<ScreenId> screen) {
    auto* button = new RoundButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(hint));
    button->setStatusTip(button->toolTip());
    if (screen) {
        const ScreenFactory factory = FindScreen(*screen);
        if (factory) available_.append(button);
        connect(button, &RoundButton::clicked, this, [this, factory] {
            if (factory) openTask(factory(mainWindow()));
        });
    }
    return button;
}

RoundButton* TFNavig::evaluationButton(const char* name, const char* caption, const char* hint) {
    auto* button = new RoundButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(hint));
    button->setStatusTip(button->toolTip());
    const QueryBuilderFactory builder = FindQueryBuilder();
    if (builder) available_.append(button);
    connect(button, &RoundButton::clicked, this, [this, builder, name = button->objectName()] {
        if (builder) openTask(builder(mainWindow(), PresetOfButton(name.toStdString())));
    });
    return button;
}

bool TFNavig::eventFilter(QObject* watched, QEvent* event) {
    // The buttons change size after the navigator does (their layout runs
    // later), and with the scale of the screen.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::FontChange) && !sharing_) {
        sharing_ = true;
        QTimer::singleShot(0, this, &TFNavig::shareCaptionSize);
    }
    return TFZakl::eventFilter(watched, event);
}

void TFNavig::shareCaptionSize() {
    sharing_ = false;
    const QList<RoundButton*> buttons = findChildren<RoundButton*>();
    qreal size = 0;
    for (const RoundButton* b : buttons) {
        const qreal fit = b->fittingPointSize();
        size = size == 0 ? fit : std::min(size, fit);
    }
    for (RoundButton* b : buttons)
        b->setCaptionPointSize(size);
}

void TFNavig::createMenus() {
    QMenu* db = addMenu(QStringLiteral("&Databáze"));
    db->setObjectName(QStringLiteral("MDatabaze"));
    auto action = [this](QMenu* menu, const char* name, const char* caption, const char* hint) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(QString::fromUtf8(hint));
        return a;
    };
    MNovaDB = action(db, "MNovaDB", "&Nová...", "Vytvoří databáze v určeném adresáři");
    MOtevriDB = action(db, "MOtevriDB", "&Otevři...", "Otevře databáze z určeného adresáře");
    MPredchoz = db->addMenu(QStringLiteral("Pře&dchozí"));
    MPredchoz->setObjectName(QStringLiteral("MPredchoz"));
    for (int i = 1; i <= kRecentEntries; ++i) {
        QAction* a = MPredchoz->addAction(QString::number(i));
        a->setObjectName(QStringLiteral("MPredch%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { MPredch1Click(i); });
        MPredch.append(a);
    }
    db->addSeparator();
    MDKomprese = action(db, "MDKomprese", "&Komprese",
                        "Provede kompresi databáze - vhodné použít po vymazání více záznamů "
                        "(jízd, ..)");
    connect(MNovaDB, &QAction::triggered, this, &TFNavig::MNovaDBClick);
    connect(MOtevriDB, &QAction::triggered, this, &TFNavig::MOtevriDBClick);
    connect(MPredchoz, &QMenu::aboutToShow, this, &TFNavig::MPredchozClick);
    connect(MDKomprese, &QAction::triggered, this, &TFNavig::MDKompreseClick);

    QMenu* konf = addMenu(QStringLiteral("&Konfigurace"));
    konf->setObjectName(QStringLiteral("MKonfigurace"));
    MKonfNastav = action(konf, "MKonfNastav", "&Nastavení...", "Možnost změny nastavení programu");
    connect(MKonfNastav, &QAction::triggered, this, &TFNavig::MKonfNastavClick);
}

void TFNavig::openTask(TFZakl* screen) {
    TForm_hl& main = mainWindow();
    if (QMdiSubWindow* sub = subWindow()) sub->showMinimized();
    closeScreen();
    main.showScreen(screen);
}

QString TFNavig::chooseDirectory(const QString& title, bool createTyped) {
    const std::optional<QString> dir =
        Directories().choose(window(), title, mainWindow().dataDir(),
                             createTyped ? TypedDirectory::kCreate : TypedDirectory::kMustExist);
    return dir ? *dir : QString();
}

void TFNavig::rememberDatabase(const QString& dir) {
    const Status st = RecentDbAdd(mainWindow().settings(), dir.toStdString());
    if (!st.ok()) {
        ShowMsgBox(QStringLiteral("Seznam předchozích databází nelze uložit:\n%1\n"
                                  "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                       .arg(QString::fromStdString(st.message())),
                   MsgKind::kError, MsgButtons::kOk);
    }
}

void TFNavig::MNovaDBClick() {
    const QString dir = chooseDirectory(QStringLiteral("Nová databáze - vyber adresář"), true);
    if (dir.isEmpty()) return;
    const MsgResult answer =
        DatabaseFilesPresent(dir.toStdString(), 2)
            ? ShowMsgBox(QStringLiteral("Opravdu vytvořit nové databáze\na stávající přepsat ?"),
                         MsgKind::kConfirmation, MsgButtons::kYesNo, 2)
            : ShowMsgBox(QStringLiteral("Opravdu vytvořit nové databáze?"), MsgKind::kConfirmation,
                         MsgButtons::kYesNo);
    if (answer == MsgResult::kNo) return;
    // Only a database that is really open goes into the list.
    if (mainWindow().MOtevriNovaDB(dir, OverwritePolicy::kReplace)) rememberDatabase(dir);
}

void TFNavig::MOtevriDBClick() {
    const QString dir = chooseDirectory(QStringLiteral("Otevřít databázi - vyber adresář"), false);
    if (dir.isEmpty()) return;
    if (!DatabaseFilesPresent(dir.toStdString(), 1)) {
        ShowMsgBox(QStringLiteral("V daném adresáři nejsou požadované databáze!"), MsgKind::kError,
                   MsgButtons::kOk);
        return;
    }
    if (ShowMsgBox(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                   MsgButtons::kYesNo) == MsgResult::kNo) {
        return;
    }
    if (mainWindow().MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles)) rememberDatabase(dir);
}

void TFNavig::MPredchozClick() {
    const SettingsFile& ini = mainWindow().settings();
    for (int k = 2; k <= kRecentDbCount; ++k) {
        QString text = QString::fromStdString(ShortenPath(RecentDbRead(ini, k), kRecentPathMax));
        QAction* entry = MPredch.at(k - 2);
        entry->setText(text.replace(u'&', QStringLiteral("&&")));
        entry->setVisible(!text.isEmpty());
    }
}

void TFNavig::MPredch1Click(int i) {
    const QString dir = QString::fromStdString(RecentDbRead(mainWindow().settings(), i + 1));
    if (dir.isEmpty()) return;
    if (ShowMsgBox(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                   MsgButtons::kYesNo) == MsgResult::kNo) {
        return;
    }
    if (mainWindow().MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles)) rememberDatabase(dir);
}

void TFNavig::MDKompreseClick() {
    mainWindow().CompactDatabase();
}

void TFNavig::MKonfNastavClick() {
    openTask(new TFKonfig(mainWindow()));
}

void TFNavig::RButton8Click() {
    const ScreenFactory editor = FindScreen(ScreenId::kEditJizd);
    if (!editor) return;
    if (mainWindow().database().Table1().isEmpty()) {
        ShowMsgBoxQuiet(QStringLiteral("Databáze neobsahuje žádnou jízdu\n=> nelze editovat."),
                        MsgKind::kInformation, MsgButtons::kOk);
        return;
    }
    openTask(editor(mainWindow()));
}

}  // namespace kolvio
