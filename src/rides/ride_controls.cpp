#include "rides/ride_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <initializer_list>

#include "app/message_service.h"
#include "app/widgets/lookup_binding.h"
#include "data/database/database.h"
#include "rides/ride_widgets.h"

namespace kolvio {

namespace {

constexpr int kFigureLength = 6;
constexpr int kMaxSpeedLength = 5;
constexpr int kTypeRows = 5;
constexpr char kListFieldProperty[] = "kolvioListField";

template <typename W>
W* Named(W* widget, const char* name, const char* hint = nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
    if (hint) {
        widget->setToolTip(QString::fromUtf8(hint));
        widget->setStatusTip(widget->toolTip());
    }
    return widget;
}

QGroupBox* Group(QWidget* parent, const char* title, QGridLayout** grid) {
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    *grid = new QGridLayout(box);
    (*grid)->setContentsMargins(4, 2, 4, 2);
    (*grid)->setSpacing(3);
    return box;
}

QLabel* Label(QGridLayout* grid, const char* caption, QWidget* buddy, int row, int column,
              int rowSpan = 1, int columnSpan = 1) {
    auto* label = new QLabel(QString::fromUtf8(caption), grid->parentWidget());
    label->setBuddy(buddy);
    grid->addWidget(label, row, column, rowSpan, columnSpan, Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QComboBox* Lookup(RideControls* c, QWidget* parent, const char* name, const char* hint,
                  Table& rides, const char* field, Table& list, const char* listField) {
    auto* combo = Named(new QComboBox(parent), name, hint);
    combo->setProperty(kListFieldProperty, QString::fromLatin1(listField));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(3);
    c->lookups.push_back(new LookupBinding(rides, QString::fromLatin1(field), combo, list,
                                           QString::fromLatin1(field),
                                           QString::fromLatin1(listField)));
    return combo;
}

void BuildRoute(RideControls* c, QWidget* parent, Database& db) {
    QGridLayout* g = nullptr;
    c->GBTrat = Named(Group(parent, "Trať:", &g), "GBTrat");
    Table& rides = db.Table1();
    Table& routes = db.TTRS();
    QWidget* box = c->GBTrat;
    c->DBLookupComboBox1 =
        Lookup(c, box, "DBLookupComboBox1", "Vyber trať - kód 1", rides, "TRS_C", routes, "TRS_N1");
    c->DBLookupComboBox2 =
        Lookup(c, box, "DBLookupComboBox2", "Vyber trať - kód 2", rides, "TRS_C", routes, "TRS_N2");
    c->DBLookupComboBox3 = Lookup(c, box, "DBLookupComboBox3", "Vyber trať - průjezdní body", rides,
                                  "TRS_C", routes, "TRS_MEZI");
    c->DBLookupComboBox4 =
        Lookup(c, box, "DBLookupComboBox4", "Vyber trať", rides, "TRS_C", routes, "TRS_START");
    c->DBLookupComboBox5 =
        Lookup(c, box, "DBLookupComboBox5", "Vyber trať", rides, "TRS_C", routes, "TRS_CIL");
    c->DBLookupComboBox8 =
        Lookup(c, box, "DBLookupComboBox8", "Vyber trať - číslo", rides, "TRS_C", routes, "TRS_C");
    c->ArrowButton1 = Named(new ArrowButton(box), "ArrowButton1", "Udej směr jízdy");

    // Three rows of three columns: the codes and the number, the ends and
    // the direction, the waypoints across the width.
    Label(g, " Kód &1:", c->DBLookupComboBox1, 0, 0);
    g->addWidget(c->DBLookupComboBox1, 0, 1);
    Label(g, " Kód &2:", c->DBLookupComboBox2, 0, 2);
    g->addWidget(c->DBLookupComboBox2, 0, 3);
    Label(g, " Čís&lo:", c->DBLookupComboBox8, 0, 4);
    g->addWidget(c->DBLookupComboBox8, 0, 5);
    c->LStart = Label(g, "&Start:", c->DBLookupComboBox4, 1, 0);
    g->addWidget(c->DBLookupComboBox4, 1, 1);
    c->LCil = Label(g, "&Cíl:", c->DBLookupComboBox5, 1, 2);
    g->addWidget(c->DBLookupComboBox5, 1, 3);
    Label(g, "směr jízdy", c->ArrowButton1, 1, 4);
    g->addWidget(c->ArrowButton1, 1, 5);
    Label(g, "P&růjezdní body:", c->DBLookupComboBox3, 2, 0, 1, 2);
    g->addWidget(c->DBLookupComboBox3, 2, 2, 1, 4);
    g->setColumnStretch(1, 2);
    g->setColumnStretch(3, 2);
    g->setColumnStretch(5, 1);
    c->DBLookupComboBox8->setMinimumContentsLength(3);
}

void BuildComputer(RideControls* c, QWidget* parent, const DisplaySettings& s) {
    QGridLayout* g = nullptr;
    c->GBCyklo = Named(Group(parent, "Data cyklocomputer:", &g), "GBCyklo");
    QWidget* box = c->GBCyklo;
    c->ETRP = Named(NumberBox(box, "ETRP", kFigureLength, QStringLiteral("0.00"), s), "ETRP",
                    "Délka měřené jízdy");
    c->ESTP = Named(TimeBox(box, "ESTP"), "ESTP", "Čas měřené jízdy");
    c->EMAX = Named(NumberBox(box, "EMAX", kMaxSpeedLength, QStringLiteral("0.0"), s), "EMAX",
                    "Maximální naměřená rychlost");
    c->EAVS = Named(new QLineEdit(QStringLiteral("0.00"), box), "EAVS", "Průměr");
    c->EAVS->setReadOnly(true);
    c->EAVS->setFixedWidth(c->ETRP->width());
    c->EAVS->setFocusPolicy(Qt::NoFocus);
    // Two by two: distance and time, maximum and average speed.
    Label(g, "TRP:", c->ETRP, 0, 0);
    g->addWidget(c->ETRP, 0, 1);
    Label(g, "STP:", c->ESTP, 0, 2);
    g->addWidget(c->ESTP, 0, 3);
    Label(g, "MAX:", c->EMAX, 1, 0);
    g->addWidget(c->EMAX, 1, 1);
    Label(g, "AVS:", c->EAVS, 1, 2);
    g->addWidget(c->EAVS, 1, 3);
}

void BuildTypesAndBike(RideControls* c, QWidget* parent, Database& db) {
    Table& rides = db.Table1();
    c->GBTyp = Named(Group(parent, "Typ jízdy:", &c->typeGrid), "GBTyp");
    c->DBLookupComboBox6 = Lookup(c, c->GBTyp, "DBLookupComboBox6", "Vyber základní typ jízdy",
                                  rides, "TRNZ_C", db.TTRNZ(), "TRNZ_N");
    c->DBLookupComboBox7 = Lookup(c, c->GBTyp, "DBLookupComboBox7", "Vyber vedlejší typ jízdy",
                                  rides, "TRN_C", db.TTRN(), "TRN_N");
    for (QComboBox* combo : {c->DBLookupComboBox6, c->DBLookupComboBox7})
        combo->setMaxVisibleItems(kTypeRows);
    Label(c->typeGrid, "Základní:", c->DBLookupComboBox6, 0, 0);
    c->typeGrid->addWidget(c->DBLookupComboBox6, 0, 1);
    Label(c->typeGrid, "Vedlejší:", c->DBLookupComboBox7, 1, 0);
    c->typeGrid->addWidget(c->DBLookupComboBox7, 1, 1);
    // The lists take the room a wider group has, so that names show whole.
    c->typeGrid->setColumnStretch(1, 1);

    QGridLayout* g = nullptr;
    c->GBKolo = Named(Group(parent, "Kolo:", &g), "GBKolo");
    c->DBLookupComboBox9 = Lookup(c, c->GBKolo, "DBLookupComboBox9", "Vyber typ kola", rides,
                                  "KOL_C", db.TTKOL(), "KOL_TYP");
    c->DBLookupComboBox10 = Lookup(c, c->GBKolo, "DBLookupComboBox10", "Vyber značku kola", rides,
                                   "KOL_C", db.TTKOL(), "KOL_ZNA");
    Label(g, " Typ:", c->DBLookupComboBox9, 0, 0);
    g->addWidget(c->DBLookupComboBox9, 0, 1);
    Label(g, " Značka:", c->DBLookupComboBox10, 1, 0);
    g->addWidget(c->DBLookupComboBox10, 1, 1);
    g->setColumnStretch(1, 1);
}

void BuildHeart(RideControls* c, QWidget* parent, Database& db, const DisplaySettings& s) {
    QGridLayout* g = nullptr;
    c->GBSrdce = Named(Group(parent, "Srdce - tep", &g), "GBSrdce");
    QWidget* box = c->GBSrdce;
    c->sr_mer = Named(new QCheckBox(QStringLiteral("měřeno"), box), "sr_mer",
                      "ne/měření srdečního tepu při jízdě");
    const QString zero = QStringLiteral("0");
    c->sr_avg =
        Named(NumberBox(box, "sr_avg", kFigureLength, zero, s), "sr_avg", "Průměrný srdeční tep");
    c->sr_max =
        Named(NumberBox(box, "sr_max", kFigureLength, zero, s), "sr_max", "Maximální srdeční tep");
    c->sr_kcal = Named(NumberBox(box, "sr_kcal", kFigureLength, zero, s), "sr_kcal",
                       "Spotřebovaná energie v kcal.");
    c->sr_lim = Named(NumberBox(box, "sr_lim", kFigureLength, zero, s), "sr_lim",
                      "Stanovený limit srdečního tepu");
    c->sr_x = Named(NumberBox(box, "sr_x", kFigureLength, zero, s), "sr_x",
                    "Limit srdečního tepu dle věku");
    c->sr_plp = Named(NumberBox(box, "sr_plp", kFigureLength, zero, s), "sr_plp",
                      "čas překročeného stanoveného limitu v procentech");
    c->sr_plc = TimeBox(box, "sr_plc");
    Table& rides = db.Table1();
    c->hl_c_1 = Lookup(c, box, "hl_c_1", "Vyber typ hlídání limitu - zkratka", rides, "THL_C",
                       db.TTHLD(), "THL_ZKR");
    c->hl_c_2 = Lookup(c, box, "hl_c_2", "Vyber typ hlídání limitu - popis", rides, "THL_C",
                       db.TTHLD(), "THL_POP");
    // Three rows of figures: measured, the limits (the new-ride screen adds
    // its "info" at the end), the share above the limit. The watch type
    // stands beside them as a column of its own, caption over its two
    // boxes, so that its names are whole at the smallest window size.
    const auto row = [box](std::initializer_list<std::pair<const char*, QWidget*>> items) {
        auto* line = new QHBoxLayout;
        for (const auto& [caption, widget] : items) {
            if (caption) {
                auto* label = new QLabel(QString::fromUtf8(caption), box);
                label->setBuddy(widget);
                line->addWidget(label);
            }
            if (widget) line->addWidget(widget);
        }
        line->addStretch();
        return line;
    };
    g->addLayout(row({{nullptr, c->sr_mer},
                      {"AVG:", c->sr_avg},
                      {"MAX:", c->sr_max},
                      {"KCAL:", c->sr_kcal}}),
                 0, 0);
    c->limitRow = row({{"stanovený limit:", c->sr_lim}, {"věkový limit:", c->sr_x}});
    g->addLayout(c->limitRow, 1, 0);
    g->addLayout(row({{"překročení limitu", nullptr}, {"%:", c->sr_plp}, {"ČAS:", c->sr_plc}}), 2,
                 0);
    auto* watch = new QLabel(QStringLiteral("hlídání tepového limitu"), box);
    watch->setBuddy(c->hl_c_1);
    g->addWidget(watch, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
    g->addWidget(c->hl_c_1, 1, 1);
    g->addWidget(c->hl_c_2, 2, 1);
    g->setColumnStretch(1, 1);
}

}  // namespace

std::array<QComboBox*, 6> RideControls::routeLookups() const {
    return {DBLookupComboBox1, DBLookupComboBox2, DBLookupComboBox3,
            DBLookupComboBox4, DBLookupComboBox5, DBLookupComboBox8};
}

QLineEdit* RideControls::box(RideBox which) const {
    switch (which) {
        case RideBox::kETRP:
            return ETRP;
        case RideBox::kESTP:
            return ESTP;
        case RideBox::kEMAX:
            return EMAX;
        case RideBox::kSrAvg:
            return sr_avg;
        case RideBox::kSrMax:
            return sr_max;
        case RideBox::kSrKcal:
            return sr_kcal;
        case RideBox::kSrX:
            return sr_x;
        case RideBox::kSrLim:
            return sr_lim;
        case RideBox::kSrPlp:
            return sr_plp;
        case RideBox::kSrPlc:
            return sr_plc;
        case RideBox::kRiders:
            break;
    }
    return nullptr;
}

std::array<QLineEdit*, 7> RideControls::heartBoxes() const {
    return {sr_avg, sr_max, sr_kcal, sr_lim, sr_plp, sr_plc, sr_x};
}

void RideControls::showDirection(bool right) {
    ArrowButton1->setPointsRight(right);
    LStart->setText(right ? QStringLiteral("&Start:") : QStringLiteral("&Cíl:"));
    LCil->setText(right ? QStringLiteral("&Cíl:") : QStringLiteral("&Start:"));
}

QString RouteListField(const QComboBox* lookup) {
    return lookup->property(kListFieldProperty).toString();
}

void ShowRefusal(const Refusal& refusal) {
    const QString text = QString::fromStdString(refusal.text);
    if (refusal.error) {
        ShowMsgBox(text, MsgKind::kError, MsgButtons::kOk);
    } else if (refusal.beep) {
        ShowMsgBox(text, MsgKind::kWarning, MsgButtons::kOk);
    } else {
        ShowMsgBoxQuiet(text, MsgKind::kWarning, MsgButtons::kOk);
    }
}

void BuildRideControls(RideControls* c, QWidget* parent, Database& db,
                       const DisplaySettings& settings) {
    BuildRoute(c, parent, db);
    BuildComputer(c, parent, settings);
    BuildTypesAndBike(c, parent, db);
    BuildHeart(c, parent, db, settings);
}

}  // namespace kolvio
