// The cutting run; see runengine.h. The loop reads the flags after the second delay of each
// record, in the order pause, deeper, shallower, stop. The fields are converted once per
// change (not once per record), so the loop itself only writes, paces and tests flags.
#include "runengine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "base/files.h"
#include "base/message.h"
#include "base/numbers.h"
#include "port/portfault.h"
#include "recordreader.h"
#include "runfields.h"
#include "runpacing.h"
#include "resumefile.h"

namespace vornelle {
namespace {

constexpr uint64_t kProgressEvery = 64;  // the panel itself redraws at most 4 times a second

class Run {
  public:
    Run(RunServices& s, RunVariant v) : s_(s), v_(v) { refresh(true); }

    // The fields as they are now; converted again only when one has changed.
    const FieldValues& values() {
        refresh(false);
        return values_;
    }

    // The delay: V the scroll-bar position, c the coefficient, each read once per delay;
    // `factor` the pacing file's lengthening of this record's pauses.
    bool delay(double factor = 1) {
        const FieldValues& f = values();
        if (!f.problem.empty()) {
            error_ = f.problem;
            return false;
        }
        if (factor == 1) return s_.pacer.attentePas(s_.host.scrollPosition(), f.c, error_);
        return s_.pacer.attenteRythmee(s_.host.scrollPosition(), f.c, factor, error_);
    }

    // n steps of Z up or down (a counter from 1 while it is at most n); the number made.
    // `made`, when given, counts the steps written (up +1, down -1). "Arret d'urgence" ends
    // the move before its next step, the tool left where it is; the caller sees `arret`.
    bool zMove(double n, bool up, long* made = nullptr) {
        if (std::string p = stepCountProblem(n); !p.empty()) {
            error_ = p;
            return false;
        }
        for (double k = 1; k <= n; k += 1) {
            if (s_.state.arret == 1) break;
            const FieldValues& f = values();
            int dir = up ? f.upDir : f.downDir;
            int step = up ? f.upStep : f.downStep;
            s_.port.Write_Port_Bit(s_.address, static_cast<int16_t>(dir));
            s_.yield.yield();
            if (!delay()) return false;
            s_.port.Write_Port_Bit(s_.address, static_cast<int16_t>(step));
            if (made) *made += up ? 1 : -1;
            s_.yield.yield();
            if (!delay()) return false;
        }
        return true;
    }

    RunServices& s_;
    RunVariant v_;
    std::string error_;

