// The new-bike screen FNoveKolo: type and make of a bike, picked from preset
// lists or typed, stored in upper case as a new row of the bikes table. A
// bike is identified by the pair: type alone or make alone may repeat.
#pragma once

#include "lists/pair_adder.h"

namespace kolvio {

class TFNoveKolo final : public TPairAdder {
    Q_OBJECT
public:
    explicit TFNoveKolo(TForm_hl& main);
};

}  // namespace kolvio
