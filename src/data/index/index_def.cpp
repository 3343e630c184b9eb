#include "data/index/index_def.h"

#include <sstream>

#include "data/file.h"

namespace kolvio {

namespace {
constexpr std::string_view kMagic = "KOLVIO-INDEX 1";
// Definitions of every index a table of 1024 fields could have fit easily;
// a longer file is damaged and not read at all.
constexpr uint64_t kMaxSidecarBytes = 1 << 20;

std::string TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return std::string(s);
}
}  // namespace

std::vector<std::string> SplitIndexExpression(std::string_view expression) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= expression.size()) {
        size_t plus = expression.find('+', pos);
        if (plus == std::string_view::npos) plus = expression.size();
        std::string part = TrimBlanks(expression.substr(pos, plus - pos));
        if (!part.empty()) out.push_back(std::move(part));
        pos = plus + 1;
    }
    return out;
}

std::string IndexSidecarPath(const std::string& tablePath) {
    std::string base = BaseName(tablePath);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return ResolveInDirectory(ParentDirectory(tablePath), base + ".kix");
}

std::vector<IndexDef> ReadIndexDefs(const std::string& sidecarPath) {
    // Through File: a pipe or device of that name is refused, not waited on.
    File file;
    uint64_t size = 0;
    if (!File::Open(sidecarPath, false, &file).ok() || !file.size(&size).ok()) return {};
    if (size > kMaxSidecarBytes) return {};
    std::string text(size, '\0');
    if (!file.readAt(0, size, text.data()).ok()) return {};
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || TrimBlanks(line) != kMagic) return {};
    std::vector<IndexDef> defs;
    while (std::getline(in, line)) {
        if (TrimBlanks(line).empty()) continue;
        std::vector<std::string> parts;
        std::stringstream ss(line);
        std::string part;
        while (std::getline(ss, part, '\t'))
            parts.push_back(TrimBlanks(part));
        if (parts.size() != 3 || parts[0].empty() || parts[1].empty() ||
            (parts[2] != "A" && parts[2] != "D")) {
            return {};  // never trust a damaged file
        }
        defs.push_back({parts[0], parts[1], parts[2] == "D"});
    }
    return defs;
}

Status WriteIndexDefs(const std::string& sidecarPath, const std::vector<IndexDef>& defs) {
    if (defs.empty()) return RemoveFile(sidecarPath);
    std::string text(kMagic);
    text += "\n";
    for (const IndexDef& d : defs) {
        text += d.name + "\t" + d.expression + "\t" + (d.descending ? "D" : "A") + "\n";
    }
    FileRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(sidecarPath));
    KOLVIO_RETURN_IF_ERROR(rewrite.file().writeAt(0, text));
    return rewrite.commit();
}

}  // namespace kolvio
