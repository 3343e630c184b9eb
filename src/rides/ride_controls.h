// The controls the new-ride screen and the ride editor share, built once:
// the route with its direction, the cycle-computer figures, the ride types,
// the bike and the heart rate. Every lookup writes the code it picks into
// the current row of the rides table; the figure boxes are plain boxes that
// the screens read when they are left.
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "app/display_format.h"
#include "rides/ride_boxes.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace kolvio {

class ArrowButton;
class Database;
class LookupBinding;

struct RideControls {
    // "Trať:": Kód 1, Kód 2, Průjezdní body, Start, Cíl and Číslo of a route.
    QGroupBox* GBTrat;
    QComboBox *DBLookupComboBox1, *DBLookupComboBox2, *DBLookupComboBox3, *DBLookupComboBox4,
        *DBLookupComboBox5, *DBLookupComboBox8;
    QLabel *LStart, *LCil;  // beside the start and the finish lookup
    ArrowButton* ArrowButton1;
    // "Data cyklocomputer:"
    QGroupBox* GBCyklo;
    QLineEdit *ETRP, *ESTP, *EMAX, *EAVS;
    // "Typ jízdy:": primary and secondary type; the screens add the riders.
    QGroupBox* GBTyp;
    QGridLayout* typeGrid;
    QComboBox *DBLookupComboBox6, *DBLookupComboBox7;
    // "Kolo:": type and make of a bike.
    QGroupBox* GBKolo;
    QComboBox *DBLookupComboBox9, *DBLookupComboBox10;
    // "Srdce - tep"
    QGroupBox* GBSrdce;
    QHBoxLayout* limitRow;  // the set and age limits; room for more at its end
    QCheckBox* sr_mer;
    QLineEdit *sr_avg, *sr_max, *sr_kcal, *sr_lim, *sr_x, *sr_plp, *sr_plc;
    QComboBox *hl_c_1, *hl_c_2;  // watch type: abbreviation, description

    std::vector<LookupBinding*> lookups;

    std::array<QComboBox*, 6> routeLookups() const;
    // The box of a figure (the riders box is the screen's own).
    QLineEdit* box(RideBox which) const;
    // The seven heart-rate figure boxes.
    std::array<QLineEdit*, 7> heartBoxes() const;
    // The arrow points right (from start to finish) or left; the labels
    // beside the start and finish lookups swap with it.
    void showDirection(bool right);
};

// The field a route lookup shows.
QString RouteListField(const QComboBox* lookup);

// Shows a refused entry: as an error, or as a warning with or without the beep.
void ShowRefusal(const Refusal& refusal);

// Builds the controls as children of `parent`, the lookups bound to the
// rides table of `db` and listing its reference tables.
void BuildRideControls(RideControls* c, QWidget* parent, Database& db,
                       const DisplaySettings& settings);

}  // namespace kolvio
