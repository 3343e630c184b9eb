#include "query/builder_parts.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QTimer>

namespace kolvio {

namespace {

class ExitFilter final : public QObject {
public:
    ExitFilter(QWidget* control, std::function<void()> check)
        : QObject(control), check_(std::move(check)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && !running_) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                running_ = true;
                const QPointer<QObject> alive(this);
                check_();
                if (!alive) return false;
                running_ = false;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> check_;
    bool running_ = false;
};

}  // namespace

Criterion::Criterion(QCheckBox* use, std::string* fragment, Build build)
    : QObject(use), use_(use), fragment_(fragment), build_(std::move(build)) {
    connect(use_, &QCheckBox::toggled, this, &Criterion::toggled);
}

bool Criterion::ticked() const {
    return use_->isChecked();
}

void Criterion::invalidate() {
    fragment_->clear();
    use_->setChecked(false);
}

void Criterion::toggled(bool on) {
    fragment_->clear();
    if (!on) return;
    std::string fragment;
    if (!build_(&fragment)) {
        use_->setChecked(false);
        return;
    }
    *fragment_ = std::move(fragment);
}

YesNoChoice::YesNoChoice(QWidget* parent) : QWidget(parent) {
    Ano = Control(new QRadioButton(QStringLiteral("výběr ANO"), this), "RBAno");
    Ne = Control(new QRadioButton(QStringLiteral("výběr NE"), this), "RBNe");
    Ano->setChecked(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(Ano);
    row->addWidget(Ne);
    row->addStretch();
    connect(Ne, &QRadioButton::toggled, this, &YesNoChoice::changed);
}

bool YesNoChoice::negate() const {
    return Ne->isChecked();
}

ChosenList::ChosenList(const QStringList& columns, QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(static_cast<int>(columns.size()));
    setHeaderLabels(columns);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
}

bool ChosenList::add(int64_t code, const QStringList& names) {
    const QString caption = QString::number(code);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->text(0) == caption) return false;
    }
    auto* item = new QTreeWidgetItem(this, QStringList{caption} + names);
    for (int c = 0; c < columnCount(); ++c)
        item->setTextAlignment(c, Qt::AlignLeft | Qt::AlignVCenter);
    emit rowsChanged();
    return true;
}

bool ChosenList::removeSelected() {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected()) {
            delete takeTopLevelItem(i);
            emit rowsChanged();
            return true;
        }
    }
    return false;
}

std::vector<int64_t> ChosenList::codes() const {
    std::vector<int64_t> out;
    for (int i = 0; i < topLevelItemCount(); ++i)
        out.push_back(topLevelItem(i)->text(0).toLongLong());
    return out;
}

ExitChecks::~ExitChecks() {
    for (const QPointer<QObject>& filter : filters_)
        delete filter.data();
}

void ExitChecks::on(QWidget* control, std::function<void()> check) {
    filters_.emplace_back(new ExitFilter(control, std::move(check)));
}

void FocusBackLater(QWidget* control) {
    QTimer::singleShot(0, control, [c = QPointer<QWidget>(control)] {
        if (c) c->setFocus(Qt::OtherFocusReason);
    });
}

}  // namespace kolvio
