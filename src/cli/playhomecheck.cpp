// The home check of `play`; see playhomecheck.h.
#include "playhomecheck.h"

#include <cctype>

#include "base/numbers.h"

namespace vornelle::cli {

PlayHomeCheck::PlayHomeCheck(const PlayArgs& a, const configmachine& c, SimulatedMachine& machine,
                             const Wiring& w)
    : args_(a), config_(c), machine_(machine) {
    counter_.attach(machine, w);
    for (int axis = 0; axis < 3; ++axis) {
        setup_.dir[axis] = w.dir[axis];
        setup_.clk[axis] = w.clk[axis];
        setup_.inv[axis] = w.inv[axis];
    }
    setup_.descenteZ = c.descenteZ;
    setup_.stepsPerMmZ = c.pasmmZ;
}

std::string PlayHomeCheck::refusal() {
    if (args_.resume) return "--home-check commence par une prise d'origine : il ne reprend pas une découpe.";
    if (args_.stopAfter) return "--home-check joue la découpe jusqu'au bout : sans --stop-after.";
    if (args_.paced && !args_.virtualClock)
        return "--home-check joue sans attendre les pauses : sans --paced, ou avec --virtual-clock.";
    if (!args_.repeatability) return "--home-check demande --repeatability R (en pas).";
    auto r = repeatabilitySteps(*args_.repeatability);
    if (!r) return r.error();
    repeatability_ = *r;
    if (args_.loseSteps) {
        const std::string& t = *args_.loseSteps;
        const std::string axes = "XYZ";
        const size_t at = t.size() >= 3 && t[1] == ':' ? axes.find(static_cast<char>(std::toupper(t[0])))
                                                       : std::string::npos;
        auto every = at == std::string::npos ? std::nullopt : decimalValue(t.substr(2));
        if (!every || *every < 1 || *every != static_cast<double>(static_cast<long>(*every)))
            return "--lose-steps \"" + t + "\" invalide : AXE:N, par exemple X:1000 (un pas sur N perdu).";
        loseAxis_ = static_cast<int>(at);
        loseEvery_ = static_cast<long>(*every);
    }
    return {};
}

Outcome<SwitchMarks> PlayHomeCheck::homing(int16_t address, Yield& yield, Pacer& pacer) {
    const std::string coefficient = config_.coefvitesse;
    MoveContext m{counter_, address, yield, pacer, [] { return 20.0; }, [&] { return coefficient; }};
    return markedHoming(m, setup_, [this] { return counter_.position(); });
}

std::string PlayHomeCheck::before(int16_t address, Yield& yield, Pacer& pacer) {
    auto marks = homing(address, yield, pacer);
    if (!marks) return marks.error();
    first_ = *marks;
    if (loseAxis_ >= 0) machine_.loseSteps(loseAxis_, loseEvery_);
    machine_.setLosing(true);
    return {};
}

std::string PlayHomeCheck::after(int16_t address, Yield& yield, Pacer& pacer) {
    machine_.setLosing(false);
    auto marks = homing(address, yield, pacer);
    if (!marks) return marks.error();
    auto spmm = [](const std::string& t) { return decimalValue(t).value_or(0); };
    result_ = compareHomings(first_, *marks, repeatability_,
                             {spmm(config_.pasmmX), spmm(config_.pasmmY), spmm(config_.pasmmZ)});
    return {};
}

nlohmann::ordered_json PlayHomeCheck::json() const {
    return {{"x", result_.drift[0]},
            {"y", result_.drift[1]},
            {"z", result_.drift[2]},
            {"verdict", result_.verdict}};
}

}  // namespace vornelle::cli
