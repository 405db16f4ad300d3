// vornelle-cli: the engines without windows, for scripts and tests on real files. Messages
// are the program's French texts on standard error; exit 0 on success, 1 when the operation
// was refused or failed, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/folders.h"
#include "commands.h"

namespace {

const char* kUsage =
    "usage :\n"
    "  vornelle-cli generate DESSIN.fra NOM --scale TEXTE --depth TEXTE --note TEXTE [--feed-in TEXTE] "
    "[--feed-out TEXTE]\n"
    "  vornelle-cli play DECOUPE.def [--trace FICHIER]\n"
    "  vornelle-cli import-dxf DESSIN.dxf NOM\n"
    "  vornelle-cli import-dat PROFIL.dat NOM\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string command = args[0];
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "option %s sans valeur\n%s", args[i].c_str(), kUsage);
                return 2;
            }
            options[args[i]] = args[i + 1];
            ++i;
        } else {
            positional.push_back(args[i]);
        }
    }
    vornelle::cli::Output out;
    int code;
    if (command == "generate") {
        code = vornelle::cli::generate(positional, options, out);
    } else if (command == "import-dxf" || command == "import-dat") {
        code = vornelle::cli::importDrawing(command == "import-dxf", positional, options, out);
    } else if (command == "play") {
        code = vornelle::cli::play(positional, options, out);
    } else {
        std::fprintf(stderr, "commande inconnue : %s\n%s", command.c_str(), kUsage);
        return 2;
    }
    if (code == 2) std::fputs(kUsage, stderr);
    if (!out.error.empty()) std::fprintf(stderr, "%s\n", out.error.c_str());
    if (!out.json.empty()) std::printf("%s\n", out.json.c_str());
    return code;
}
