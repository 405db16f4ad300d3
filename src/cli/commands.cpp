// vornelle-cli commands; see commands.h.
#include "commands.h"

#include <charconv>
#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <tuple>

#include "base/files.h"
#include "base/folders.h"
#include "base/numbers.h"
#include "config/configmachine.h"
#include "cutfile/generation/generation.h"
#include "cutfile/toolfields.h"
#include "drawing/order/autoorder.h"
#include "drawing/order/cutorder.h"
#include "drawing/import/datimport.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"
#include "drawing/save.h"
#include "playoutputs.h"
#include "port/machine.h"
#include "port/backends/simulatedmachine.h"
#include "run/resumefile.h"
#include "run/runengine.h"

namespace vornelle::cli {
namespace {

struct NoPointer : BusyPointer {
    void setBusy(bool) override {}
};

const char* kToolNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";

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

// The .reprise of the cut file, checked against it.
Outcome<ResumePoint> resumePoint(const std::string& cut) {
    if (!hasResume(cut))
        return Failure{"Aucune découpe à reprendre : " + resumePathFor(cut) + " introuvable."};
    return readResume(cut);
}

std::string jsonLine(const nlohmann::ordered_json& j) {
    // Paths and entity names are bytes as given: an invalid UTF-8 sequence is replaced.
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

int generate(const GenerateArgs& a, Output& out) {
    ToolFields f;
    if (!loadTool(f, out)) return 1;
    f.Text4 = a.scale;
    f.Text12 = a.depth;
    if (a.feedIn) f.Text10 = *a.feedIn;
    if (a.feedOut) f.Text11 = *a.feedOut;
    GenerationInput in = generationInput(f, a.drawing, a.name, a.note);
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
    out.json = jsonLine({{"def", r.defPath}, {"det", r.detPath}, {"ticks", r.ticks}});
    return 0;
}

int play(const PlayArgs& a, Output& out) {
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
    f.Text9 = a.cut;
    f.Text10 = t.Text10;
    f.Text11 = t.Text11;
    f.Text2 = t.Text2;
    f.Text5 = t.Text5;
    f.Text8 = t.Text8;
    f.weights = t.weights;

    PortSelector ports(false);
    SimulatedMachine& machine = ports.simulated();
    machine.setRecording(false);
    Wiring w;
    for (int axis = 0; axis < 3; ++axis) {
        // Unusable weights are refused by the run itself, before any write.
        auto d = signalWeight(t.weights[2 * axis], ""), c = signalWeight(t.weights[2 * axis + 1], "");
        w.dir[axis] = d ? *d : 0;
        w.clk[axis] = c ? *c : 0;
    }
    w.inv[0] = read.config.invX == 1;
    w.inv[1] = read.config.invY == 1;
    w.inv[2] = read.config.invZ == 1;
    machine.setWiring(w);
    std::ofstream trace;
    std::string traceBuffer;
    if (a.trace) {
        trace.open(*a.trace, std::ios::binary | std::ios::trunc);
        if (!trace) {
            out.error = "Impossible d'écrire le fichier " + *a.trace;
            return 1;
        }
    }
    std::ofstream timing;
    if (a.timing) {
        timing.open(*a.timing, std::ios::binary | std::ios::trunc);
        if (!timing) {
            out.error = "Impossible d'écrire le fichier " + *a.timing;
            return 1;
        }
    }
    // Times are kept in memory during the run: writing them out as they come would delay
    // the very steps they measure.
    WriteTimes times;
    machine.setObserver([&](uint8_t v) {
        if (a.timing) times.add(SimulatedMachine::Clock::now(), v);
        if (a.trace) {
            traceBuffer += std::to_string(v);
            traceBuffer += '\n';
            if (traceBuffer.size() > (1 << 20)) {
                trace << traceBuffer;
                traceBuffer.clear();
            }
        }
    });
    RunState state;
    CliHost host(f, state);
    NoPointer pointer;
    const RunVariant variant = t.invZ ? RunVariant::Command12 : RunVariant::Command11;
    const int16_t address = static_cast<int16_t>(*t.port);
    std::optional<ResumePoint> point;
    if (a.resume) {
        auto p = resumePoint(a.cut);
        if (!p) {
            out.error = p.error();
            return 1;
        }
        point = *p;
        // The machine has stayed where the stop left it: positions count from the cut's start.
        machine.setPosition(p->position[0], p->position[1], p->position[2]);
    }
    RunOutcome r;
    PlayResult played;
    std::optional<RunPlan> plan;
    CountedPause pacer;
    Pacer& pace = a.paced ? static_cast<Pacer&>(pacer) : static_cast<Pacer&>(host);
    RunServices screen{machine, address, state, host, host, host, pace, pointer};
    plan = point ? prepareResume(screen, variant, *point) : prepareRun(screen, variant);
    if (plan) {
        if (a.stopAfter) plan->stopAfter = *a.stopAfter;
        const uint64_t last = a.stopAfter ? std::min(*a.stopAfter, plan->total) : plan->total;
        const uint64_t records = last > plan->start ? last - plan->start : 0;
        if (std::string m = playOutputsShortage(records, a.trace, a.timing); !m.empty()) {
            // Refused before the first write: the files opened for it are left empty, removed.
            for (const auto* f : {&a.trace, &a.timing})
                if (*f) removeFile(**f);
            out.error = m;
            return 1;
        }
        if (a.timing) times.reserve(records * kWritesPerRecord + kExtraWrites);
        beginRun(screen);
        if (!a.paced) {
            played = playRun(screen, *plan);
            r = finishRun(screen, *plan, played);
        } else {
            // The page's way: checks here, the record loop on the machine's thread, paced.
            Machine motion(ports);
            motion.start(
                static_cast<uint16_t>(*t.port), w,
                [&](JobContext& job) {
                    RunServices s{job.port, address, state, host, host, job.yield, pacer, pointer};
                    played = playRun(s, *plan, &job.portFault);
                },
                [&](const std::string&) { r = finishRun(screen, *plan, played); });
            motion.wait();
        }
    }
    std::string resumeProblem;
    if (plan && r.started) {
        Status k = keepResumePoint(state, *plan, played, r, host.scrollPosition(),
                                   {machine.position(0), machine.position(1), machine.position(2)});
        resumeProblem = k.message;
    }
    if (timing.is_open() && !times.writeTo(timing)) {
        out.error = "Erreur d'écriture du fichier " + *a.timing;
        return 1;
    }
    if (trace.is_open()) {
        trace << traceBuffer;
        trace.close();
        if (!trace) {
            out.error = "Erreur d'écriture du fichier " + *a.trace;
            return 1;
        }
    }
    // A stop asked for on the command line is this command's success.
    bool asked = r.stopped && a.stopAfter && played.failure.empty();
    if (!r.started || (r.stopped && !asked)) {
        out.error = host.lastMessage;
        if (!resumeProblem.empty()) out.error += "\n" + resumeProblem;
        return 1;
    }
    if (!resumeProblem.empty()) {
        out.error = resumeProblem;
        return 1;
    }
    auto xyz = [](auto get) { return nlohmann::ordered_json{{"x", get(0)}, {"y", get(1)}, {"z", get(2)}}; };
    // Records and position from the start of the cut, also after a resume.
    nlohmann::ordered_json j = {{"records", plan->start + r.records},
                                {"writes", machine.writeCount()},
                                {"steps", xyz([&](int axis) { return machine.steps(axis); })},
                                {"position", xyz([&](int axis) { return machine.position(axis); })}};
    if (r.stopped) j["reprise"] = resumePathFor(a.cut);
    out.json = jsonLine(j);
    return 0;
}

std::optional<Entry> parseEntry(const std::string& text) {
    size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos) return std::nullopt;
    Entry e;
    auto [end, ec] = std::from_chars(text.data(), text.data() + eq, e.index);
    if (ec != std::errc() || end != text.data() + eq) return std::nullopt;
    e.number = text.substr(eq + 1);
    return e;
}

namespace {

// The entry points as the drawing page sets them, then "Réorganisation coupes".
int applyEntries(Drawing& d, const std::vector<Entry>& entries, Output& out) {
    for (const Entry& e : entries) {
        if (e.index >= d.size()) {
            out.error = "--entry " + std::to_string(e.index) + "=" + e.number + " : le dessin a " +
                        std::to_string(d.size()) + " enregistrements, numérotés de 0 à " +
                        std::to_string(d.size() - 1);
            if (d.size() == 0) out.error = "--entry : le dessin n'a aucun enregistrement";
            return 2;
        }
        if (CutOrderResult c = canEnter(d, e.index); !c) {
            out.error = c.message.text;
            return 1;
        }
        if (Validation v = validate(d, e.index, e.number); !v) {
            out.error = v.message.text;
            return 1;
        }
    }
    if (entries.empty()) return 0;
    if (CutOrderResult r = reorganise(d); !r) {
        out.error = r.message.text;
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<double> pointOrComma(const std::string& text) {
    std::string t = text;
    for (char& c : t)
        if (c == '.') c = ',';
    return decimalValue(t);
}

namespace {

// The complete import with the options as typed; exit status 2 for an option that is not a
// number.
int importComplete(const ImportArgs& a, Drawing& d, ImportResult& r, nlohmann::ordered_json& extra,
                   Output& out) {
    CompleteOptions o;
    for (auto [text, value, name] :
         {std::tuple{&a.tolerance, &o.tolerance, "--tolerance"}, std::tuple{&a.join, &o.join, "--join"}}) {
        if (!*text) continue;
        auto v = pointOrComma(**text);
        if (!v) {
            out.error = std::string(name) + " " + **text + " : un nombre est attendu (0,01 ou 0.01)";
            return 2;
        }
        *value = *v;
    }
    CompleteResult c = importDxfComplete(a.file, o, d);
    r.ok = c.ok;
    r.message = c.message;
    r.skipped = c.skipped;
    extra = {{"closed", c.closed}, {"open", c.open}, {"units", c.units}};
    return 0;
}

}  // namespace

int importDrawing(const ImportArgs& a, Output& out) {
    if (a.autoOrder && !a.entries.empty()) {
        out.error =
            "--auto-order et --entry ne vont pas ensemble : l'ordre automatique choisit tous les points "
            "d'entrée";
        return 2;
    }
    Drawing d;
    ImportResult r;
    nlohmann::ordered_json extra = nlohmann::ordered_json::object();
    if (a.dxf && a.extended) {
        if (int code = importComplete(a, d, r, extra, out); code != 0) return code;
    } else if (a.dxf) {
        auto work = dossierTravail();
        if (!work) {
            out.error = work.error();
            return 1;
        }
        r = importDxf(a.file, *work, d);
    } else {
        r = importDat(a.file, d);
    }
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    if (int code = applyEntries(d, a.entries, out); code != 0) return code;
    AutoOrderResult order;
    if (a.autoOrder) order = autoOrder(d);
    DrawingShared shared;
    SaveResult s = saveDrawing(d, a.name, shared);
    if (!s.ok) {
        out.error = s.message.text;
        return 1;
    }
    nlohmann::ordered_json skipped = nlohmann::ordered_json::object();
    for (const auto& [type, n] : r.skipped) skipped[type] = n;
    long cuts = 0;  // Text3 is the decimal text of the cut count
    std::from_chars(d.Text3.data(), d.Text3.data() + d.Text3.size(), cuts);
    nlohmann::ordered_json j = {{"fra", s.path}, {"cuts", cuts}, {"records", d.size()}, {"skipped", skipped}};
    for (const auto& [key, value] : extra.items()) j[key] = value;
    if (a.autoOrder) {
        j["travel_before"] = order.travelBefore;
        j["travel_after"] = order.travelAfter;
    }
    out.json = jsonLine(j);
    return 0;
}

}  // namespace vornelle::cli
