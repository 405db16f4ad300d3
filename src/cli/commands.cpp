// vornelle-cli commands; see commands.h.
#include "commands.h"

#include <fstream>

#include "base/folders.h"
#include "base/numbers.h"
#include "config/configmachine.h"
#include "cutfile/generation.h"
#include "cutfile/toolfields.h"
#include "drawing/datimport.h"
#include "drawing/dxfimport.h"
#include "drawing/save.h"
#include "port/simulatedmachine.h"
#include "run/runengine.h"

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

// The tool page around a run without windows: fields from the configuration, the panel's
// scroll bar as a number, every confirmation answered Yes, no delay.
class CliHost : public RunHost, public Dialogs, public Yield, public Pacer {
  public:
    CliHost(RunFields f, RunState& st) : fields_(std::move(f)), state_(st) {}
    const RunFields& fields() override { return fields_; }
    void setFeeds(const std::string&, const std::string&) override {}
    int scrollPosition() override { return position_; }
    void setScrollPosition(int p) override {
        position_ = p;
        state_.scrollChanged(p);
    }
    void showRun() override {}
    void stopShown() override {}
    void endRun() override {}
    void progress(uint64_t, uint64_t) override {}
    Button message(const std::string& text, int st, const std::string&) override {
        if ((st & 7) == 4) return Button::Yes;
        if (text != "découpe terminée !") lastMessage = text;
        return Button::Ok;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string& i) override {
        return i;
    }
    void yield() override {}
    bool attentePas(double, double, std::string&) override { return true; }
    std::string lastMessage;

  private:
    RunFields fields_;
    RunState& state_;
    int position_ = 0;
};

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

namespace vornelle::cli {

int play(const std::vector<std::string>& args, const Options& o, Output& out) {
    if (args.size() != 1) return 2;
    if (!knownOptions(o, {"--trace"}, out)) return 2;
    auto folder = cheminTemp();
    if (!folder) {
        out.error = folder.error();
        return 1;
    }
    if (!existeconfig(*folder)) {
        out.error = kToolNoConfig;
        return 1;
    }
    ConfigRead read = lisconfig(*folder);
    if (!read.ok()) {
        out.error = read.error;
        return 1;
    }
    if (std::string m = configIncomplete(read.config); !m.empty()) {
        out.error = m;
        return 1;
    }
    ToolFields t = toolFieldsFrom(read.config);
    RunFields f;
    f.Text9 = args[0];
    f.Text10 = t.Text10;
    f.Text11 = t.Text11;
    f.Text2 = t.Text2;
    f.Text5 = t.Text5;
    f.Text8 = t.Text8;
    f.weights = t.weights;

    SimulatedMachine machine;
    machine.setRecording(false);
    Wiring w;
    for (int a = 0; a < 3; ++a) {
        w.dir[a] = static_cast<int>(leadingNumberOr0(t.weights[2 * a]));
        w.clk[a] = static_cast<int>(leadingNumberOr0(t.weights[2 * a + 1]));
    }
    w.inv[0] = read.config.invX == 1;
    w.inv[1] = read.config.invY == 1;
    w.inv[2] = read.config.invZ == 1;
    machine.setWiring(w);
    std::ofstream trace;
    std::string traceBuffer;
    if (o.count("--trace")) {
        trace.open(o.at("--trace"), std::ios::binary | std::ios::trunc);
        if (!trace) {
            out.error = "Impossible d'écrire le fichier " + o.at("--trace");
            return 1;
        }
        machine.setObserver([&trace, &traceBuffer](uint8_t v) {
            traceBuffer += std::to_string(v);
            traceBuffer += '\n';
            if (traceBuffer.size() > (1 << 20)) {
                trace << traceBuffer;
                traceBuffer.clear();
            }
        });
    }
    RunState state;
    CliHost host(f, state);
    NoPointer pointer;
    RunServices services{machine, static_cast<int16_t>(*t.port), state, host, host, host, host, pointer};
    RunOutcome r = runCut(services, t.invZ ? RunVariant::Command12 : RunVariant::Command11);
    if (trace.is_open()) {
        trace << traceBuffer;
        trace.close();
        if (!trace) {
            out.error = "Erreur d'écriture du fichier " + o.at("--trace");
            return 1;
        }
    }
    if (!r.started || r.stopped) {
        out.error = host.lastMessage;
        return 1;
    }
    auto xyz = [&](auto get) {
        return "{\"x\":" + std::to_string(get(0)) + ",\"y\":" + std::to_string(get(1)) +
               ",\"z\":" + std::to_string(get(2)) + "}";
    };
    out.json = "{\"records\":" + std::to_string(r.records) +
               ",\"writes\":" + std::to_string(machine.writeCount()) +
               ",\"steps\":" + xyz([&](int a) { return machine.steps(a); }) +
               ",\"position\":" + xyz([&](int a) { return machine.position(a); }) + "}";
    return 0;
}

}  // namespace vornelle::cli

namespace vornelle::cli {

int importDrawing(bool dxf, const std::vector<std::string>& args, const Options& o, Output& out) {
    if (args.size() != 2) return 2;
    if (!knownOptions(o, {}, out)) return 2;
    Drawing d;
    ImportResult r;
    if (dxf) {
        auto work = dossierTravail();
        if (!work) {
            out.error = work.error();
            return 1;
        }
        r = importDxf(args[0], *work, d);
    } else {
        r = importDat(args[0], d);
    }
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    DrawingShared shared;
    SaveResult s = saveDrawing(d, args[1], shared);
    if (!s.ok) {
        out.error = s.message.text;
        return 1;
    }
    std::string skipped;
    for (const auto& [type, n] : r.skipped) {
        if (!skipped.empty()) skipped += ',';
        skipped += jsonString(type);
        skipped += ':';
        skipped += std::to_string(n);
    }
    out.json = "{\"fra\":" + jsonString(s.path) + ",\"cuts\":" + (d.Text3.empty() ? "0" : d.Text3) +
               ",\"records\":" + std::to_string(d.size()) + ",\"skipped\":{" + skipped + "}}";
    return 0;
}

}  // namespace vornelle::cli
