// The home check; see homecheck.h.
#include "homecheck.h"

#include <cmath>
#include <cstdlib>

#include "base/numbers.h"

namespace vornelle {
namespace {

// A switch that stays closed this many steps away from it is not a switch that works.
constexpr long kMaxReleaseSteps = 100000;
const char* const kAxes[3] = {"X", "Y", "Z"};

// The port of a homing: every switch read passes, and the first closure of each zero switch
// notes the count at that moment.
class SwitchWatch : public PortLibrary {
  public:
    SwitchWatch(PortLibrary& inner, const std::function<std::array<long, 3>()>& counted)
        : inner_(inner), counted_(counted) {}
    void Write_Port_Bit(int16_t port, int16_t value) override { inner_.Write_Port_Bit(port, value); }
    int16_t Read_Busy(int16_t port) override { return mark(0, inner_.Read_Busy(port)); }
    int16_t Read_Pe(int16_t port) override { return mark(1, inner_.Read_Pe(port)); }
    int16_t Read_Select(int16_t port) override { return inner_.Read_Select(port); }
    int16_t Read_Error(int16_t port) override { return mark(2, inner_.Read_Error(port)); }
    std::string description() const override { return inner_.description(); }
    std::optional<long> marks[3];
    bool armed = false;  // only the homing itself marks, not the moves off the switches

  private:
    int16_t mark(int axis, int16_t read) {
        if (armed && read == 0 && !marks[axis]) marks[axis] = counted_()[axis];
        return read;
    }
    PortLibrary& inner_;
    const std::function<std::array<long, 3>()>& counted_;
};

// X or Y moved off its closed switch, step by step, until it opens.
Status release(MoveContext& m, const HomingSetup& h, int axis) {
    const StepBytes away = stepBytes(h.dir[axis], h.clk[axis], h.inv[axis]);
    std::string error;
    for (long k = 0;; ++k) {
        m.yield.yield();
        int16_t closed = axis == 0 ? m.port.Read_Busy(m.address) : m.port.Read_Pe(m.address);
        if (closed == 1) return Status::success();
        if (m.stopRequested()) return Status::failure("Contrôle de position interrompu.");
        if (k == kMaxReleaseSteps)
            return Status::failure(std::string("Le contact de l'axe ") + kAxes[axis] + " reste fermé après " +
                                   std::to_string(kMaxReleaseSteps) + " pas : vérifiez-le.");
        if (!oneStep(m, away, error)) return Status::failure(error);
    }
}

// "0,31 mm": two decimals, a comma.
std::string mmText(double mm) {
    const long hundredths = std::lround(std::fabs(mm) * 100);
    std::string frac = std::to_string(hundredths % 100);
    return std::string(mm < 0 && hundredths > 0 ? "-" : "") + std::to_string(hundredths / 100) + "," +
           (frac.size() < 2 ? "0" : "") + frac + " mm";
}

}  // namespace

Outcome<SwitchMarks> markedHoming(MoveContext& m, const HomingSetup& h,
                                  const std::function<std::array<long, 3>()>& counted) {
    if (auto c = coefficient(m.coefficient()); !c) return Failure{c.error()};
    SwitchWatch watch(m.port, counted);
    MoveContext w{watch, m.address, m.yield, m.pacer, m.speed, m.coefficient, m.stopRequested};
    for (int axis = 0; axis < 2; ++axis)
        if (Status s = release(w, h, axis); !s.ok()) return Failure{s.message};
    watch.armed = true;
    if (Status s = home(w, h); !s.ok()) return Failure{s.message};
    SwitchMarks marks;
    for (int axis = 0; axis < 3; ++axis) {
        if (!watch.marks[axis]) return Failure{"Contrôle de position interrompu."};
        marks[axis] = *watch.marks[axis];
    }
    return marks;
}

HomeCheck compareHomings(const SwitchMarks& before, const SwitchMarks& after, long repeatability,
                         const std::array<double, 3>& stepsPerMm) {
    HomeCheck c;
    std::string lost;
    for (int axis = 0; axis < 3; ++axis) {
        c.drift[axis] = after[axis] - before[axis];
        const double spmm = stepsPerMm[axis];
        c.mm[axis] = spmm > 0 ? static_cast<double>(c.drift[axis]) / spmm : 0;
        if (!c.details.empty()) c.details += ", ";
        c.details += std::string(kAxes[axis]) + " : " + std::to_string(c.drift[axis]) + " pas";
        if (spmm > 0) c.details += " (" + mmText(c.mm[axis]) + ")";
        const long steps = std::labs(c.drift[axis]);
        if (steps <= repeatability) continue;
        if (!lost.empty()) lost += ", ";
        lost += std::string(kAxes[axis]) + " a perdu " + std::to_string(steps) + " pas";
        if (spmm > 0) lost += " (" + mmText(std::fabs(c.mm[axis])) + ")";
    }
    c.lost = !lost.empty();
    c.verdict = c.lost ? lost + " : réduisez la vitesse ou l'accélération" : "Aucun pas perdu";
    return c;
}

Outcome<long> repeatabilitySteps(const std::string& text) {
    auto v = decimalValue(text);
    if (!v || *v < 0 || *v != std::floor(*v) || *v > 1e9)
        return Failure{"Répétabilité \"" + text + "\" invalide : saisir un nombre entier de pas, 0 ou plus."};
    return static_cast<long>(*v);
}

}  // namespace vornelle
