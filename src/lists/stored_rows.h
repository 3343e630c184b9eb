// Reading the stored rows of a shared table without touching it.
//
// A second handle on the table's file sees every stored row, in physical
// order, whatever the shared dataset's filter, master range, ordering or
// pending edit; the shared dataset's cursor and its observers are left
// alone.
#pragma once

#include <functional>

#include "data/table.h"

namespace kolvio {

class StoredRows {
public:
    explicit StoredRows(const Table& shared) : probe_(shared.directory(), shared.fileName()) {}

    Status open() { return probe_.open(); }
    Table& table() { return probe_; }

    // Calls `visit` on each row, in the probe's current order, while it
    // returns true.
    Status forEach(const std::function<bool(const Dataset& row)>& visit) {
        KOLVIO_RETURN_IF_ERROR(probe_.first());
        while (!probe_.eof()) {
            if (!visit(probe_)) break;
            KOLVIO_RETURN_IF_ERROR(probe_.next());
        }
        return Status::Ok();
    }

private:
    Table probe_;
};

}  // namespace kolvio
