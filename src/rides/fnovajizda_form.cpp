// The controls, menus and side tasks of the new-ride screen.
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>

#include "app/form_hl.h"
#include "app/screen_registry.h"
#include "rides/fnovajizda.h"
#include "rides/fsrdce.h"
#include "rides/ride_widgets.h"

namespace kolvio {

namespace {

constexpr int kRidersLength = 6;
constexpr int kDescriptionLength = 100;

template <typename W>
W* Hinted(W* widget, const char* name, const char* hint) {
    widget->setObjectName(QString::fromLatin1(name));
    if (hint) {
        widget->setToolTip(QString::fromUtf8(hint));
        widget->setStatusTip(widget->toolTip());
    }
    return widget;
}

QAction* Item(QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

}  // namespace

void TFNovaJizda::buildLayout() {
    auto* page = new QWidget;
    BuildRideControls(this, page, mainWindow().database(), mainWindow().displaySettings());

    Edit2 = Hinted(new QLineEdit(QStringLiteral("1"), GBTyp), "Edit2", "Zadej počet osob");
    Edit2->setMaxLength(kRidersLength);
    UpDown1 = Hinted(new UpDown(GBTyp), "UpDown1", nullptr);
    auto* riders = new QHBoxLayout;
    riders->setSpacing(1);
    riders->addWidget(Edit2);
    riders->addWidget(UpDown1);
    auto* ridersLabel = new QLabel(QStringLiteral("Počet osob:"), GBTyp);
    ridersLabel->setBuddy(Edit2);
    typeGrid->addWidget(ridersLabel, 2, 0);
    typeGrid->addLayout(riders, 2, 1);

    QGridLayout* dateGrid = nullptr;
    auto* dateBox = new QGroupBox(QStringLiteral("Datum:"), page);
    dateBox->setObjectName(QStringLiteral("GBDatum"));
    dateGrid = new QGridLayout(dateBox);
    dateGrid->setContentsMargins(4, 2, 4, 2);
    dateGrid->setSpacing(3);
    DateTimePicker1 =
        Hinted(new QDateEdit(dateBox), "DateTimePicker1", "Zadej datum uskutečněné jízdy");
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    DateTimePicker1->setLocale(czech);
    DateTimePicker1->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->calendarWidget()->setLocale(czech);
    Button1 = Hinted(new QPushButton(QStringLiteral("VČERA"), dateBox), "Button1",
                     "Nastaví včerejší datum");
    Button3 =
        Hinted(new QPushButton(QStringLiteral("DNES"), dateBox), "Button3", "Nastaví dnešní datum");
    dateGrid->addWidget(DateTimePicker1, 0, 0, 1, 2);
    dateGrid->addWidget(Button1, 1, 0);
    dateGrid->addWidget(Button3, 1, 1);

    Edit1 = Hinted(new QLineEdit(page), "Edit1", "Zadej popis uskutečněné jízdy");
    Edit1->setMaxLength(kDescriptionLength);
    auto* description = new QHBoxLayout;
    auto* descriptionLabel = new QLabel(QStringLiteral(" Popis:"), page);
    descriptionLabel->setBuddy(Edit1);
    description->addWidget(descriptionLabel);
    description->addWidget(Edit1, 1);

    sr_vek_lim_vyp =
        Hinted(new QPushButton(QStringLiteral("info"), GBSrdce), "sr_vek_lim_vyp", nullptr);
    sr_vek_lim_vyp->setAutoDefault(false);
    limitRow->insertWidget(limitRow->count() - 1, sr_vek_lim_vyp);

    // The route beside the computer figures; the types, the bike with the
    // description, the date; the heart.
    auto* grid = pageGrid_ = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    auto* bikeAndDescription = new QVBoxLayout;
    bikeAndDescription->addWidget(GBKolo);
    bikeAndDescription->addLayout(description);
    bikeAndDescription->addStretch();
    grid->addWidget(GBTrat, 0, 0, 1, 2);
    grid->addWidget(GBCyklo, 0, 2);
    grid->addWidget(GBTyp, 1, 0, Qt::AlignTop);
    grid->addLayout(bikeAndDescription, 1, 1);
    dateColumn_ = new QVBoxLayout;
    dateColumn_->setSpacing(3);
    dateColumn_->addWidget(dateBox);
    dateColumn_->addStretch();
    grid->addLayout(dateColumn_, 1, 2);
    grid->addWidget(GBSrdce, 2, 0, 1, 3);
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);
    grid->setRowStretch(3, 1);

    // Too small a window scrolls instead of squeezing the boxes; at the
    // reference size everything fits.
    layout()->setContentsMargins(4, 2, 4, 4);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    body()->addWidget(scroll, 1);

