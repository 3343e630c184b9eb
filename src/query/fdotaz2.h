// The extremes window TFDotaz2: the query builder with the page "Extrém"
// first, where the rider chooses ranks of ride figures ("průměr 1.
// nejvyšší"). "O.K." finds the ride of each chosen rank among the rides
// that pass the criteria of the builder's pages and shows one row per rank
// with the output columns chosen on "Zobrazit" (extremes.h).
#pragma once

#include "query/fdotaz1.h"

namespace kolvio {

class ExtremePage;

class TFDotaz2 final : public TFDotaz1 {
    Q_OBJECT
public:
    explicit TFDotaz2(TForm_hl& main);

    ExtremePage* PageExtrem;

    // Nothing happens unless both "Vybráno:" lists hold an entry.
    void Button1Click() override;
};

}  // namespace kolvio
