// Opening and reading a table while another handle appends to it.
//
// A writer puts the record down before the count that makes it visible, so
// whatever moment a reader looks at, the count it reads is covered by the
// bytes already in the file, and bytes past the count (a record still being
// written) are no concern of the reader. Here another handle appends a row
// between two system calls of the opening handle, at every such moment in
// turn, and the opening must succeed and show the rows as before or after.
// A second test does the same with another process appending as fast as it
// can.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "data/dbf/dbf_file.h"
#include "data/file_system.h"
#include "data/table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

// Runs `between` once, just before the Nth fstat or pread (counted
// together) of the code under test; calls made by `between` itself pass
// straight through.
class InterleavingFileSystem : public PosixFileSystem {
public:
    InterleavingFileSystem(int nth, std::function<void()> between)
        : nth_(nth), between_(std::move(between)) {}

    int calls() const { return calls_; }
    bool ran() const { return ran_; }

    int fstat(int fd, struct stat* out) override {
        step();
        return PosixFileSystem::fstat(fd, out);
    }
    ssize_t pread(int fd, void* buf, size_t n, off_t offset) override {
        step();
        return PosixFileSystem::pread(fd, buf, n, offset);
    }

private:
    void step() {
        if (inside_) return;
        if (++calls_ != nth_ || ran_) return;
        ran_ = true;
        inside_ = true;
        between_();
        inside_ = false;
    }

    int nth_;
    std::function<void()> between_;
    int calls_ = 0;
    bool ran_ = false;
    bool inside_ = false;
};

Status AppendRide(Table& t, int seq) {
    KOLVIO_RETURN_IF_ERROR(t.append());
    KOLVIO_RETURN_IF_ERROR(t.setValue("SEQ", seq));
    KOLVIO_RETURN_IF_ERROR(t.setValue("POPIS1", "jízda " + std::to_string(seq)));
    return t.post();
}

// The rows a fresh handle shows, walked to the end; an error ends the walk.
Status OpenAndCount(const std::string& dir, int* rows) {
    *rows = 0;
    Table t(dir, "jizdy.dbf");
    KOLVIO_RETURN_IF_ERROR(t.open());
    for (Status st = t.first();; st = t.next()) {
        KOLVIO_RETURN_IF_ERROR(st);
        if (t.eof()) return Status::Ok();
        if (t.getInt("SEQ") != *rows) return Status::Corrupt("row out of order");
        ++*rows;
    }
}

class OpenWhileAppendingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Table::Create(dir.path(), "jizdy.dbf",
                                  {FieldDef::Numeric("SEQ", 6, 0), FieldDef::Char("POPIS1", 20)})
                        .ok());
        Table t(dir.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        for (int i = 0; i < kRows; ++i)
            ASSERT_TRUE(AppendRide(t, i).ok());
    }

    static constexpr int kRows = 5;
    TempDir dir;
};

TEST_F(OpenWhileAppendingTest, ARowAppendedAtAnyMomentOfTheOpeningIsSeenWholeOrNotAtAll) {
    Table writer(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(writer.open().ok());
    int appended = kRows;
    int moments = 0;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE("a row appended before system call #" + std::to_string(nth));
        InterleavingFileSystem fs(nth, [&] { ASSERT_TRUE(AppendRide(writer, appended++).ok()); });
        int rows = 0;
        Status st;
        {
            ScopedFileSystem installed(fs);
            st = OpenAndCount(dir.path(), &rows);
        }
        if (!fs.ran()) break;
        ++moments;
        ASSERT_TRUE(st.ok()) << st.message();
        EXPECT_TRUE(rows == appended || rows == appended - 1) << rows << " of " << appended;
    }
    EXPECT_GT(moments, 3);
}

// Another process appends rides one after another while this one opens the
// table again and again and reads it to the end.
TEST_F(OpenWhileAppendingTest, OpeningWhileAnotherProcessAppendsNeverFails) {
    constexpr int kAppends = 4000;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(ready[0]);
        Table t(dir.path(), "jizdy.dbf");
        if (!t.open().ok()) _exit(2);
        (void)!write(ready[1], "r", 1);
        for (int i = kRows; i < kRows + kAppends; ++i) {
            if (!AppendRide(t, i).ok()) _exit(3);
        }
        _exit(0);
    }
    close(ready[1]);
    char go;
    ASSERT_EQ(read(ready[0], &go, 1), 1);
    close(ready[0]);
    int opened = 0;
    int failures = 0;
    std::string firstFailure;
    for (int status = 0; waitpid(pid, &status, WNOHANG) == 0;) {
        int rows = 0;
        const Status st = OpenAndCount(dir.path(), &rows);
        ++opened;
        if (!st.ok() && failures++ == 0) firstFailure = st.message();
    }
    EXPECT_EQ(failures, 0) << "of " << opened << " openings; first: " << firstFailure;
    int rows = 0;
    ASSERT_TRUE(OpenAndCount(dir.path(), &rows).ok());
    EXPECT_EQ(rows, kRows + kAppends);
}

}  // namespace
}  // namespace kolvio
