// The cutting run; see runengine.h. The loop reads the flags after the second delay of each
// record, in the order pause, deeper, shallower, stop.
#include "runengine.h"

#include <cmath>

#include "base/files.h"
#include "base/numbers.h"
#include "recordreader.h"

namespace vornelle {
namespace {

constexpr uint64_t kProgressEvery = 64;  // the panel itself redraws at most 4 times a second

struct ZValues {
    int downDir, downStep, upDir, upStep;
};

ZValues zValues(const RunFields& f, RunVariant v) {
    int dir = static_cast<int>(leadingNumberOr0(f.weights[4]));
    int clk = static_cast<int>(leadingNumberOr0(f.weights[5]));
    if (v == RunVariant::Command11) return {0, clk, dir, clk + dir};
    return {dir, clk + dir, 0, clk};
}

class Run {
  public:
    Run(RunServices& s, RunVariant v) : s_(s), v_(v) {}

    // The delay: V the scroll-bar position, c the coefficient, each read once per delay.
    bool delay() {
        auto c = decimalValue(s_.host.fields().Text2);
        if (!c || !(*c > 0)) {
            error_ = coefficientMessage(s_.host.fields().Text2);
            return false;
        }
        return s_.pacer.attentePas(s_.host.scrollPosition(), *c, error_);
    }

    bool zMove(double n, bool up) {
        ZValues z = zValues(s_.host.fields(), v_);
        int dir = up ? z.upDir : z.downDir;
        int step = up ? z.upStep : z.downStep;
        for (double k = 1; k <= n; k += 1) {
            s_.port.Write_Port_Bit(s_.address, static_cast<int16_t>(dir));
            s_.yield.yield();
            if (!delay()) return false;
            s_.port.Write_Port_Bit(s_.address, static_cast<int16_t>(step));
            s_.yield.yield();
            if (!delay()) return false;
        }
        return true;
    }

