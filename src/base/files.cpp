// File-system services; see files.h. POSIX calls, so that the replacement can be flushed
// with fsync before the rename.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vornelle {
namespace {
std::string why() {
    return systemReason(errno);
}
}  // namespace

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
    if (::rename(from.c_str(), to.c_str()) != 0) return refuse(why());
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
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Status::failure("Impossible d'écrire le fichier " + path + " : " + why());
    const char* p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::string m = "Impossible d'écrire le fichier " + path + " : " + why();
            ::close(fd);
            ::unlink(temp.c_str());
            return Status::failure(m);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        std::string m = "Impossible d'écrire le fichier " + path + " : " + why();
        ::unlink(temp.c_str());
        return Status::failure(m);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        std::string m = "Impossible de remplacer le fichier " + path + " : " + why();
        ::unlink(temp.c_str());
        return Status::failure(m);
    }
    return Status::success();
}

Outcome<std::string> readFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure{"Impossible de lire le fichier " + path + " : " + why()};
    std::string out;
    char buf[65536];
    for (;;) {
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
