#include "data/database/check.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "data/database/database.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/dbf/record_reader.h"
#include "data/file.h"
#include "data/index/index_def.h"
#include "data/index/table_index.h"

namespace kolvio {

namespace {

constexpr int kMaxFindingsPerTable = 20;

bool IsBlank(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// What is wrong with one field of a record, or "" when nothing.
std::string FieldProblem(const FieldLayout& f, const char* record, const MemoFile* memo) {
    const std::string_view raw(record + f.offset, static_cast<size_t>(f.length));
    switch (f.type) {
        case FieldType::kNumeric:
        case FieldType::kFloat:
            if (!IsBlank(raw) && !DecodeNumber(f, record)) return "neplatné číslo";
            return "";
        case FieldType::kDate:
            if (!IsBlank(raw) && !Date::FromDbf(raw)) return "neplatné datum";
            return "";
        case FieldType::kLogical:
            if (std::string_view("TtFfYyNn? ").find(raw[0]) == std::string_view::npos) {
                return "neplatná logická hodnota";
            }
            return "";
        case FieldType::kMemo:
        case FieldType::kBlob: {
            if (IsBlank(raw)) return "";
            std::string_view digits = RawField(f, record);
            while (!digits.empty() && digits.front() == ' ')
                digits.remove_prefix(1);
            uint64_t block = 0;
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), block);
            if (ec != std::errc() || end != digits.data() + digits.size() || block > UINT32_MAX) {
                return "neplatný odkaz do souboru poznámek";
            }
            // Block 0 means no memo; a missing memo file is reported once.
            if (block == 0 || !memo) return "";
            std::string data;
            const Status st = memo->read(static_cast<uint32_t>(block), &data);
            return st.ok() ? "" : "obsah v souboru poznámek nelze přečíst";
        }
        default:
            return "";
    }
}

class TableChecker {
public:
    TableChecker(std::string path, CheckReport* report)
        : path_(std::move(path)), name_(BaseName(path_)), report_(report) {}

    void run() {
        std::unique_ptr<DbfFile> file;
        Status st = DbfFile::Open(path_, false, LockMode::kShared, &file);
        if (!st.ok()) return damage(st.message());
        ++report_->tablesRead;
        const DbfHeader& h = file->header();
        if (h.languageDriver != kLanguageCp852) {
            report_->notes.push_back(name_ +
                                     ": text ještě není v kódové stránce 852 (převede se "
                                     "při otevření databáze).");
        }
        std::unique_ptr<MemoFile> memo;
        if (h.hasMemoFields()) {
            const std::string memoPath = MemoFile::PathFor(path_);
            st = MemoFile::Open(memoPath, false, h.version == kVersionDb3Memo, &memo);
            if (!st.ok()) damage("soubor poznámek: " + st.message());
        }
        readRecords(*file, memo.get());
        checkIndexes(*file);
        if (findings_ > kMaxFindingsPerTable) {
            report_->damage.push_back(name_ + ": ... a dalších " +
                                      std::to_string(findings_ - kMaxFindingsPerTable) + " chyb.");
        }
    }

private:
    void damage(const std::string& what) {
        if (++findings_ <= kMaxFindingsPerTable) report_->damage.push_back(name_ + ": " + what);
    }

    void readRecords(const DbfFile& file, const MemoFile* memo) {
        const DbfHeader& h = file.header();
        RecordReader reader(file);
        const Status st = reader.forEach([&](const RecordBatch& batch) {
            for (uint32_t i = 0; i < batch.count; ++i) {
                const char* record = batch.record(i);
                const std::string row = "řádek " + std::to_string(batch.first + i + 1);
                if (record[0] != ' ' && record[0] != '*')
                    damage(row + ": neplatný příznak smazání");
                for (const FieldLayout& f : h.fields) {
                    const std::string problem = FieldProblem(f, record, memo);
                    if (!problem.empty()) damage(row + ", pole " + f.name + ": " + problem);
                }
            }
            report_->rowsRead += batch.count;
            return Status::Ok();
        });
        if (!st.ok()) damage(st.message());
    }

    void checkIndexes(const DbfFile& file) {
        const std::string sidecar = IndexSidecarPath(path_);
        const std::vector<IndexDef> defs = ReadIndexDefs(sidecar);
        // An empty list is never written (the file is removed instead).
        if (defs.empty() && PathExists(sidecar)) {
            damage("soubor definic indexů " + BaseName(sidecar) + " je poškozený.");
        }
        for (const IndexDef& def : defs) {
            std::unique_ptr<TableIndex> index;
            Status st = TableIndex::Make(def, file.header().fields, &index);
            if (st.ok()) st = index->build(file, CodePage::kCp852);
            if (!st.ok()) damage(st.message());
        }
        for (const IndexedTable& entry : MaintainedIndexes()) {
            if (!EqualsIgnoreCase(entry.fileName, name_)) continue;
            for (std::string_view wanted : entry.indexes) {
                const bool present = std::any_of(defs.begin(), defs.end(), [&](const IndexDef& d) {
                    return EqualsIgnoreCase(d.name, wanted);
                });
                if (!present) {
                    report_->notes.push_back(name_ + ": chybí index " + std::string(wanted) +
                                             " (vytvoří se při otevření databáze).");
                }
            }
        }
    }

    std::string path_;
    std::string name_;
    CheckReport* report_;
    int findings_ = 0;
};

void NoteLeftovers(const std::string& dir, CheckReport* report) {
    std::vector<std::string> names;
    if (!ListDirectory(dir, &names).ok()) return;
    const std::string rewrite = RewriteTempPath("");
    for (const std::string& name : names) {
        const bool temp = name.size() > rewrite.size() &&
                          name.compare(name.size() - rewrite.size(), rewrite.size(), rewrite) == 0;
        const bool staging = name.find(".kolvio-upgrade.") != std::string::npos;
        if (temp || staging) {
            report->notes.push_back(name +
                                    ": zbytek přerušeného přepisu tabulky (původní "
                                    "tabulka je celá; soubor lze smazat).");
        }
    }
    if (CreationInterrupted(dir)) {
        report->notes.push_back(std::string(kCreationStagingFolder) +
                                ": zakládání databáze bylo přerušeno (dokončí se při otevření).");
    }
}

}  // namespace

CheckReport CheckDatabase(const std::string& dir) {
    CheckReport report;
    if (!IsDirectory(dir)) {
        report.damage.push_back("Adresář \"" + dir + "\" neexistuje.");
        return report;
    }
    for (std::string_view name : kDatabaseFiles) {
        const std::string path = ResolveInDirectory(dir, std::string(name));
        if (!PathExists(path)) {
            if (name == kWatchTypesFile) {
                report.notes.push_back(std::string(name) +
                                       " chybí (databáze starší verze; vytvoří se při otevření).");
            } else {
                report.damage.push_back(std::string(name) + ": tabulka chybí.");
            }
            continue;
        }
        TableChecker(path, &report).run();
    }
    for (std::string_view name : {kResultFile, kAuxiliaryFile}) {
        const std::string path = ResolveInDirectory(dir, std::string(name));
        if (PathExists(path)) TableChecker(path, &report).run();
    }
    NoteLeftovers(dir, &report);
    return report;
}

}  // namespace kolvio
