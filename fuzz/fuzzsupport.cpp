// Fuzz target support; see fuzzsupport.h.
#include "fuzzsupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vornelle::fuzz {

const std::string& folder() {
    static const std::string path = [] {
        struct stat st;
        std::string base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/vornelle-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) broken("dossier temporaire");
        static std::string made = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return pattern + "/";
    }();
    return path;
}

std::string inputFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = folder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) broken("écriture de l'entrée", path);
    if (size > 0 && std::fwrite(data, 1, size, f) != size) broken("écriture de l'entrée", path);
    std::fclose(f);
    return path;
}

void broken(const char* property, const std::string& detail) {
    std::fprintf(stderr, "Propriété non tenue : %s %s\n", property, detail.c_str());
    std::abort();
}

}  // namespace vornelle::fuzz
