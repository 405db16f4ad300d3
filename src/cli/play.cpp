// vornelle-cli play: a cut file played to the simulated machine as "Découper" plays it, every
// confirmation answered Yes; without delays on this thread, or paced on the machine's thread;
// stopped after a record and taken up again from its .reprise.
#include <array>
#include <memory>
#include <nlohmann/json.hpp>

#include "clisupport.h"
#include "commands.h"
#include "playhomecheck.h"
#include "playoutputs.h"
#include "port/backends/simulatedmachine.h"
#include "port/machine.h"
#include "run/resumefile.h"
#include "run/runengine.h"

namespace vornelle::cli {
namespace {

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

// The run's fields of the tool page for cut file `cut`.
RunFields runFields(const ToolFields& t, const std::string& cut) {
    RunFields f;
    f.Text9 = cut;
    f.Text10 = t.Text10;
    f.Text11 = t.Text11;
    f.Text2 = t.Text2;
    f.Text5 = t.Text5;
    f.Text8 = t.Text8;
    f.weights = t.weights;
    return f;
}

// The lines the configuration drives. Unusable weights are refused by the run itself, before
// any write.
Wiring wiring(const ToolFields& t, const configmachine& c) {
    Wiring w;
    for (int axis = 0; axis < 3; ++axis) {
        auto d = signalWeight(t.weights[2 * axis], ""), k = signalWeight(t.weights[2 * axis + 1], "");
        w.dir[axis] = d ? *d : 0;
        w.clk[axis] = k ? *k : 0;
    }
    w.inv[0] = c.invX == 1;
    w.inv[1] = c.invY == 1;
    w.inv[2] = c.invZ == 1;
    return w;
}

// The .reprise of the cut file, checked against it.
Outcome<ResumePoint> resumePoint(const std::string& cut) {
    if (!hasResume(cut))
        return Failure{"Aucune découpe à reprendre : " + resumePathFor(cut) + " introuvable."};
    return readResume(cut);
}

// One play of the command: the simulated machine, the run's services around it, and what the
// run gave back.
class Player {
  public:
    Player(const PlayArgs& a, const configmachine& c)
        : args_(a),
          tool_(toolFieldsFrom(c)),
          wiring_(wiring(tool_, c)),
          ports_(false),
          machine_(ports_.simulated()),
          host_(runFields(tool_, a.cut), state_),
          files_(a.trace, a.timing),
          check_(a.homeCheck ? std::make_unique<PlayHomeCheck>(a, c, machine_, wiring_) : nullptr),
          screen_{check_ ? check_->port() : machine_, address(), state_, host_, host_, host_, pace(), pointer_} {
        machine_.setRecording(false);
        machine_.setWiring(wiring_);
    }

    // Exit status and JSON line, as the command prints them.
    int run(Output& out) {
        if (check_)
            if (std::string m = check_->refusal(); !m.empty()) return out.error = m, 1;
        if (std::string m = files_.open(); !m.empty()) return out.error = m, 1;
        // The home check's homings are not the cut's: its writes are followed from its first.
        if (!check_) follow();
        std::optional<ResumePoint> point;
        if (args_.resume) {
            auto p = resumePoint(args_.cut);
            if (!p) return out.error = p.error(), 1;
            point = *p;
            // The machine has stayed where the stop left it: positions count from the cut's start.
            machine_.setPosition(p->position[0], p->position[1], p->position[2]);
        }
        const RunVariant variant = tool_.invZ ? RunVariant::Command12 : RunVariant::Command11;
        const std::string frame = machineFrame(wiring_.dir, wiring_.clk, wiring_.inv,
                                               {tool_.Text6, tool_.Text3, tool_.Text5}, tool_.invZ);
        plan_ = point ? prepareResume(screen_, variant, *point, frame) : prepareRun(screen_, variant, frame);
        if (plan_ && !playPlan(out)) return 1;
        std::string resumeProblem;
        if (plan_ && outcome_.started) resumeProblem = keepResume();
        if (std::string m = files_.close(); !m.empty()) return out.error = m, 1;
        return result(resumeProblem, out);
    }

  private:
    int16_t address() const { return static_cast<int16_t>(*tool_.port); }
    Pacer& pace() {
        if (args_.virtualClock) return clock_;
        return args_.paced ? static_cast<Pacer&>(pacer_) : static_cast<Pacer&>(host_);
    }