    RunServices& s_;
    RunVariant v_;
    std::string error_;
};

std::optional<double> feed(const std::string& text) {
    auto v = decimalValue(text);
    if (!v || *v < 0 || *v > 100) return std::nullopt;
    return v;
}

std::string feedMessage(const char* which, const std::string& text) {
    return std::string("Vitesse ") + which + " \"" + text + "\" invalide : saisir un nombre de 0 à 100.";
}

int toPosition(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

RunOutcome runCut(RunServices& s, RunVariant variant) {
    RunOutcome out;
    RunState& st = s.state;
    const RunFields& f0 = s.host.fields();
    // 1. Local stop indicator and the flags (arret untouched).
    bool stopped = false;
    st.pause = st.reprise = st.profplus = st.profmoins = 0;
    // 2. Feeds from the page, refused when they are no pace the scroll bar can take.
    auto fout = feed(f0.Text11);
    auto fin = feed(f0.Text10);
    if (!fin) {
        s.dialogs.message(feedMessage("dans la matière (Petite vitesse)", f0.Text10), style::kStopOk,
                          "Découpe");
        return out;
    }
    if (!fout) {
        s.dialogs.message(feedMessage("hors matière (Grande vitesse)", f0.Text11), style::kStopOk, "Découpe");
        return out;
    }
    st.vithors = *fout;
    st.vitdans = *fin;
    // 3. Pace of the in-material feed; this positioning writes back into vitdans only.
    {
        std::optional<int> keep = st.horsmatiere;
        st.horsmatiere = 0;
        s.host.setScrollPosition(toPosition(100 - st.vitdans));
        st.horsmatiere = keep;
    }
    // 4, 5. The cut file.
    const std::string name = s.host.fields().Text9;
    if (name.empty()) {
        s.dialogs.message("Saisie nom du fichier de découpe ?", style::kStopOk, "Nom fichier ?");
        return out;
    }
    if (!fileExists(name)) {
        s.dialogs.message("Fichier introuvable !", style::kStopOk, "Nom fichier ?");
        return out;
    }
    // Checked as a whole before anything moves.
    if (auto c = coefficient(s.host.fields().Text2); !c) {
        s.dialogs.message(c.error(), style::kStopOk, "Découpe");
        return out;
    }
    s.pointer.setBusy(true);
    auto total = checkCutFile(name);
    s.pointer.setBusy(false);
    if (!total) {
        s.dialogs.message(total.error(), style::kStopOk, "Découpe");
        return out;
    }
    // 6. Confirmation.
    if (s.dialogs.message("Prêt pour la découpe ?", style::kStopYesNo, "Découpe") != Button::Yes) return out;
    out.started = true;
    // 7, 8.
    s.pointer.setBusy(true);
    bool busy = true;
    auto setBusy = [&](bool b) {
        if (b != busy) s.pointer.setBusy(b);
        busy = b;
    };
    s.host.showRun();
    st.horsmatiere = 1;
    RecordReader file;
    Run run(s, variant);
    std::string failure;
    if (Status o = file.open(name); !o) failure = o.message;

    // 9. Record loop.
    uint8_t r = 0;
    while (failure.empty()) {
        RecordReader::Result res = file.next(r);
        if (res == RecordReader::Result::End) break;
        if (res == RecordReader::Result::Bad) {
            failure = file.error();
            break;
        }
        const RunFields& f = s.host.fields();
        int dirSum =
            static_cast<int>(std::nearbyint(leadingNumberOr0(f.weights[0]) + leadingNumberOr0(f.weights[2]) +
                                            leadingNumberOr0(f.weights[4]) + leadingNumberOr0(f.weights[6])));
        s.port.Write_Port_Bit(s.address, static_cast<int16_t>(dirSum & r));
        ZValues z = zValues(f, variant);
        int zMask = static_cast<int>(leadingNumberOr0(f.weights[5])) +
                    static_cast<int>(leadingNumberOr0(f.weights[4]));
        int m = r & zMask;
        if (st.horsmatiere.value_or(0) == 1 && m == z.downStep) {
            st.horsmatiere = 0;
            s.host.setScrollPosition(toPosition(100 - st.vitdans));
        }
        if (st.horsmatiere.value_or(0) == 0 && m == z.upStep) {
            st.horsmatiere = 1;
            s.host.setScrollPosition(toPosition(100 - st.vithors));
        }
        if (!run.delay()) {
            failure = run.error_;
            break;
        }
        s.port.Write_Port_Bit(s.address, r);
        s.yield.yield();
        if (!run.delay()) {
            failure = run.error_;
            break;
        }
        s.yield.yield();
        ++out.records;
        if (out.records % kProgressEvery == 0) s.host.progress(out.records, *total);

        if (st.pause == 1) {
            const RunFields& pf = s.host.fields();
            double lift = leadingNumberOr0(pf.Text5) * leadingNumberOr0(pf.Text8);
            if (!run.zMove(lift, true)) {
                failure = run.error_;
                break;
            }
            setBusy(false);
            while (st.reprise != 1) s.yield.yield();
            const RunFields& rf = s.host.fields();
            if (!run.zMove(leadingNumberOr0(rf.Text8) * leadingNumberOr0(rf.Text5), false)) {
                failure = run.error_;
                break;
            }
            setBusy(true);
            st.pause = 0;
            st.reprise = 0;
        }
        s.yield.yield();
        if (st.profplus == 1) {
            if (!run.zMove(leadingNumberOr0(s.host.fields().Text5), false)) {
                failure = run.error_;
                break;
            }
            st.profplus = 0;
        }
        s.yield.yield();
        if (st.profmoins == 1) {
            if (!run.zMove(leadingNumberOr0(s.host.fields().Text5), true)) {
                failure = run.error_;
                break;
            }
            st.profmoins = 0;
        }
        if (st.arret == 1) break;
    }
    s.host.progress(out.records, *total);

    // 10. Emergency stop, or a failure that ends the run the same way.
    if (st.arret == 1 || !failure.empty()) {
        stopped = true;
        setBusy(false);
        if (failure.empty())
            s.dialogs.message("Découpe arretée !", style::kStopOk, "Découpe");
        else
            s.dialogs.message("Découpe arretée !\n" + failure, style::kStopOk, "Découpe");
        s.host.stopShown();
        st.arret = 0;
    }
    // 11, 12.
    setBusy(false);
    if (!stopped) s.dialogs.message("découpe terminée !", style::kStopOk, "Découpe");
    // 13, 14.
    s.host.setFeeds(numberText(st.vitdans, ','), numberText(st.vithors, ','));
    s.host.endRun();
    out.stopped = stopped;
    return out;
}

}  // namespace vornelle
