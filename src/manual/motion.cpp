// Jog and homing engines; see motion.h.
#include "motion.h"

#include "base/numbers.h"

namespace vornelle {
namespace {

bool pause(MoveContext& m, std::string& error) {
    // Checked at every pause: the text may be edited during the move.
    auto c = coefficient(m.coefficient());
    if (!c) {
        error = c.error();
        return false;
    }
    return m.pacer.attentePas(m.speed(), *c, error);
}

bool hasNumber(const std::string& t) {
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i < t.size() && t[i] == '.') ++i;
    return i < t.size() && t[i] >= '0' && t[i] <= '9';
}

}  // namespace

bool oneStep(MoveContext& m, StepBytes b, std::string& error) {
    m.port.Write_Port_Bit(m.address, b.octetBas);
    m.yield.yield();
    if (!pause(m, error)) return false;
    m.port.Write_Port_Bit(m.address, b.octetHaut);
    m.yield.yield();
    return pause(m, error);
}

Status emitSteps(MoveContext& m, StepBytes b, double n) {
    if (auto c = coefficient(m.coefficient()); !c) return Status::failure(c.error());
    if (std::string p = stepCountProblem(n); !p.empty()) return Status::failure(p);
    std::string error;
    for (double counter = 1; counter <= n; counter += 1) {
        if (m.stopRequested()) return Status::success();
        if (!oneStep(m, b, error)) return Status::failure(error);
    }
    return Status::success();
}

int arrowAxis(Arrow a) {
    switch (a) {
        case Arrow::Command10:
        case Arrow::Command11:
            return 0;
        case Arrow::Command6:
        case Arrow::Command7:
            return 1;
        default:
            return 2;
    }
}

bool arrowDirHigh(Arrow a, bool ticked) {
    switch (a) {
        case Arrow::Command10:  // right
        case Arrow::Command6:   // right
        case Arrow::Command9:   // down
            return !ticked;
        default:  // left X, left Y, up Z
            return ticked;
    }
}

Status jog(MoveContext& m, Arrow a, const std::string& stepsPerMm, const std::string& distance, int dirWeight,
           int clkWeight, bool boxTicked) {
    auto spmm = decimalValue(stepsPerMm);
    if (!spmm)
        return Status::failure("Nombre de pas par mm \"" + stepsPerMm +
                               "\" invalide : saisir un nombre avec une virgule comme séparateur décimal.");
    if (!hasNumber(distance))
        return Status::failure("Distance à déplacer \"" + distance + "\" invalide : saisir un nombre de mm.");
    auto mm = leadingNumber(distance);
    if (!mm) return Status::failure("Distance à déplacer \"" + distance + "\" trop grande.");
    StepBytes b = stepBytes(dirWeight, clkWeight, arrowDirHigh(a, boxTicked));
    return emitSteps(m, b, *spmm * *mm);
}

Status home(MoveContext& m, const HomingSetup& h) {
    auto spmmZ = decimalValue(h.stepsPerMmZ);
    if (!spmmZ)
        return Status::failure("Nombre de pas par mm de l'axe Z \"" + h.stepsPerMmZ +
                               "\" invalide : saisir un nombre avec une virgule comme séparateur décimal.");
    if (auto c = coefficient(m.coefficient()); !c) return Status::failure(c.error());
    std::string error;
    const StepBytes zUp = stepBytes(h.dir[2], h.clk[2], !h.inv[2]);
    const StepBytes zDown = stepBytes(h.dir[2], h.clk[2], h.inv[2]);
    const StepBytes xHome = stepBytes(h.dir[0], h.clk[0], !h.inv[0]);
    const StepBytes yHome = stepBytes(h.dir[1], h.clk[1], !h.inv[1]);

    // 1. Z up to the clearance switch; at least one step even when it is already closed.
    for (;;) {
        if (m.stopRequested()) return Status::success();
        if (!oneStep(m, zUp, error)) return Status::failure(error);
        m.yield.yield();
        if (m.port.Read_Select(m.address) == 0) break;
    }
    // 2. X and Y together to their zero switches.
    for (;;) {
        if (m.stopRequested()) return Status::success();
        m.yield.yield();
        int busy = m.port.Read_Busy(m.address);
        if (busy == 1 && !oneStep(m, xHome, error)) return Status::failure(error);
        m.yield.yield();
        int pe = m.port.Read_Pe(m.address);
        if (pe == 1 && !oneStep(m, yHome, error)) return Status::failure(error);
        if (busy == 0 && pe == 0) break;
    }
    // 3. Z down to its zero switch.
    for (;;) {
        if (m.stopRequested()) return Status::success();
        if (!oneStep(m, zDown, error)) return Status::failure(error);
        m.yield.yield();
        if (m.port.Read_Error(m.address) == 0) break;
    }
    // 4. Z back up by descenteZ mm, without reading the switches.
    return emitSteps(m, zUp, leadingNumberOr0(h.descenteZ) * *spmmZ);
}

}  // namespace vornelle
