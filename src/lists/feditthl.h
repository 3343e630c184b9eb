// The watch type editor FEditthl: the heart-rate limit watch types in a
// read-only grid, the current type's abbreviation and description changed
// through two bound lists, and deleted unless it is the reserved type 0, one
// of the last two types, or used by a ride.
#pragma once

#include "lists/pair_editor.h"

namespace kolvio {

class TFEditthl final : public TPairEditor {
    Q_OBJECT
public:
    explicit TFEditthl(TForm_hl& main);
};

}  // namespace kolvio
