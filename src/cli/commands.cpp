// vornelle-cli commands; see commands.h.
#include "commands.h"

#include "base/folders.h"
#include "config/configmachine.h"
#include "cutfile/generation.h"
#include "cutfile/toolfields.h"

namespace vornelle::cli {
namespace {

struct NoPointer : BusyPointer {
    void setBusy(bool) override {}
};

const char* kToolNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";

bool knownOptions(const Options& o, std::initializer_list<const char*> allowed, Output& out) {
    for (const auto& [k, v] : o) {
        bool ok = false;
        for (const char* a : allowed) ok = ok || k == a;
        if (!ok) {
            out.error = "option inconnue : " + k;
            return false;
        }
    }
    return true;
}

// The tool page's fields as it loads them from the data folder's configuration.
bool loadTool(ToolFields& f, Output& out) {
    auto folder = cheminTemp();
    if (!folder) {
        out.error = folder.error();
        return false;
    }
    if (!existeconfig(*folder)) {
        out.error = kToolNoConfig;
        return false;
    }
    ConfigRead read = lisconfig(*folder);
    if (!read.ok()) {
        out.error = read.error;
        return false;
    }
    f = toolFieldsFrom(read.config);
    return true;
}

}  // namespace

std::string jsonString(const std::string& s) {
    std::string o = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            o += '\\';
            o += static_cast<char>(c);
        } else if (c < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", c);
            o += b;
        } else {
            o += static_cast<char>(c);
        }
    }
    return o + "\"";
}

int generate(const std::vector<std::string>& args, const Options& o, Output& out) {
    if (args.size() != 2 || !o.count("--scale") || !o.count("--depth") || !o.count("--note")) return 2;
    if (!knownOptions(o, {"--scale", "--depth", "--note", "--feed-in", "--feed-out"}, out)) return 2;
    ToolFields f;
    if (!loadTool(f, out)) return 1;
    f.Text4 = o.at("--scale");
    f.Text12 = o.at("--depth");
    if (o.count("--feed-in")) f.Text10 = o.at("--feed-in");
    if (o.count("--feed-out")) f.Text11 = o.at("--feed-out");
    GenerationInput in = generationInput(f, args[0], args[1], o.at("--note"));
    auto work = dossierTravail();
    if (!work) {
        out.error = work.error();
        return 1;
    }
    NoPointer pointer;
    GenerationResult r = generate(in, *work, pointer);
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    out.json = "{\"def\":" + jsonString(r.defPath) + ",\"det\":" + jsonString(r.detPath) +
               ",\"ticks\":" + std::to_string(r.ticks) + "}";
    return 0;
}

}  // namespace vornelle::cli
