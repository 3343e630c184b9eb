// The bike editor FEditKolo: the bikes in a read-only grid, the current
// bike's type and make changed through two bound lists, and deleted unless
// it is the last bike or a ride uses it.
#pragma once

#include "lists/pair_editor.h"

namespace kolvio {

class TFEditKolo final : public TPairEditor {
    Q_OBJECT
public:
    explicit TFEditKolo(TForm_hl& main);
};

}  // namespace kolvio
