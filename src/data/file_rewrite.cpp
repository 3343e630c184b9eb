// Whole-file rewrites: a new file written beside the old one and put in its
// place atomically, through symbolic links, with the old mode and owner.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "data/file.h"
#include "data/file_system.h"

namespace kolvio {

bool IsWritableFile(const std::string& path) {
    struct stat st;
    if (Fs().stat(path.c_str(), &st) != 0) return true;
    // The permission bits first: the superuser may write anything, but a
    // file marked read-only is meant to stay as it is.
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

std::string RewriteTarget(const std::string& path) {
    struct stat st;
    if (Fs().lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) return path;
    return resolved;
}

namespace {

// The new file takes the place of the old one: same permissions, same owner
// (where this user may give it; a file of ours stays ours anyway).
void KeepModeAndOwner(const std::string& tmpPath, const std::string& finalPath) {
    struct stat old;
    if (Fs().stat(finalPath.c_str(), &old) != 0) return;
    if (::chown(tmpPath.c_str(), old.st_uid, old.st_gid) != 0) {
        (void)::chown(tmpPath.c_str(), static_cast<uid_t>(-1), old.st_gid);
    }
    (void)::chmod(tmpPath.c_str(), old.st_mode & 07777);
}

}  // namespace

Status ReplaceFileAtomically(const std::string& tmpPath, const std::string& finalPath) {
    {
        File tmp;
        KOLVIO_RETURN_IF_ERROR(File::Open(tmpPath, true, &tmp));
        KOLVIO_RETURN_IF_ERROR(tmp.sync());
    }
    KeepModeAndOwner(tmpPath, finalPath);
    if (Fs().rename(tmpPath.c_str(), finalPath.c_str()) != 0) {
        return SystemError("Soubor nelze nahradit", finalPath, errno);
    }
    // Make the rename itself durable.
    const std::string dir = ParentDirectory(finalPath);
    const int dfd =
        Fs().open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dfd >= 0) {
        Fs().fsync(dfd);
        Fs().close(dfd);
    }
    return Status::Ok();
}

std::string RewriteTempPath(const std::string& path) {
    return path + ".kolvio-new";
}

FileRewrite::~FileRewrite() {
    abandon();
}

Status FileRewrite::begin(const std::string& path, const std::string& tempPath) {
    abandon();
    target_ = RewriteTarget(path);
    if (!IsWritableFile(target_)) {
        return Status::IoError("Soubor \"" + target_ +
                               "\" je jen pro čtení, proto se nepřepíše. Povolte do něj zápis a "
                               "akci opakujte.");
    }
    temp_ = tempPath.empty() ? RewriteTempPath(target_) : tempPath;
    KOLVIO_RETURN_IF_ERROR(File::CreateTemp(temp_, &file_));
    pending_ = true;
    return Status::Ok();
}

Status FileRewrite::commit() {
    file_.close();
    const Status st = ReplaceFileAtomically(temp_, target_);
    if (st.ok()) pending_ = false;
    return st;
}

void FileRewrite::abandon() {
    file_.close();
    if (pending_) (void)Fs().unlink(temp_.c_str());
    pending_ = false;
}

}  // namespace kolvio
