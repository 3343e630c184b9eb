#include "data/dataset.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kolvio {

const char* StateName(DatasetState state) {
    switch (state) {
        case DatasetState::kInactive:
            return "inactive";
        case DatasetState::kBrowse:
            return "browse";
        case DatasetState::kEdit:
            return "edit";
        case DatasetState::kInsert:
            return "insert";
    }
    return "?";
}

void StateMachineMisused(const std::string& message) {
    std::fprintf(stderr, "dataset state machine misused: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

Status Dataset::moveBy(int64_t n) {
    for (; n > 0 && !eof(); --n)
        KOLVIO_RETURN_IF_ERROR(next());
    for (; n < 0 && !bof(); ++n)
        KOLVIO_RETURN_IF_ERROR(prior());
    return Status::Ok();
}

Value Dataset::value(std::string_view name) const {
    const int index = fieldIndex(name);
    return index < 0 ? Value() : value(index);
}

std::string Dataset::getString(std::string_view name) const {
    const Value v = value(name);
    if (v.isText()) return v.asText();
    return {};
}

std::optional<Date> Dataset::getDate(std::string_view name) const {
    const Value v = value(name);
    if (v.isDate()) return v.asDate();
    return std::nullopt;
}

Dataset::ObserverId Dataset::addObserver(Observer observer) {
    observers_.push_back({nextObserverId_, std::move(observer)});
    return nextObserverId_++;
}

void Dataset::removeObserver(ObserverId id) {
    std::erase_if(observers_, [id](const Entry& e) { return e.id == id; });
}

void Dataset::enableControls() {
    if (disabled_ > 0 && --disabled_ == 0) notify(DataChange::kDataChanged);
}

void Dataset::notify(DataChange change, int field) {
    if (disabled_ > 0) return;
    const auto observers = observers_;
    for (const Entry& e : observers)
        e.fn(change, field);
}

}  // namespace kolvio