  private:
    // A field typed during the run passes through values that mean nothing (a coefficient
    // of "0" on the way to "0,02"): the last usable values stay in force until the fields
    // are usable again. Only fields unusable from the start end the run.
    void refresh(bool force) {
        uint64_t version = s_.host.fieldsVersion();
        if (!force && version == version_) return;
        version_ = version;
        FieldValues now = convert(s_.host.fields(), v_);
        if (force || now.problem.empty()) values_ = std::move(now);
    }
    uint64_t version_ = 0;
    FieldValues values_;
};

std::optional<double> feed(const std::string& text) {
    auto v = decimalValue(text);
    if (!v || *v < 0 || *v > 100) return std::nullopt;
    return v;
}

std::string feedMessage(const char* which, const std::string& text) {
    return std::string("Vitesse ") + which + " \"" + text + "\" invalide : saisir un nombre de 0 à 100.";
}


// One record after its two writes: the panel's requests in their order. False when the
// run must end (a failure, or the emergency stop).
bool requests(RunServices& s, Run& run, PlayResult& out) {
    RunState& st = s.state;
    auto setBusy = [&](bool b) {
        if (b != out.busy) s.pointer.setBusy(b);
        out.busy = b;
    };
    if (st.pause == 1) {
        // The tool comes back down by exactly the steps it went up, whatever is typed in
        // the clearance or the steps per millimetre during the wait.
        const FieldValues& pf = run.values();
        double lift = pf.text5 * pf.text8;
        // Counted in the result itself, so a port that fails mid-move leaves the count right.
        if (!run.zMove(lift, true, &out.lifted)) return out.failure = run.error_, false;
        setBusy(false);
        // "Arret d'urgence" ends a paused run at once, the spinning tool left up, out of the
        // work: the resume point keeps the lift so that a resume lowers it first.
        while (st.reprise != 1 && st.arret != 1) s.yield.idle();
        if (st.arret != 1 && !run.zMove(out.lifted, false, &out.lifted)) return out.failure = run.error_, false;
        if (st.arret == 1) {
            st.pause = 0;
            st.reprise = 0;
            return false;
        }
        setBusy(true);
        st.pause = 0;
        st.reprise = 0;
    }
    s.yield.yield();
    if (st.profplus == 1) {
        if (!run.zMove(run.values().text5, false)) return out.failure = run.error_, false;
        st.profplus = 0;
    }
    s.yield.yield();
    if (st.profmoins == 1) {
        if (!run.zMove(run.values().text5, true)) return out.failure = run.error_, false;
        st.profmoins = 0;
    }
    return st.arret != 1;
}

std::string changedSinceCheck(const RunPlan& plan, const std::string& what) {
    return "Le fichier découpe " + plan.name + " a changé depuis sa vérification (" +
           std::to_string(plan.total) + " enregistrements vérifiés" + what + ").";
}

// The size and modification time of a file, {-1, -1} when it cannot be read.
std::pair<int64_t, int64_t> stamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {-1, -1};
    return {st.st_size, st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec};
}


void loop(RunServices& s, const RunPlan& plan, RecordReader& file, Run& run, PlayResult& out) {
    RunState& st = s.state;
    uint8_t r = 0;
    PacingCursor pacing(plan.pacing.get());
    pacing.skip(plan.start);
    // Whether the pacing column has set the travel feed: at a resume, as the record before it
    // left it (the scroll bar cannot tell when both feeds are the same).
    bool paceOut = pacing.afterTravel();
    for (;;) {
        if (plan.start + out.records >= plan.stopAfter) {
            st.arret = 1;
            break;
        }
        RecordReader::Result res = file.next(r);
        if (res == RecordReader::Result::End) {
            if (plan.start + out.records != plan.total)
                out.failure = changedSinceCheck(plan, ", " + std::to_string(plan.start + out.records) + " lus");
            break;
        }
        if (res == RecordReader::Result::Bad) {
            out.failure = file.error();
            break;
        }
        // Past the count checked: the file grew while it was played or after its check.
        if (out.records == plan.total) {
            out.failure = changedSinceCheck(plan, ", un de plus lu");
            break;
        }
        const FieldValues& f = run.values();
        if (!f.problem.empty()) {
            out.failure = f.problem;
            break;
        }
        s.port.Write_Port_Bit(s.address, static_cast<int16_t>(f.dirSum & r));
        bool pausePoint = false;
        const PacingRun* paced = pacing.next(pausePoint);
        followMaterial(s, f, r, paced, paceOut);
        const double factor = paced ? paced->factor : 1;
        if (!run.delay(factor)) {
            out.failure = run.error_;
            break;
        }
        s.port.Write_Port_Bit(s.address, r);
        s.yield.yield();
        if (!run.delay(factor)) {
            out.failure = run.error_;
            break;
        }
        s.yield.yield();
        ++out.records;
        st.countRecord();
        if (out.records % kProgressEvery == 0) s.host.progress(plan.start + out.records, plan.total);
        if (pausePoint) st.pause = 1;  // the program's own pause (M0 / M1), as on "Pause"
        if (!requests(s, run, out)) break;
    }
}

}  // namespace


namespace {

// Steps 4 and 5 and the checks made before anything moves; the plan gets its file and size.
bool checkCut(RunServices& s, RunPlan& plan) {
    RunVariant variant = plan.variant;
    // 4, 5. The cut file.
    plan.name = s.host.fields().Text9;
    if (plan.name.empty()) {
        s.dialogs.message("Saisie nom du fichier de découpe ?", style::kStopOk, "Nom fichier ?");
        return false;
    }
    if (!fileExists(plan.name)) {
        s.dialogs.message("Fichier introuvable !", style::kStopOk, "Nom fichier ?");
        return false;
    }
    // Checked as a whole before anything moves.
    if (std::string p = convert(s.host.fields(), variant).problem; !p.empty()) {
        s.dialogs.message(p, style::kStopOk, "Découpe");
        return false;
    }
    if (std::string p = clearanceProblem(s.host.fields()); !p.empty()) {
        s.dialogs.message(p, style::kStopOk, "Découpe");
        return false;
    }
    s.pointer.setBusy(true);
    std::tie(plan.bytes, plan.modified) = stamp(plan.name);
    auto total = checkCutFile(plan.name);
    s.pointer.setBusy(false);
    if (!total) {
        s.dialogs.message(total.error(), style::kStopOk, "Découpe");
        return false;
    }
    plan.total = *total;
    // The pacing file planned for this very cut file, or none: another one would pace the
    // wrong records.
    if (std::string pacing = pacingPathFor(plan.name); fileExists(pacing)) {
        auto p = readPacing(pacing);
        std::string problem = p ? pacingMismatch(*p, plan.name) : p.error();
        if (!problem.empty()) {
            s.dialogs.message(problem + "\nLa découpe n'a pas commencé.", style::kStopOk, "Découpe");
            return false;
        }
        plan.pacing = std::make_shared<const Pacing>(std::move(*p));
    }
    return true;
}

}  // namespace

