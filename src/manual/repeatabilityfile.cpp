// The position check's repeatability file; see repeatabilityfile.h.
#include "repeatabilityfile.h"

#include <string_view>

#include "base/files.h"
#include "homecheck.h"

namespace vornelle {

Status saveRepeatability(const std::string& folder, long steps) {
    return replaceFile(folder + kRepeatabilityFile, "\"" + std::to_string(steps) + "\"\r\n");
}

Outcome<std::optional<long>> readRepeatability(const std::string& folder) {
    const std::string path = folder + kRepeatabilityFile;
    if (!fileExists(path)) return std::optional<long>{};
    auto text = readFile(path);
    if (!text) return Failure{text.error()};
    std::string_view rest = *text;
    for (std::string_view end : {"\r\n", "\n"})
        if (rest.ends_with(end)) {
            rest.remove_suffix(end.size());
            break;
        }
    auto steps = rest.size() >= 2 && rest.front() == '"' && rest.back() == '"'
                     ? repeatabilitySteps(std::string(rest.substr(1, rest.size() - 2)))
                     : Outcome<long>(Failure{""});
    if (!steps)
        return Failure{"Le fichier de la répétabilité " + path +
                       " est abîmé : un nombre entier de pas entre guillemets attendu."};
    return std::optional<long>{*steps};
}

}  // namespace vornelle
