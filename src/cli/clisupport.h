// What the commands of vornelle-cli share: the configuration of the data folder read as the
// tool page reads it, the hourglass that has no screen, and the one JSON line of a command.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "base/interfaces.h"
#include "commands.h"
#include "config/configmachine.h"
#include "cutfile/toolfields.h"

namespace vornelle::cli {

struct NoPointer : BusyPointer {
    void setBusy(bool) override {}
};

// The configuration of the data folder, refused when missing, unreadable or incomplete (as the
// run and the decoder need it); false with the message in `out`.
bool loadConfig(configmachine& c, Output& out);

// The tool page's fields as it loads them from the data folder's configuration (the
// generation checks the fields itself); false with the message in `out`.
bool loadTool(ToolFields& f, Output& out);

// The JSON line of a command; paths and entity names are bytes as given: an invalid UTF-8
// sequence is replaced.
std::string jsonLine(const nlohmann::ordered_json& j);

}  // namespace vornelle::cli