std::optional<RunPlan> prepareRun(RunServices& s, RunVariant variant, const std::string& frame) {
    RunState& st = s.state;
    const RunFields& f0 = s.host.fields();
    // 1. The flags (arret untouched).
    st.pause = 0, st.reprise = 0, st.profplus = 0, st.profmoins = 0;
    // 2. Feeds from the page, refused when they are no pace the scroll bar can take.
    auto fout = feed(f0.Text11);
    auto fin = feed(f0.Text10);
    if (!fin) {
        s.dialogs.message(feedMessage("dans la matière (Petite vitesse)", f0.Text10), style::kStopOk,
                          "Découpe");
        return std::nullopt;
    }
    if (!fout) {
        s.dialogs.message(feedMessage("hors matière (Grande vitesse)", f0.Text11), style::kStopOk, "Découpe");
        return std::nullopt;
    }
    st.vithors = *fout;
    st.vitdans = *fin;
    // 3. Pace of the in-material feed; this positioning writes back into vitdans only.
    {
        int keep = st.horsmatiere;
        st.horsmatiere = 0;
        s.host.setScrollPosition(toPosition(100 - st.vitdans));
        st.horsmatiere = keep;
    }
    RunPlan plan;
    plan.variant = variant;
    plan.frame = frame;
    if (!checkCut(s, plan)) return std::nullopt;
    // 6. Confirmation.
    if (s.dialogs.message("Prêt pour la découpe ?", style::kStopYesNo, "Découpe") != Button::Yes)
        return std::nullopt;
    return plan;
}

std::optional<RunPlan> prepareResume(RunServices& s, RunVariant variant, const ResumePoint& point,
                                     const std::string& frame) {
    RunState& st = s.state;
    st.pause = 0, st.reprise = 0, st.profplus = 0, st.profmoins = 0;
    // The pace as it was at the stop, then the feeds as they were: positioning the scroll
    // bar writes into one of them.
    s.host.setScrollPosition(point.pace);
    st.vitdans = point.vitdans;
    st.vithors = point.vithors;
    RunPlan plan;
    plan.variant = variant;
    plan.frame = frame;
    if (!checkCut(s, plan)) return std::nullopt;
    // Steps counted under another wiring, inversion or scale name another place.
    if (std::string changed = frameChange(point.frame, frame); !changed.empty()) {
        s.dialogs.message(changed, style::kStopOk, "Découpe");
        return std::nullopt;
    }
    if (plan.total != point.total) {
        s.dialogs.message(
            "Le fichier découpe a changé depuis l'interruption : la découpe ne peut pas être reprise.",
            style::kStopOk, "Découpe");
        return std::nullopt;
    }
    plan.start = point.played;
    plan.resumed = true;
    plan.horsmatiere = point.horsmatiere;
    std::string question = "Reprendre la découpe à l'enregistrement " + std::to_string(point.played) +
                           " sur " + std::to_string(point.total) + " ?";
    if (s.dialogs.message(question, style::kQuestionYesNo, "Découpe") != Button::Yes) return std::nullopt;
    if (point.lifted > 0) {
        const double perMm = leadingNumberOr0(s.host.fields().Text5);
        std::string mm = perMm > 0 ? " (" + numberText(std::round(point.lifted / perMm * 100) / 100, ',') + " mm)" : "";
        std::string lower = "L'outil est resté relevé de " + std::to_string(point.lifted) + " pas" + mm +
                            " à l'arrêt. Le redescendre d'autant avant de reprendre la découpe ?";
        if (s.dialogs.message(lower, style::kQuestionYesNo, "Découpe") != Button::Yes) return std::nullopt;
        plan.lower = point.lifted;
    }
    return plan;
}

