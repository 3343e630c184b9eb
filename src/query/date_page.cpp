#include "query/date_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/message_service.h"
#include "query/builder_parts.h"
#include "query/criteria.h"
#include "query/ride_history.h"

namespace kolvio {

namespace {

Date ToDate(const QDate& d) {
    return *Date::FromYmd(d.year(), d.month(), d.day());
}

QDate ToQDate(const Date& d) {
    return QDate(d.year(), d.month(), d.day());
}

QDateEdit* DatePicker(QWidget* parent, const char* name, const QDate& date) {
    auto* edit = Control(new QDateEdit(date, parent), name);
    edit->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    edit->setCalendarPopup(true);
    // The date counts once it is typed whole, not at each keystroke.
    edit->setKeyboardTracking(false);
    edit->setMinimumDate(QDate(100, 1, 1));
    return edit;
}

}  // namespace

DatePage::DatePage(QWidget* parent, std::string* fragment, Table& rides, const QDate& today)
    : QWidget(parent), rides_(rides), today_(today) {
    auto* kind = new QGroupBox(this);
    RBAktualni = Control(new QRadioButton(QStringLiteral("aktuální rok"), kind), "RBAktualni");
    RBPouzite = Control(new QRadioButton(QStringLiteral("použité roky..."), kind), "RBPouzite");
    RBObecne = Control(new QRadioButton(QStringLiteral("obecné..."), kind), "RBObecne");
    RBAktualni->setChecked(true);
    auto* group = new QButtonGroup(this);
    auto* kinds = new QVBoxLayout(kind);
    for (QRadioButton* b : {RBAktualni, RBPouzite, RBObecne}) {
        group->addButton(b);
        kinds->addWidget(b);
    }
    kinds->addStretch();

    PanelRoky = Control(new QGroupBox(QStringLiteral("Vyber rok:"), this), "PanelRoky");
    CheckListRoky = Control(new QListWidget(PanelRoky), "CheckListRoky");
    (new QVBoxLayout(PanelRoky))->addWidget(CheckListRoky);

    PanelObecne = Control(new QGroupBox(this), "PanelObecne");
    DateOd = DatePicker(PanelObecne, "DateOd", today.addDays(-30));
    DateDo = DatePicker(PanelObecne, "DateDo", today);
    BPosledni =
        Control(new QPushButton(QStringLiteral("Nastav datum posledních X jízd:"), PanelObecne),
                "BPosledni");
    SpinPosledni = Control(new QSpinBox(PanelObecne), "SpinPosledni");
    SpinPosledni->setRange(1, 10000);
    SpinPosledni->setValue(10);
    BMesic = Control(new QPushButton(QStringLiteral("Nastav datum měsíce číslo:"), PanelObecne),
                     "BMesic");
    SpinMesic = Control(new QSpinBox(PanelObecne), "SpinMesic");
    SpinMesic->setRange(1, 12);
    SpinMesic->setValue(today.month());
    for (QPushButton* b : {BPosledni, BMesic})
        b->setAutoDefault(false);
    auto* dates = new QGridLayout(PanelObecne);
    auto* od = new QLabel(QStringLiteral("Od:"), PanelObecne);
    od->setBuddy(DateOd);
    auto* to = new QLabel(QStringLiteral("Do:"), PanelObecne);
    to->setBuddy(DateDo);
    dates->addWidget(od, 0, 0);
    dates->addWidget(DateOd, 0, 1);
    dates->addWidget(to, 1, 0);
    dates->addWidget(DateDo, 1, 1);
    dates->addWidget(BPosledni, 2, 0, 1, 2);
    dates->addWidget(SpinPosledni, 2, 2);
    dates->addWidget(BMesic, 3, 0, 1, 2);
    dates->addWidget(SpinMesic, 3, 2);
    dates->setRowStretch(4, 1);

    CBPouzit = Control(new QCheckBox(QStringLiteral("Použít"), this), "CBPouzit");
    Vyber = new YesNoChoice(this);
    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) { return build(f); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(kind, 0, 0);
    layout->addWidget(PanelRoky, 0, 1);
    layout->addWidget(PanelObecne, 0, 1);
    auto* use = new QHBoxLayout;
    use->addWidget(CBPouzit);
    use->addWidget(Vyber);
    layout->addLayout(use, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(0, 1);

    const auto changed = [this] { criterion->invalidate(); };
    connect(group, &QButtonGroup::buttonToggled, this, [this, changed](QAbstractButton*, bool on) {
        if (!on) return;
        showPanels();
        changed();
    });
    connect(CheckListRoky, &QListWidget::itemChanged, this, changed);
    connect(Vyber, &YesNoChoice::changed, this, changed);
    connect(DateOd, &QDateEdit::dateChanged, this, &DatePage::odChanged);
    connect(DateDo, &QDateEdit::dateChanged, this, &DatePage::doChanged);
    connect(BPosledni, &QPushButton::clicked, this, &DatePage::BPosledniClick);
    connect(BMesic, &QPushButton::clicked, this, &DatePage::BMesicClick);
    showPanels();
}

bool DatePage::fillYears(std::string* error) {
    std::vector<int> years;
    const Status st = UsedYears(rides_.directory(), &years);
    const QSignalBlocker quiet(CheckListRoky);
    CheckListRoky->clear();
    for (int year : years) {
        auto* item = new QListWidgetItem(QString::number(year), CheckListRoky);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (!st.ok()) *error = st.message();
    return st.ok();
}

void DatePage::showPanels() {
    PanelRoky->setVisible(RBPouzite->isChecked());
    PanelObecne->setVisible(RBObecne->isChecked());
}

bool DatePage::build(std::string* fragment) const {
    const bool negate = Vyber->negate();
    if (RBAktualni->isChecked()) {
        *fragment = CurrentYearFragment(today_.year(), negate);
    } else if (RBPouzite->isChecked()) {
        std::vector<int> years;
        for (int i = 0; i < CheckListRoky->count(); ++i) {
            const QListWidgetItem* item = CheckListRoky->item(i);
            if (item->checkState() == Qt::Checked) years.push_back(item->text().toInt());
        }
        // No year ticked: nothing is selected by date, the box stays ticked.
        *fragment = UsedYearsFragment(years, negate);
    } else {
        *fragment = DateRangeFragment(ToDate(DateOd->date()), ToDate(DateDo->date()), negate);
    }
    return true;
}

void DatePage::odChanged(const QDate& od) {
    criterion->invalidate();
    if (od > DateDo->date()) {
        const QSignalBlocker quiet(DateDo);
        DateDo->setDate(od.addDays(1));
    }
}

void DatePage::doChanged(const QDate& to) {
    criterion->invalidate();
    if (to < DateOd->date()) {
        const QSignalBlocker quiet(DateOd);
        DateOd->setDate(to.addDays(-1));
    }
}

void DatePage::BPosledniClick() {
    criterion->invalidate();
    std::optional<RideDates> dates;
    const Status st = LatestRideDates(rides_, SpinPosledni->value(), &dates);
    if (!st.ok()) {
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
        return;
    }
    if (!dates || !dates->from || !dates->to) return;
    const QSignalBlocker quietOd(DateOd);
    const QSignalBlocker quietDo(DateDo);
    DateDo->setDate(ToQDate(*dates->to));
    DateOd->setDate(ToQDate(*dates->from));
}

void DatePage::BMesicClick() {
    criterion->invalidate();
    const QDate first(today_.year(), SpinMesic->value(), 1);
    const QSignalBlocker quietOd(DateOd);
    const QSignalBlocker quietDo(DateDo);
    DateOd->setDate(first);
    DateDo->setDate(first.addDays(first.daysInMonth() - 1));
}

}  // namespace kolvio
