#include "data/database/packer.h"

#include "data/dbf/field_def.h"

namespace kolvio {

std::string TBSPktbl::resolvedName(TableKind* kind) const {
    const auto dot = fileName_.rfind('.');
    if (dot == std::string::npos) {
        *kind = kind_;
        if (kind_ == TableKind::kDBase) return fileName_ + ".DBF";
        if (kind_ == TableKind::kParadox) return fileName_ + ".DB";
        return fileName_;
    }
    const std::string ext = ToUpperAscii(fileName_.substr(dot));
    *kind = ext == ".DBF"  ? TableKind::kDBase
            : ext == ".DB" ? TableKind::kParadox
                           : TableKind::kDefault;
    return fileName_;
}

Status TBSPktbl::open() {
    TableKind kind = kind_;
    table_.setDirectory(directory_);
    table_.setFileName(resolvedName(&kind));
    return table_.open();
}

Status TBSPktbl::Pack() {
    const bool wasOpen = table_.isOpen();
    table_.close();
    TableKind kind = kind_;
    const std::string name = resolvedName(&kind);
    // Paradox tables are packed by a restructure the store does not offer;
    // the program only meets dBase tables.
    Status st =
        Status::Invalid("Tabulku \"" + name + "\" formátu Paradox program neumí zkomprimovat.");
    if (kind != TableKind::kParadox) {
        table_.setDirectory(directory_);
        table_.setFileName(name);
        st = table_.open(true);
        if (st.ok()) st = table_.pack();
        table_.close();
    }
    if (wasOpen) {
        // The handle is promised open again: a packed table that cannot be
        // reopened is reported too.
        const Status reopened = open();
        if (st.ok()) st = reopened;
    }
    return st;
}

}  // namespace kolvio
