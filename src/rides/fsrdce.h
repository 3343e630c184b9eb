// The heart-rate profile FSrdce: the rider's maximum heart rate worked out
// from age and sex, and the heart rates that bound five training zones,
// worked out from the maximum and the resting rate.
//
// Opened by the new-ride screen ("info"), which comes back when the profile
// closes. The resting rate ("FSrdce"/"klidtep") is read on opening; on
// closing it and the maximum ("Srdce"/"hsr_x", the age limit new rides are
// preset with) are stored. Age and sex are not stored: each opening starts
// at 30 and "muž".
#pragma once

#include <array>

#include "app/child_windows.h"

class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTextBrowser;

namespace kolvio {

class TFSrdce final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFSrdce(TForm_hl& main);

    QSpinBox* RSEVek;  // age
    QRadioButton *RGpohlaviMuz, *RGpohlaviZena;
    QSpinBox* RSEK;  // resting heart rate
    QSpinBox* RSEX;  // maximum heart rate
    // The zone bounds, lower (ELD1..ELD5) and upper (ELH1..ELH5), and the
    // explanation of each zone.
    std::array<QLineEdit*, 5> ELD, ELH;
    std::array<QTextBrowser*, 5> zoneTexts;

    void RSEVekChange();
    void RGpohlaviClick();
    void RSEKChange();
    void RSEXChange();
    // The maximum from age and sex, then the zones.
    void DopocetMaxTep();
    // The zone bounds from the maximum and the resting rate.
    void DopocetRozsahy();

protected:
    void FormClose() override;
};

}  // namespace kolvio
