#include "app/widgets/dataset_walk.h"

#include <algorithm>
#include <vector>

namespace kolvio {

namespace {

std::vector<const Dataset*>& Walking() {
    static std::vector<const Dataset*> walking;
    return walking;
}

}  // namespace

DatasetWalk::DatasetWalk(Dataset& dataset)
    : dataset_(dataset), row_(dataset.rowNumber()), bof_(dataset.bof()), eof_(dataset.eof()) {
    Walking().push_back(&dataset_);
    dataset_.disableControls();
}

DatasetWalk::~DatasetWalk() {
    if (row_ >= 0) {
        if (row_ == 0 && bof_) {
            (void)dataset_.first();
        } else {
            (void)dataset_.moveToRow(row_);
            if (eof_) (void)dataset_.next();  // at the last row: sets eof, stays
        }
    }
    dataset_.enableControls();
    auto& walking = Walking();
    walking.erase(std::find(walking.begin(), walking.end(), &dataset_));
}

bool DatasetWalk::Active(const Dataset& dataset) {
    const auto& walking = Walking();
    return std::find(walking.begin(), walking.end(), &dataset) != walking.end();
}

bool DatasetWalk::Possible(const Dataset& dataset) {
    return dataset.isOpen() && dataset.state() == DatasetState::kBrowse;
}

}  // namespace kolvio
