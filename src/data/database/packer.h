// The table packer: a table object that packs the file it is pointed at.
#pragma once

#include <string>

#include "data/status.h"
#include "data/table.h"

namespace kolvio {

enum class TableKind { kDefault, kDBase, kParadox };

class TBSPktbl {
public:
    void setDirectory(std::string directory) { directory_ = std::move(directory); }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    void setTableKind(TableKind kind) { kind_ = kind; }
    const std::string& directory() const { return directory_; }
    const std::string& fileName() const { return fileName_; }

    // The packer's own handle on the table it points at.
    Status open();
    void close() { table_.close(); }
    bool isOpen() const { return table_.isOpen(); }

    // Packs the table with exclusive access: deleted rows are removed and the
    // indexes rebuilt. The kind comes from the extension (".DBF" dBase, ".DB"
    // Paradox, else the store's default); a name without one gets the
    // extension of the packer's kind. Any failure (the table is held by
    // another handle, the disk is full, the file is read-only ...) is
    // returned and leaves the table as it was (the store packs into a new
    // file that replaces the old one atomically, and removes that file when
    // it fails). The packer's own handle is open afterwards exactly when it
    // was before.
    Status Pack();

private:
    std::string resolvedName(TableKind* kind) const;

    std::string directory_;
    std::string fileName_;
    TableKind kind_ = TableKind::kDBase;
    Table table_;
};

}  // namespace kolvio