void beginRun(RunServices& s) {
    // 7, 8.
    s.pointer.setBusy(true);
    s.state.playing = true;
    s.host.showRun();
    s.state.horsmatiere = 1;
}

PlayResult playRun(RunServices& s, const RunPlan& plan, std::string* portFault) {
    PlayResult out;
    RecordReader file;
    Run run(s, plan.variant);
    if (Status o = file.open(plan.name); !o) {
        out.failure = o.message;
        return out;
    }
    if (stamp(plan.name) != std::pair{plan.bytes, plan.modified}) {
        out.failure = changedSinceCheck(plan, "");
        return out;
    }
    if (plan.resumed) {
        s.state.horsmatiere = plan.horsmatiere;
        uint8_t r = 0;
        for (uint64_t i = 0; i < plan.start; ++i) {
            if (file.next(r) != RecordReader::Result::Record) {
                out.failure = file.error().empty()
                                  ? "Le fichier découpe a moins d'enregistrements que la reprise."
                                  : file.error();
                return out;
            }
        }
    }
    // From the first write on, an older resume point no longer says where the machine is.
    if (Status m = markRunInProgress(plan.name); !m) {
        out.failure = "Le point de reprise ne peut pas être mis à jour : " + m.message +
                      " La machine n'a pas bougé.";
        return out;
    }
    // 9. Record loop.
    try {
        if (plan.lower > 0) {
            out.lifted = plan.lower;
            if (!run.zMove(static_cast<double>(plan.lower), false, &out.lifted)) out.failure = run.error_;
        }
        // Stopped on the way down: the rest of the lift stays in the resume point.
        if (out.failure.empty() && out.lifted == 0) loop(s, plan, file, run, out);
    } catch (const PortFault& f) {
        out.failure = f.message() + "\nEnregistrement " + std::to_string(plan.start + out.records + 1) +
                      " sur " + std::to_string(plan.total) + " : la machine s'est arrêtée là.";
        if (portFault) *portFault = f.message();
    }
    return out;
}

RunOutcome finishRun(RunServices& s, const RunPlan& plan, const PlayResult& played) {
    RunOutcome out;
    out.started = true;
    out.records = played.records;
    RunState& st = s.state;
    bool busy = played.busy;
    auto setBusy = [&](bool b) {
        if (b != busy) s.pointer.setBusy(b);
        busy = b;
    };
    s.host.progress(plan.start + played.records, plan.total);
    // 10. Emergency stop, or a failure that ends the run the same way.
    bool stopped = false;
    if (st.arret == 1 || !played.failure.empty()) {
        stopped = true;
        setBusy(false);
        if (played.failure.empty())
            s.dialogs.message("Découpe arretée !", style::kStopOk, "Découpe");
        else
            s.dialogs.message("Découpe arretée !\n" + played.failure, style::kStopOk, "Découpe");
        s.host.stopShown();
        st.arret = 0;
    }
    // 11, 12.
    setBusy(false);
    if (!stopped) s.dialogs.message("découpe terminée !", style::kStopOk, "Découpe");
    // 13, 14.
    s.host.setFeeds(numberText(st.vitdans, ','), numberText(st.vithors, ','));
    st.playing = false;
    s.host.endRun();
    out.stopped = stopped;
    return out;
}

Status keepResumePoint(const RunState& st, const RunPlan& plan, const PlayResult& played,
                       const RunOutcome& outcome, int pace, std::array<long, 3> position) {
    if (!outcome.stopped) return removeResume(plan.name);
    ResumePoint p;
    p.played = plan.start + played.records;
    p.total = plan.total;
    p.horsmatiere = st.horsmatiere == 0 ? 0 : 1;
    p.vitdans = st.vitdans;
    p.vithors = st.vithors;
    p.pace = pace;
    // A pause cut short by a stop or a failure left the tool raised: the cut goes on from
    // below, once a resume has lowered it.
    p.position = position;
    p.lifted = played.lifted;
    p.frame = plan.frame;
    if (Status w = writeResume(plan.name, p); !w)
        return Status::failure("La reprise de la découpe n'a pas pu être enregistrée : " + w.message);
    return Status::success();
}

RunOutcome runCut(RunServices& s, RunVariant variant) {
    auto plan = prepareRun(s, variant);
    if (!plan) return {};
    beginRun(s);
    PlayResult played = playRun(s, *plan);
    return finishRun(s, *plan, played);
}

}  // namespace vornelle
