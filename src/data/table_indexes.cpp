// The indexes of a table: their definitions, building, and ordering by one.
#include <algorithm>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/index/index_store.h"
#include "data/index/table_index.h"
#include "data/table.h"

namespace kolvio {

TableIndex* Table::findIndex(std::string_view name) const {
    for (const auto& index : indexes_) {
        if (EqualsIgnoreCase(index->def().name, name)) return index.get();
    }
    return nullptr;
}

// The contents come from the index data file beside the table when it
// describes the table as it is now; otherwise they are read from the table
// and the file written for the next process (index/index_store.h).
Status Table::buildIndex(TableIndex* index) {
    if (LoadPersistedIndex(path_, *file_, codePage_, index)) return Status::Ok();
    TableState before;
    const bool known = CurrentTableState(path_, *file_, &before);
    const int64_t started = WallClockNs();
    KOLVIO_RETURN_IF_ERROR(index->build(*file_, codePage_));
    if (known) PersistBuiltIndex(path_, *file_, codePage_, before, started, indexDefs(), *index);
    return Status::Ok();
}

std::vector<IndexDef> Table::indexDefs() const {
    std::vector<IndexDef> defs;
    for (const auto& index : indexes_)
        defs.push_back(index->def());
    return defs;
}

bool Table::hasIndex(std::string_view name) const {
    return findIndex(name) != nullptr;
}

Status Table::saveIndexDefs() {
    return WriteIndexDefs(IndexSidecarPath(path_), indexDefs());
}

Status Table::addIndex(const IndexDef& def) {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Vytvoření indexu"));
    if (def.name.empty()) return Status::Invalid("Index musí mít název.");
    if (findIndex(def.name)) {
        return Status::Invalid("Index \"" + def.name + "\" tabulky \"" + fileName_ +
                               "\" již existuje.");
    }
    std::unique_ptr<TableIndex> index;
    KOLVIO_RETURN_IF_ERROR(TableIndex::Make(def, fields(), &index));
    indexes_.push_back(std::move(index));
    Status st = saveIndexDefs();
    if (!st.ok()) indexes_.pop_back();
    return st;
}

Status Table::deleteIndex(std::string_view name) {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Zrušení indexu"));
    TableIndex* index = findIndex(name);
    if (!index) {
        return Status::NotFound("Index \"" + std::string(name) + "\" tabulky \"" + fileName_ +
                                "\" neexistuje.");
    }
    if (order_ == index) {
        order_ = nullptr;
        indexName_.clear();
        viewChanged();
    }
    std::erase_if(indexes_, [index](const auto& p) { return p.get() == index; });
    return saveIndexDefs();
}

Status Table::setIndexName(std::string_view name) {
    if (!isOpen()) {
        indexName_ = std::string(name);
        return Status::Ok();
    }
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    TableIndex* index = name.empty() ? nullptr : findIndex(name);
    if (!name.empty() && !index) {
        return Status::NotFound("Index \"" + std::string(name) + "\" tabulky \"" + fileName_ +
                                "\" neexistuje.");
    }
    if (index && !index->built()) KOLVIO_RETURN_IF_ERROR(buildIndex(index));
    order_ = index;
    indexName_ = index ? index->def().name : std::string();
    viewChanged();
    notify(DataChange::kDataChanged);
    // Keep the current row current, now at its place in the new order.
    if (hasCurrent_) {
        const auto pos = viewPositionOf(recno_, row_);
        if (pos) return moveToPosition(*pos);
    }
    return first();
}

Status Table::lastInIndex(std::string_view name, const std::vector<int>& wanted,
                          std::vector<Value>* out) {
    out->clear();
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    TableIndex* index = findIndex(name);
    if (!index) {
        return Status::NotFound("Index \"" + std::string(name) + "\" tabulky \"" + fileName_ +
                                "\" neexistuje.");
    }
    if (!index->built()) KOLVIO_RETURN_IF_ERROR(buildIndex(index));
    if (index->size() == 0) return Status::Ok();
    return readValues(index->recnoAt(index->size() - 1), wanted, out);
}

}  // namespace kolvio