    Button2 = Hinted(new QPushButton(QStringLiteral("PŘIDEJ"), this), "Button2",
                     "Uložení jízdy do databáze");
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button2);
    BKONEC->setToolTip(QStringLiteral("Zrušení zadávaní nové jízdy"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

void TFNovaJizda::placeComputerFigures(bool besideRoute) {
    const bool besideNow = pageGrid_->indexOf(GBCyklo) >= 0;
    if (besideRoute == besideNow) return;
    if (besideRoute) {
        dateColumn_->removeWidget(GBCyklo);
        pageGrid_->addWidget(GBCyklo, 0, 2);
    } else {
        pageGrid_->removeWidget(GBCyklo);
        dateColumn_->insertWidget(0, GBCyklo);
    }
}

void TFNovaJizda::buildMenus() {
    QMenu* tools = addMenu(QStringLiteral("&Pomůcky"));
    tools->setObjectName(QStringLiteral("MPomucky"));
    MNovaTrat = Item(tools, "MNovaTrat", "Nová &trať...");
    MNoveKolo = Item(tools, "MNoveKolo", "Nové &kolo...");
    MNovyTypJizd = Item(tools, "MNovyTypJizd", "Nový typ jízd...");
    MNovyTHL = Item(tools, "MNovyTHL", "Nový typ hlídání...");
    tools->addSeparator();
    MNactiJizdu = Item(tools, "MNactiJizdu", "Načíst jízdu ze souboru...");
    MNactiJizdu->setStatusTip(
        QStringLiteral("Vyplní datum a údaje jízdy ze souboru FIT, TCX "
                       "nebo GPX z cyklopočítače, hodinek či telefonu"));
    connect(MNactiJizdu, &QAction::triggered, this, &TFNovaJizda::MNactiJizduClick);
    const std::pair<QAction*, ScreenId> screens[] = {{MNovaTrat, ScreenId::kNovaTrat},
                                                     {MNoveKolo, ScreenId::kNoveKolo},
                                                     {MNovyTypJizd, ScreenId::kNovyTypJizd},
                                                     {MNovyTHL, ScreenId::kNoveTHL}};
    for (const auto& [action, screen] : screens)
        action->setEnabled(static_cast<bool>(FindScreen(screen)));
    const auto open = [this](ScreenId id) -> TFTaskZakl* {
        const ScreenFactory factory = FindScreen(id);
        return factory ? qobject_cast<TFTaskZakl*>(factory(mainWindow())) : nullptr;
    };
    connect(MNovaTrat, &QAction::triggered, this,
            [this, open] { openSideTask(open(ScreenId::kNovaTrat), [this] { JdiNaLastTRS(); }); });
    connect(MNoveKolo, &QAction::triggered, this,
            [this, open] { openSideTask(open(ScreenId::kNoveKolo), [this] { JdiNaAktKOL(); }); });
    connect(MNovyTypJizd, &QAction::triggered, this, [this, open] {
        openSideTask(open(ScreenId::kNovyTypJizd), [this] { JdiNaAktTypJZD(); });
    });
    connect(MNovyTHL, &QAction::triggered, this,
            [this, open] { openSideTask(open(ScreenId::kNoveTHL), [this] { JdiNaAktHLD(); }); });
    connect(sr_vek_lim_vyp, &QPushButton::clicked, this,
            [this] { openSideTask(new TFSrdce(mainWindow()), {}); });

    QMenu* settings = addMenu(QStringLiteral("&Nastavení"));
    settings->setObjectName(QStringLiteral("MNastaveni"));
    const char* const save = "&ulož aktivní jako implicitní";
    const char* const reset = "&nuluj implicitní nastavení";
    QMenu* type = settings->addMenu(QStringLiteral("typ &tréninku (zákl.)"));
    MTrnzUloz = Item(type, "MTrnzUloz", save);
    MTrnzNuluj = Item(type, "MTrnzNuluj", reset);
    QMenu* bike = settings->addMenu(QStringLiteral("typ &kola"));
    MKolUloz = Item(bike, "MKolUloz", save);
    MKolNuluj = Item(bike, "MKolNuluj", reset);
    QMenu* route = settings->addMenu(QStringLiteral("t&rať"));
    MTrsUloz = Item(route, "MTrsUloz", "&ulož poslední použitou jako implicitní");
    MTrsNuluj = Item(route, "MTrsNuluj", reset);
    QMenu* watch = settings->addMenu(QStringLiteral("typ &hlídání tepového limitu"));
    MHlUloz = Item(watch, "MHlUloz", save);
    MHlNuluj = Item(watch, "MHlNuluj", reset);
    const std::pair<QAction*, std::function<void()>> handlers[] = {
        {MTrnzUloz, [this] { remember(RememberedChoice::kPrimaryType, true); }},
        {MTrnzNuluj, [this] { remember(RememberedChoice::kPrimaryType, false); }},
        {MKolUloz, [this] { remember(RememberedChoice::kBike, true); }},
        {MKolNuluj, [this] { remember(RememberedChoice::kBike, false); }},
        {MHlUloz, [this] { remember(RememberedChoice::kWatchType, true); }},
        {MHlNuluj, [this] { remember(RememberedChoice::kWatchType, false); }},
        {MTrsUloz, [this] { rememberRoute(true); }},
        {MTrsNuluj, [this] { rememberRoute(false); }},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);

    // The one-time step of a side task runs when this screen is back.
    connect(mainWindow().mdiArea(), &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* sub) {
                if (!sub || sub != subWindow() || !onReturn_) return;
                std::exchange(onReturn_, nullptr)();
            });
}

void TFNovaJizda::openSideTask(TFTaskZakl* task, std::function<void()> onReturn) {
    if (!task) return;
    task->ReturnToNavigator = false;
    task->ReturnForm = this;
    onReturn_ = std::move(onReturn);
    if (QMdiSubWindow* sub = subWindow()) sub->showMinimized();
    mainWindow().showScreen(task);
}

}  // namespace kolvio
