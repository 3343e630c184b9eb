// The page "Extrém" of the extremes window: the 260 entries of the ranking
// on offer ("Výběr:"), the chosen ones in the order of the result
// ("Vybráno:"). Each entry carries its code.
#pragma once

#include <vector>

#include "query/chooser_lists.h"
#include "query/extremes.h"

namespace kolvio {

class ExtremePage final : public ChooserLists {
    Q_OBJECT
public:
    explicit ExtremePage(QWidget* parent);

    // The entries of "Vybráno:", in order (code 0 for an entry whose code
    // is not a number).
    std::vector<ChosenExtreme> chosen() const;
};

}  // namespace kolvio
