// The record reader and the table rewriter that every whole-table loop of
// the store goes through.
//
// The reader must hand out each record of its range exactly once, in order,
// whatever the batch size, and must end a walk whose read fails with an
// error naming the file, never as if the records had run out. The rewriter
// must count in the header exactly the records it wrote, and a transform
// that fails must leave the table as it was and no temporary file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/dbf/record_reader.h"
#include "data/table.h"
#include "data/table_rewrite.h"
#include "tests/data/fault_file_system.h"
#include "tests/data/numbered_table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FsCall;
using testing::FsError;
using testing::TempDir;

constexpr int kRows = 25;

// kRows rows numbered 0.. in CISLO; every third row deleted.
void WriteTable(const std::string& dir) {
    std::vector<int> deleted;
    for (int row = (kRows - 1) / 3 * 3; row >= 0; row -= 3)
        deleted.push_back(row);
    testing::WriteNumberedTable(
        dir, kRows, [](int i) { return "Jízda " + std::to_string(i); }, deleted);
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTable(tmp.path());
        path = tmp.file("jizdy.dbf");
        ASSERT_TRUE(DbfFile::Open(path, false, LockMode::kShared, &file).ok());
        ASSERT_EQ(file->recordCount(), static_cast<uint32_t>(kRows));
    }
    int Number(const char* record) const {
        return static_cast<int>(DecodeNumber(file->header().fields[0], record).value_or(-1));
    }

    TempDir tmp;
    std::string path;
    std::unique_ptr<DbfFile> file;
};

TEST_F(RecordReaderTest, EveryRecordOfTheRangeIsReadOnceInOrderWhateverTheBatchSize) {
    const size_t length = file->recordLength();
    const struct {
        const char* what;
        size_t batchBytes;
        uint32_t first, end;
    } cases[] = {
        {"less than a record a batch", 1, 0, kRows},
        {"one record a batch", length, 0, kRows},
        {"batches that divide the table", 5 * length, 0, kRows},
        {"a last batch cut short", 7 * length + 3, 0, kRows},
        {"the whole table in one batch", RecordReader::kBatchBytes, 0, kRows},
        {"a range inside the table", 4 * length, 6, 19},
        {"a range at the end", 4 * length, 20, kRows},
        {"an empty range", 4 * length, 9, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordReader reader(*file, c.batchBytes);
        reader.setRange(c.first, c.end);
        std::vector<int> seen;
        int batches = 0;
        const Status st = reader.forEach([&](const RecordBatch& batch) {
            ++batches;
            EXPECT_GT(batch.count, 0u);
            EXPECT_EQ(batch.first, c.first + seen.size());
            for (uint32_t i = 0; i < batch.count; ++i) {
                EXPECT_EQ(batch.deleted(i), (batch.first + i) % 3 == 0);
                seen.push_back(Number(batch.record(i)));
            }
            return Status::Ok();
        });
        ASSERT_TRUE(st.ok()) << st.message();
        std::vector<int> expected;
        for (uint32_t r = c.first; r < c.end; ++r)
            expected.push_back(static_cast<int>(r));
        EXPECT_EQ(seen, expected);
        const size_t perBatch = std::max<size_t>(1, c.batchBytes / length);
        EXPECT_EQ(batches, static_cast<int>((c.end - c.first + perBatch - 1) / perBatch));
    }
}

TEST_F(RecordReaderTest, AFailedReadEndsTheWalkWithAnErrorNamingTheFile) {
    const size_t batchBytes = 4 * file->recordLength();
    int failures = 0;
    for (int n = 1;; ++n) {
        SCOPED_TRACE("read #" + std::to_string(n) + " fails");
        FaultFileSystem failing(Fault{FsCall::kRead, n, FsError::kEio});
        ScopedFileSystem installed(failing);
        RecordReader reader(*file, batchBytes);
        int records = 0;
        const Status st = reader.forEach([&](const RecordBatch& batch) {
            records += static_cast<int>(batch.count);
            return Status::Ok();
        });
        if (!failing.fired()) {
            EXPECT_TRUE(st.ok()) << st.message();
            EXPECT_EQ(records, kRows);
            break;
        }
        ++failures;
        ASSERT_FALSE(st.ok()) << "a failed read taken for the end after " << records;
        EXPECT_NE(st.message().find("jizdy.dbf"), std::string::npos) << st.message();
        EXPECT_LT(records, kRows);
    }
    EXPECT_EQ(failures, (kRows + 3) / 4);
}

TEST_F(RecordReaderTest, RewriteCountsInTheHeaderTheRecordsItWrote) {
    std::string header;
    ASSERT_TRUE(ReadHeaderBytes(*file, &header).ok());
    TableRewrite rewrite;
    ASSERT_TRUE(rewrite.begin(*file, path, header).ok());
    // Keeps the live records, as packing does.
    ASSERT_TRUE(rewrite
                    .writeRecords([](const RecordBatch& batch, std::string* out) {
                        for (uint32_t i = 0; i < batch.count; ++i) {
                            if (!batch.deleted(i)) out->append(batch.record(i), batch.length);
                        }
                        return Status::Ok();
                    })
                    .ok());
    ASSERT_TRUE(rewrite.commit().ok());
    file.reset();

    std::unique_ptr<DbfFile> packed;
    ASSERT_TRUE(DbfFile::Open(path, false, LockMode::kShared, &packed).ok());
    std::vector<int> numbers;
    RecordReader reader(*packed);
    ASSERT_TRUE(
        reader
            .forEach([&](const RecordBatch& batch) {
                for (uint32_t i = 0; i < batch.count; ++i) {
                    numbers.push_back(static_cast<int>(
                        DecodeNumber(packed->header().fields[0], batch.record(i)).value_or(-1)));
                }
                return Status::Ok();
            })
            .ok());
    std::vector<int> expected;
    for (int r = 0; r < kRows; ++r) {
        if (r % 3 != 0) expected.push_back(r);
    }
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(std::filesystem::file_size(path),
              packed->header().headerLength + expected.size() * packed->recordLength() + 1);
}

TEST_F(RecordReaderTest, RewriteWhoseTransformFailsLeavesTheTableAndNoTemporaryFile) {
    const std::string before = Bytes(path);
    std::string header;
    ASSERT_TRUE(ReadHeaderBytes(*file, &header).ok());
    for (const std::string& temp : {std::string(), tmp.file("jizdy.staging.dbf")}) {
        SCOPED_TRACE(temp.empty() ? "the usual temporary name" : "a named staging copy");
        std::string tempPath;
        {
            TableRewrite rewrite;
            ASSERT_TRUE(rewrite.begin(*file, path, header, temp).ok());
            tempPath = rewrite.tempPath();
            EXPECT_TRUE(std::filesystem::exists(tempPath));
            const Status st = rewrite.writeRecords([](const RecordBatch&, std::string*) {
                return Status::Invalid("Pole nelze převést.");
            });
            EXPECT_EQ(st.message(), "Pole nelze převést.");
        }
        EXPECT_FALSE(std::filesystem::exists(tempPath));
        EXPECT_EQ(Bytes(path), before);
    }
}

}  // namespace
}  // namespace kolvio
