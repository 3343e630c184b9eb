// Reading rows of a dataset by walking its cursor, for widgets that show
// more than the current row (grids, lookup lists).
//
// While a walk is active the dataset's observers are silenced; the
// kDataChanged that enableControls() sends at the end is an echo, not a
// change, and widgets ignore it (DatasetWalk::Active), so two widgets over
// one dataset never make each other read again. The cursor is put back where
// it was, with the same bof/eof flags.
#pragma once

#include <cstdint>

#include "data/dataset.h"

namespace kolvio {

class DatasetWalk {
public:
    explicit DatasetWalk(Dataset& dataset);
    ~DatasetWalk();
    DatasetWalk(const DatasetWalk&) = delete;
    DatasetWalk& operator=(const DatasetWalk&) = delete;

    // Whether a walk over `dataset` is in progress (its notifications are echoes).
    static bool Active(const Dataset& dataset);
    // Whether the dataset can be walked now: open and not being edited
    // (moving the cursor would post the row).
    static bool Possible(const Dataset& dataset);

private:
    Dataset& dataset_;
    int64_t row_;
    bool bof_;
    bool eof_;
};

}  // namespace kolvio
