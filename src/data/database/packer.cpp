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

bool TBSPktbl::Pack() {
    const bool wasOpen = table_.isOpen();
    table_.close();
    TableKind kind = kind_;
    const std::string name = resolvedName(&kind);
    // Paradox tables are packed by a restructure the store does not offer;
    // the program only meets dBase tables.
    last_ = Status::Invalid("Tabulku \"" + name + "\" formátu Paradox program neumí zkomprimovat.");
    if (kind != TableKind::kParadox) {
        table_.setDirectory(directory_);
        table_.setFileName(name);
        last_ = table_.open(true);
        if (last_.ok()) last_ = table_.pack();
        table_.close();
    }
    if (wasOpen) (void)open();
    return last_.ok();
}

}  // namespace kolvio
