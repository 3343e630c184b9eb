// kolvio-db dump FILE.dbf [--rows]
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/csv.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/engine_settings.h"

namespace kolvio::cli {

namespace {

void PrintHeader(const DbfHeader& h) {
    std::printf("verze: 0x%02X\n", h.version);
    std::printf("poslední změna: %04d-%02d-%02d\n", h.updateYear, h.updateMonth, h.updateDay);
    std::printf("počet záznamů: %u\n", h.recordCount);
    std::printf("délka hlavičky: %u\n", h.headerLength);
    std::printf("délka záznamu: %u\n", h.recordLength);
    std::printf("jazykový bajt: 0x%02X\n", h.languageDriver);
    std::printf("pole:\n");
    for (const FieldLayout& f : h.fields) {
        std::printf("  %-10s %c %3d %2d\n", f.name.c_str(), static_cast<char>(f.type), f.length,
                    f.decimals);
    }
}

int PrintRows(const DbfFile& file, const MemoFile* memo) {
    const DbfHeader& h = file.header();
    const CodePage page = h.languageDriver == kLanguageCp852
                              ? CodePage::kCp852
                              : CodePageOfDriver(EngineDriverSettings().languageDriver);
    std::string line = "_DELETED";
    for (const FieldLayout& f : h.fields)
        line += "," + CsvQuote(f.name);
    std::printf("%s\n", line.c_str());
    std::string record;
    for (uint32_t r = 0; r < h.recordCount; ++r) {
        const Status st = file.readRecord(r, &record);
        if (!st.ok()) {
            std::fprintf(stderr, "%s\n", st.message().c_str());
            return 1;
        }
        line = record[0] == '*' ? "1" : "0";
        for (const FieldLayout& f : h.fields) {
            line += "," + CsvCell(DecodeField(f, record.data(), page, memo));
        }
        // By length: a field may hold any byte, a NUL of a damaged row too.
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    return 0;
}

}  // namespace

int RunDump(int argc, char** argv) {
    const char* path = nullptr;
    bool rows = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0) {
            rows = true;
        } else if (!path) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (!path) {
        std::fprintf(stderr, "Použití: kolvio-db dump FILE.dbf [--rows]\n");
        return 2;
    }
    std::unique_ptr<DbfFile> file;
    Status st = DbfFile::Open(path, false, LockMode::kShared, &file);
    if (!st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    PrintHeader(file->header());
    if (!rows) return 0;
    std::unique_ptr<MemoFile> memo;
    if (file->header().hasMemoFields()) {
        st = MemoFile::Open(MemoFile::PathFor(path), false,
                            file->header().version == kVersionDb3Memo, &memo);
        if (!st.ok()) std::fprintf(stderr, "%s\n", st.message().c_str());
    }
    std::printf("\n");
    return PrintRows(*file, memo.get());
}

}  // namespace kolvio::cli
