// The configuration screen TFKonfig: how query results are prepared, the
// decimal places of each kind of value, the decimal-comma option (one
// control per setting of kConfigSettings), and the tidying of the
// recent-database list. "ULOŽ" writes the settings file,
// applies the new display settings at once and closes; "ZRUŠ" closes
// without touching the file.
//
// The recent list is tidied only when "odstranit neplatné odkazy ze
// seznamu" is ticked (it is not by default), and then every entry that is
// not a database directory goes in one save.
#pragma once

#include <QList>

#include "app/child_windows.h"

class QSpinBox;

namespace kolvio {

class TFKonfig final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFKonfig(TForm_hl& main);

    QCheckBox* Check1;  // "připravit indexové soubory předem"
    // RSE_prumer_des_m ... RSE_sr_kcal_des_m, in the order of kConfigSettings.
    QList<QSpinBox*> RSE;
    QCheckBox* CVCh;       // "zaměňovat čárku za tečku"
    QCheckBox* BorCheck1;  // "odstranit neplatné odkazy ze seznamu"
    QPushButton* BUloz;    // "ULOŽ"

    void BUlozClick();

private:
    // False (after telling the rider) when the file could not be written.
    bool save();
    void tidyRecentList();

    // The control of each setting of kConfigSettings, in its order.
    QList<QWidget*> controls_;
};

}  // namespace kolvio
