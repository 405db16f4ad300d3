// What the commands of vornelle-cli share; see clisupport.h.
#include "clisupport.h"

#include "base/folders.h"

namespace vornelle::cli {
namespace {

const char* kToolNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";

// The configuration as read from the data folder, or false with the message in `out`.
bool readConfig(ConfigRead& read, Output& out) {
    auto folder = cheminTemp();
    if (!folder) {
        out.error = folder.error();
        return false;
    }
    if (!existeconfig(*folder)) {
        out.error = kToolNoConfig;
        return false;
    }
    read = lisconfig(*folder);
    if (!read.ok()) {
        out.error = read.error;
        return false;
    }
    return true;
}

}  // namespace

bool loadConfig(configmachine& c, Output& out) {
    ConfigRead read;
    if (!readConfig(read, out)) return false;
    if (std::string m = configIncomplete(read.config); !m.empty()) {
        out.error = m;
        return false;
    }
    c = read.config;
    return true;
}

bool loadTool(ToolFields& f, Output& out) {
    ConfigRead read;
    if (!readConfig(read, out)) return false;
    f = toolFieldsFrom(read.config);
    return true;
}

std::string jsonLine(const nlohmann::ordered_json& j) {
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace vornelle::cli
