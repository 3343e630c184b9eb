#include "data/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/dbf/field_def.h"
#include "data/file_system.h"

namespace kolvio {

std::string SystemErrorText(int err) {
    switch (err) {
        case ENOSPC:
            return "na disku není volné místo";
        case EDQUOT:
            return "je vyčerpána disková kvóta";
        case EACCES:
        case EPERM:
            return "chybí oprávnění";
        case EROFS:
            return "disk je připojen jen pro čtení";
        case EISDIR:
            return "v cestě stojí adresář téhož jména";
        case ENOTDIR:
            return "část cesty není adresář";
        case ENOENT:
            return "soubor nebo adresář neexistuje";
        case EEXIST:
            return "soubor téhož jména už existuje";
        case ENAMETOOLONG:
            return "název je příliš dlouhý";
        case ELOOP:
            return "cesta obsahuje příliš mnoho symbolických odkazů";
        case EFBIG:
            return "soubor by byl příliš velký";
        case EXDEV:
            return "soubory leží na různých discích";
        case EBUSY:
        case ETXTBSY:
            return "soubor je právě používán";
        case EMFILE:
        case ENFILE:
            return "je otevřeno příliš mnoho souborů";
        case EIO:
            return "chyba čtení nebo zápisu na disku";
        default:
            return "systémová chyba " + std::to_string(err) + " (" + std::strerror(err) + ")";
    }
}

Status SystemError(const std::string& what, const std::string& path, int err) {
    std::string message = what + " \"" + path + "\": " + SystemErrorText(err) + ".";
    if (err == ENOSPC || err == EDQUOT) {
        return Status::NoSpace(message + " Uvolněte místo na disku a akci opakujte.");
    }
    if (err == EACCES || err == EPERM) {
        message += " Zkontrolujte oprávnění k souboru a k jeho adresáři.";
    } else if (err == EROFS) {
        message += " Zvolte adresář na zapisovatelném disku.";
    }
    return Status::IoError(message);
}

File::~File() {
    close();
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

Status File::Open(const std::string& path, bool writable, File* out) {
    // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
    const int fd = Fs().open(path.c_str(),
                             (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0);
    if (fd < 0) {
        if (errno == ENOENT) return Status::NotFound("Soubor \"" + path + "\" neexistuje.");
        return SystemError("Soubor nelze otevřít", path, errno);
    }
    struct stat st;
    if (Fs().fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Fs().close(fd);
        return Status::IoError("\"" + path +
                               "\" není obyčejný soubor (je to adresář, roura nebo zařízení). "
                               "Přejmenujte ho nebo ho odstraňte.");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    out->close();
    out->fd_ = fd;
    out->path_ = path;
    return Status::Ok();
}

Status File::CreateNew(const std::string& path, File* out) {
    const int fd = Fs().open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return SystemError("Soubor nelze vytvořit", path, errno);
    out->close();
    out->fd_ = fd;
    out->path_ = path;
    return Status::Ok();
}

Status File::CreateTemp(const std::string& path, File* out) {
    if (Fs().unlink(path.c_str()) != 0 && errno != ENOENT) {
        return SystemError("Dočasný soubor nelze připravit", path, errno);
    }
    const int fd =
        Fs().open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return SystemError("Dočasný soubor nelze vytvořit", path, errno);
    out->close();
    out->fd_ = fd;
    out->path_ = path;
    return Status::Ok();
}

Status File::size(uint64_t* out) const {
    struct stat st;
    if (Fs().fstat(fd_, &st) != 0) return SystemError("Chyba čtení", path_, errno);
    *out = static_cast<uint64_t>(st.st_size);
    return Status::Ok();
}

Status File::readAt(uint64_t offset, size_t n, char* out) const {
    size_t done = 0;
    while (done < n) {
        const ssize_t r = Fs().pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            return SystemError("Chyba čtení", path_, errno);
        }
        if (r == 0) {
            return Status::Corrupt("Soubor \"" + path_ + "\" je zkrácený nebo poškozený.");
        }
        done += static_cast<size_t>(r);
    }
    return Status::Ok();
}

Status File::writeAt(uint64_t offset, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t r = Fs().pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                      static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            return SystemError("Chyba zápisu", path_, errno);
        }
        done += static_cast<size_t>(r);
    }
    return Status::Ok();
}

Status File::truncate(uint64_t size) {
    if (Fs().ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        return SystemError("Chyba zápisu", path_, errno);
    }
    return Status::Ok();
}

Status File::sync() {
    if (Fs().fsync(fd_) != 0) return SystemError("Chyba zápisu", path_, errno);
    return Status::Ok();
}

// flock() locks belong to the open file description, so two handles of one
// process exclude each other just as two processes do.
Status File::lock(LockMode mode) {
    int op = LOCK_UN;
    if (mode == LockMode::kShared) op = LOCK_SH;
    if (mode == LockMode::kExclusive) op = LOCK_EX;
    while (Fs().flock(fd_, op | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) {
            return Status::Locked("Tabulku \"" + path_ +
                                  "\" právě používá jiný program nebo okno. Zavřete je a "
                                  "akci opakujte.");
        }
        return SystemError("Tabulku nelze zamknout", path_, errno);
    }
    return Status::Ok();
}

// Open file description locks, like flock(), belong to the open file and
// not to the process, so two handles of one process exclude each other too;
// unlike flock() they cover a byte range, independently of the flock lock.
Status File::lockRange(uint64_t offset, uint64_t length) {
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    while (Fs().lockRange(fd_, F_OFD_SETLKW, &fl) != 0) {
        if (errno == EINTR) continue;
        return SystemError("Tabulku nelze zamknout pro zápis", path_, errno);
    }
    return Status::Ok();
}

void File::unlockRange(uint64_t offset, uint64_t length) {
    struct flock fl = {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    Fs().lockRange(fd_, F_OFD_SETLK, &fl);
}

bool File::isAt(const std::string& path) const {
    struct stat mine, named;
    return Fs().fstat(fd_, &mine) == 0 && Fs().stat(path.c_str(), &named) == 0 &&
           mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

void File::close() {
    if (fd_ >= 0) Fs().close(fd_);
    fd_ = -1;
}

bool PathExists(const std::string& path) {
    struct stat st;
    return Fs().stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return Fs().stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Status MakeDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return Status::Ok();
    const std::string parent = ParentDirectory(path);
    if (!parent.empty() && parent != path) KOLVIO_RETURN_IF_ERROR(MakeDirectories(parent));
    if (Fs().mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        return SystemError("Adresář nelze vytvořit", path, errno);
    }
    return Status::Ok();
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string ParentDirectory(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const auto slash = p.rfind('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolveInDirectory(const std::string& dir, const std::string& name) {
    const std::string exact = JoinPath(dir, name);
    if (PathExists(exact)) return exact;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return exact;
    std::string found;
    while (const dirent* e = ::readdir(d)) {
        if (EqualsIgnoreCase(e->d_name, name)) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found.empty() ? exact : JoinPath(dir, found);
}

Status RemoveFile(const std::string& path) {
    if (Fs().unlink(path.c_str()) != 0 && errno != ENOENT) {
        return SystemError("Soubor nelze smazat", path, errno);
    }
    return Status::Ok();
}

Status LinkFile(const std::string& from, const std::string& to) {
    if (Fs().link(from.c_str(), to.c_str()) != 0) {
        return SystemError("Soubor nelze zálohovat", from, errno);
    }
    return Status::Ok();
}

Status RenameFile(const std::string& from, const std::string& to) {
    if (Fs().rename(from.c_str(), to.c_str()) != 0) {
        return SystemError("Soubor nelze přejmenovat", from, errno);
    }
    return Status::Ok();
}

Status ListDirectory(const std::string& dir, std::vector<std::string>* names) {
    names->clear();
    DIR* d = ::opendir(dir.c_str());
    if (!d) return SystemError("Adresář nelze číst", dir, errno);
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names->push_back(name);
    }
    ::closedir(d);
    return Status::Ok();
}

Status RemoveDirectory(const std::string& path) {
    if (Fs().rmdir(path.c_str()) != 0 && errno != ENOENT) {
        return SystemError("Adresář nelze smazat", path, errno);
    }
    return Status::Ok();
}

}  // namespace kolvio
