// Databases as the older Windows version left them, and a shell that records
// what the database shows.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/database/shell_feedback.h"
#include "data/dbf/field_def.h"
#include "data/status.h"

namespace kolvio::testing {

// Records every call as one line: "caption KOLVIO 2.3 {...} ", "status ...",
// "gauge-show ...", "gauge 57", "gauge-hide", "shorten 30", "driver".
class RecordingShell : public ShellFeedback {
public:
    std::string shortenPath(const std::string& dir, int max) override;
    void setCaption(const std::string& caption) override { log.push_back("caption " + caption); }
    void setStatusText(const std::string& text) override { log.push_back("status " + text); }
    void showGauge(const std::string& text) override { log.push_back("gauge-show " + text); }
    void setGauge(int percent) override { log.push_back("gauge " + std::to_string(percent)); }
    void hideGauge() override { log.push_back("gauge-hide"); }
    void applyDriverSettings() override { ++driverApplied; }

    // The lines that start with `prefix`.
    std::vector<std::string> lines(const std::string& prefix) const;

    std::vector<std::string> log;
    int driverApplied = 0;
};

// One ride of the older layout (DATUM .. POPIS1). Text is UTF-8 here and is
// written to the file in Windows-1250 bytes.
struct OldRide {
    std::optional<int> year;  // no date when empty
    int month = 1, day = 1;
    int route = 1, direction = 1, type = 2, subtype = 201, bike = 1;
    double km = 0, hours = 0, vmax = 0, avg = 0;
    int persons = 1;
    std::string text;
    bool deleted = false;
};

// A table written byte by byte: Windows-1250 text, no language byte 0x1F.
struct RawTable {
    std::string fileName;
    std::vector<FieldDef> fields;
    // One row: a value per field as text ("" = blank), already in the form
    // the field stores (numbers formatted, dates YYYYMMDD); text columns are
    // UTF-8 and get encoded to Windows-1250.
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> deleted;
    // Blob contents per row (first blob field), raw bytes.
    std::vector<std::string> blobs;
};
Status WriteRawTable(const std::string& dir, const RawTable& table, uint8_t language = 0x00);

// The five tables of an older database (no typ_hld) holding `rides` and a
// few reference rows with Czech text; typ_trs has a route picture (blob).
Status WriteOldDatabase(const std::string& dir, const std::vector<OldRide>& rides);
// Rides with every Czech letter in their descriptions, one without a date
// and one deleted.
std::vector<OldRide> SampleOldRides();
// Reference rows of WriteOldDatabase, for checking: file -> rows of texts.
extern const char* const kOldRouteNames[];
extern const int kOldRouteCount;
extern const std::string kOldRoutePicture;

// Contents of every file in `dir`, by name.
std::map<std::string, std::string> Snapshot(const std::string& dir);
std::string ReadFileBytes(const std::string& path);

}  // namespace kolvio::testing
