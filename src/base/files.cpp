// File-system services; see files.h. POSIX calls, so that the replacement can be flushed
// with fsync before the rename.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vornelle {
namespace {
std::string why() {
    return systemReason(errno);
}

// The folder of a path, for the file-system calls on a file that may not exist yet.
std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

int injected(DiskLayer::Op op, const std::string& path, uint64_t bytes) {
    const DiskLayer& layer = diskLayer();
    return layer.fault ? layer.fault(op, path, bytes) : 0;
}
}  // namespace

DiskLayer& diskLayer() {
    static DiskLayer layer;
    return layer;
}

std::FILE* openFile(const std::string& path, const char* mode) {
    if (mode[0] != 'r') {
        if (int e = injected(DiskLayer::Op::Create, path, 0)) {
            errno = e;
            return nullptr;
        }
    }
    return std::fopen(path.c_str(), mode);
}

bool writeBytes(std::FILE* file, const std::string& path, const void* data, size_t size) {
    if (size == 0) return true;
    if (int e = injected(DiskLayer::Op::Write, path, size)) {
        errno = e;
        return false;
    }
    return std::fwrite(data, 1, size, file) == size;
}

int renamePath(const std::string& from, const std::string& to) {
    if (int e = injected(DiskLayer::Op::Rename, to, 0)) {
        errno = e;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

Outcome<uint64_t> freeSpace(const std::string& path) {
    if (diskLayer().freeSpace) return diskLayer().freeSpace(path);
    struct stat st;
    std::string at = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? path : folderOf(path);
    struct statvfs vfs;
    if (::statvfs(at.c_str(), &vfs) != 0)
        return Failure{"Impossible de connaître la place libre de " + at + " : " + why()};
    return static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

bool sameFileSystem(const std::string& a, const std::string& b) {
    auto device = [](const std::string& p) -> dev_t {
        struct stat st;
        if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return st.st_dev;
        if (::stat(folderOf(p).c_str(), &st) == 0) return st.st_dev;
        return static_cast<dev_t>(-1);
    };
    return device(a) == device(b);
}

std::string sizeText(uint64_t bytes, bool roundUp) {
    constexpr uint64_t kMo = 1000 * 1000, kGo = 1000 * kMo;
    const uint64_t unit = bytes >= kGo ? kGo : kMo;
    uint64_t n = roundUp ? bytes / unit + (bytes % unit != 0) : bytes / unit;
    return std::to_string(n) + (unit == kGo ? " Go" : " Mo");
}

std::string systemReason(int e) {
    switch (e) {
        case ENOENT:
            return "fichier ou dossier introuvable";
        case EACCES:
        case EPERM:
            return "permission refusée";
        case EISDIR:
            return "c'est un dossier";
        case ENOTDIR:
            return "un élément du chemin n'est pas un dossier";
        case EROFS:
            return "support en lecture seule";
        case EBUSY:
            return "fichier occupé";
        case EEXIST:
            return "un fichier de ce nom existe déjà";
        case EXDEV:
            return "le nouveau nom est sur un autre support";
        case ENOSPC:
            return "plus de place sur le support";
        case ENAMETOOLONG:
            return "nom trop long";
        default:
            return std::strerror(e);
    }
}

Status deleteFile(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return Status::failure("Impossible d'effacer " + path + " : " + systemReason(EISDIR));
    if (::unlink(path.c_str()) == 0) return Status::success();
    return Status::failure("Impossible d'effacer " + path + " : " + why());
}

Status renameFile(const std::string& from, const std::string& to) {
    auto refuse = [&](const std::string& reason) {
        return Status::failure("Impossible de renommer " + from + " en " + to + " : " + reason);
    };
    struct stat st;
    if (::lstat(from.c_str(), &st) != 0) return refuse(why());
    if (S_ISDIR(st.st_mode)) return refuse(systemReason(EISDIR));
    if (int e = injected(DiskLayer::Op::Rename, to, 0)) return refuse(systemReason(e));
    // A hard link refuses an existing target where rename would silently replace it.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) return Status::success();
        int e = errno;
        ::unlink(to.c_str());
        return refuse(systemReason(e));
    }
    if (errno == EEXIST) return refuse(why());
    // File systems without hard links: test, then rename.
    if (::lstat(to.c_str(), &st) == 0) return refuse(systemReason(EEXIST));
    if (renamePath(from, to) != 0) return refuse(why());
    return Status::success();
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Status removeFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return Status::success();
    return Status::failure("Impossible de supprimer le fichier " + path + " : " + why());
}

Status replaceFile(const std::string& path, std::string_view contents) {
    std::string temp = path + ".nouveau";
    int fd = -1;
    if (int e = injected(DiskLayer::Op::Create, temp, 0))
        errno = e;
    else
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Status::failure("Impossible d'écrire le fichier " + path + " : " + why());
    auto fail = [&](const char* what) {
        std::string m = what + path + " : " + why();
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        return Status::failure(m);
    };
    const char* p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        if (int e = injected(DiskLayer::Op::Write, temp, left)) {
            errno = e;
            return fail("Impossible d'écrire le fichier ");
        }
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("Impossible d'écrire le fichier ");
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) return fail("Impossible d'écrire le fichier ");
    int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail("Impossible d'écrire le fichier ");
    if (renamePath(temp, path) != 0) return fail("Impossible de remplacer le fichier ");
    return Status::success();
}

Outcome<std::string> readFile(const std::string& path, size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure{"Impossible de lire le fichier " + path + " : " + why()};
    std::string out;
    char buf[65536];
    for (;;) {
        // Checked as it is read: the file may grow, or be a device with no size.
        if (out.size() > limit) {
            ::close(fd);
            return Failure{"Le fichier " + path + " fait plus de " + sizeText(limit, true) +
                           " : trop grand pour ce qu'il devrait contenir."};
        }
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::string m = "Impossible de lire le fichier " + path + " : " + why();
            ::close(fd);
            return Failure{m};
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return out;
}

Status ensureFolder(const std::string& path, unsigned mode) {
    if (path.empty()) return Status::failure("Dossier vide");
    std::string partial;
    size_t i = 0;
    while (i <= path.size()) {
        size_t slash = path.find('/', i);
        if (slash == std::string::npos) slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty()) {
            struct stat st;
            if (::stat(partial.c_str(), &st) != 0) {
                if (::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST)
                    return Status::failure("Impossible de créer le dossier " + partial + " : " + why());
            } else if (!S_ISDIR(st.st_mode)) {
                return Status::failure("Le chemin " + partial + " n'est pas un dossier");
            }
        }
        i = slash + 1;
    }
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return Status::failure("Le dossier " + path + " n'est pas accessible en écriture : " + why());
    return Status::success();
}

}  // namespace vornelle
