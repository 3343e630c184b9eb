#include "app/recent_databases.h"

#include "app/text_case.h"

namespace kolvio {

namespace {

std::string Entry(const IniDocument& doc, int n) {
    return doc.value(kRecentDbSection, std::to_string(n)).value_or(std::string());
}

bool SetEntry(IniDocument& doc, int n, std::string_view dir) {
    return doc.setValue(kRecentDbSection, std::to_string(n), dir);
}

// Key k takes key k-1, for k = from down to 2.
bool ShiftDown(IniDocument& doc, int from) {
    for (int k = from; k >= 2; --k) {
        if (!SetEntry(doc, k, Entry(doc, k - 1))) return false;
    }
    return true;
}

}  // namespace

std::string RecentDbRead(const SettingsFile& ini, int n) {
    return ini.readString(kRecentDbSection, std::to_string(n), "");
}

Status RecentDbAdd(SettingsFile& ini, std::string_view dir, int n) {
    // An empty text would match the empty keys of a short list.
    if (dir.empty()) return Status::Ok();
    return ini.update([&](IniDocument& doc) {
        int match = 0;
        for (int k = 1; k <= n; ++k) {
            if (EqualsFolded(Entry(doc, k), dir)) match = k;
        }
        if (match == 1) return SetEntry(doc, 1, dir);
        return ShiftDown(doc, match > 1 ? match : n) && SetEntry(doc, 1, dir);
    });
}

Status RecentDbRemove(SettingsFile& ini, int i, int n) {
    if (n < 2) n = 2;
    if (i < 1 || i > n) return Status::Ok();
    return ini.update([&](IniDocument& doc) {
        for (int k = i; k < n; ++k) {
            if (!SetEntry(doc, k, Entry(doc, k + 1))) return false;
        }
        return SetEntry(doc, n, "");
    });
}

}  // namespace kolvio
