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
    return std::strerror(errno);
}
}  // namespace

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