    // The records of the plan; false when the output files are refused before the first write.
    bool playPlan(Output& out) {
        if (args_.stopAfter) plan_->stopAfter = *args_.stopAfter;
        const uint64_t last = args_.stopAfter ? std::min(*args_.stopAfter, plan_->total) : plan_->total;
        const uint64_t records = last > plan_->start ? last - plan_->start : 0;
        if (std::string m = files_.prepare(records); !m.empty()) return out.error = m, false;
        if (check_) {
            // Homings wait for no pause and count on no clock.
            if (std::string m = check_->before(address(), host_, host_); !m.empty()) return out.error = m, false;
            machine_.clear();
            start_ = {machine_.position(0), machine_.position(1), machine_.position(2)};
            follow();
        }
        beginRun(screen_);
        // The virtual clock waits for nothing: the records play on this thread.
        if (!args_.paced || args_.virtualClock) {
            played_ = playRun(screen_, *plan_);
            outcome_ = finishRun(screen_, *plan_, played_);
            return homeAgain(out);
        }
        // The page's way: checks here, the record loop on the machine's thread, paced.
        Machine motion(ports_);
        motion.start(
            static_cast<uint16_t>(*tool_.port), wiring_,
            [&](JobContext& job) {
                RunServices s{job.port, address(), state_, host_, host_, job.yield, pacer_, pointer_};
                played_ = playRun(s, *plan_, &job.portFault);
            },
            [&](const std::string&) { outcome_ = finishRun(screen_, *plan_, played_); });
        motion.wait();
        figures_ = figures();
        return true;
    }

    void follow() { files_.follow(machine_, args_.virtualClock ? &clock_ : nullptr); }

    // What the cut did to the machine, before a homing moves it again.
    struct Figures {
        long writes = 0;
        std::array<long, 3> steps{}, position{};
    };
    Figures figures() const {
        Figures f{machine_.writeCount(), {}, {}};
        for (int axis = 0; axis < 3; ++axis) {
            f.steps[axis] = machine_.steps(axis);
            f.position[axis] = machine_.position(axis) - start_[axis];
        }
        return f;
    }

    // The cut's figures kept, then the home check's second homing.
    bool homeAgain(Output& out) {
        figures_ = figures();
        if (!check_) return true;
        machine_.setObserver({});
        if (std::string m = check_->after(address(), host_, host_); !m.empty()) return out.error = m, false;
        return true;
    }

    std::string keepResume() {
        return keepResumePoint(state_, *plan_, played_, outcome_, host_.scrollPosition(),
                               {machine_.position(0), machine_.position(1), machine_.position(2)})
            .message;
    }

    int result(const std::string& resumeProblem, Output& out) {
        // A stop asked for on the command line is this command's success.
        bool asked = outcome_.stopped && args_.stopAfter && played_.failure.empty();
        if (!outcome_.started || (outcome_.stopped && !asked)) {
            out.error = host_.lastMessage;
            if (!resumeProblem.empty()) out.error += "\n" + resumeProblem;
            return 1;
        }
        if (!resumeProblem.empty()) return out.error = resumeProblem, 1;
        auto xyz = [](auto get) {
            return nlohmann::ordered_json{{"x", get(0)}, {"y", get(1)}, {"z", get(2)}};
        };
        // Records and position from the start of the cut, also after a resume.
        nlohmann::ordered_json j = {{"records", plan_->start + outcome_.records},
                                    {"writes", figures_.writes},
                                    {"steps", xyz([&](int axis) { return figures_.steps[axis]; })},
                                    {"position", xyz([&](int axis) { return figures_.position[axis]; })}};
        if (outcome_.stopped) j["reprise"] = resumePathFor(args_.cut);
        // Nanoseconds from the first write to the end of the last record's second pause.
        if (args_.virtualClock) j["clock_ns"] = clock_.now();
        if (check_) j["home_check"] = check_->json();
        out.json = jsonLine(j);
        return 0;
    }

    const PlayArgs& args_;
    ToolFields tool_;
    Wiring wiring_;
    PortSelector ports_;
    SimulatedMachine& machine_;
    RunState state_;
    CliHost host_;
    NoPointer pointer_;
    CountedPause pacer_;
    VirtualClock clock_;
    PlayFiles files_;
    std::unique_ptr<PlayHomeCheck> check_;
    std::array<long, 3> start_{};
    Figures figures_;
    RunServices screen_;
    std::optional<RunPlan> plan_;
    PlayResult played_;
    RunOutcome outcome_;
};

}  // namespace

int play(const PlayArgs& a, Output& out) {
    configmachine config;
    if (!loadConfig(config, out)) return 1;
    Player player(a, config);
    return player.run(out);
}

}  // namespace vornelle::cli
