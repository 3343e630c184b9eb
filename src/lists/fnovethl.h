// The new-watch-type screen FNoveTHL: abbreviation and description of a
// heart-rate limit watch type, picked from preset lists or typed, stored as
// typed. A watch type is identified by the pair.
#pragma once

#include "lists/pair_adder.h"

namespace kolvio {

class TFNoveTHL final : public TPairAdder {
    Q_OBJECT
public:
    explicit TFNoveTHL(TForm_hl& main);
};

}  // namespace kolvio
