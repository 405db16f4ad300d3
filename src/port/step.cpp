// Step bytes and the counted pause; see step.h.
#include "step.h"

#include <algorithm>
#include <cmath>

#include "base/numbers.h"
#include "base/message.h"

namespace vornelle {

StepBytes stepBytes(int dirWeight, int clkWeight, bool dirHigh) {
    int bas = dirHigh ? dirWeight : 0;
    return {static_cast<uint8_t>(bas), static_cast<uint8_t>(bas + clkWeight)};
}

std::optional<uint64_t> pauseCount(double V, double c) {
    if (!(c > 0)) return std::nullopt;
    uint64_t n = 0;
    double counter = 1;
    while (counter <= V) {
        ++n;
        double next = counter + c;
        if (next == counter) return std::nullopt;
        counter = next;
    }
    return n;
}

std::string coefficientMessage(const std::string& text) {
    return "Coefficient vitesse " + quotedText(text) +
           " inutilisable : saisir un nombre supérieur à 0 avec une virgule (par exemple 0,01).";
}

Outcome<double> coefficient(const std::string& text) {
    auto c = decimalValue(text);
    // Up to V = 100 the counter must keep growing by c, else the pause would never end.
    if (!c || !(*c > 0) || !(100.0 + *c > 100.0)) return Failure{coefficientMessage(text)};
    if ((100.0 - 1.0) / *c > kMaxPauseIterations)
        return Failure{"Coefficient vitesse \"" + text +
                       "\" trop petit : une pause durerait trop longtemps. Saisir au moins 0,000001."};
    return *c;
}

std::string stepCountProblem(double n) {
    if (n >= kMaxStepCount || std::isnan(n))
        return "Déplacement de " + numberText(n, ',') + " pas impossible : nombre de pas trop grand.";
    return {};
}

Outcome<int> signalWeight(const std::string& text, const std::string& what) {
    double v = leadingNumberOr0(text);
    for (int w = 0; w <= 128; w = w == 0 ? 1 : w * 2)
        if (v == w) return w;
    return Failure{"Poids du signal " + what + " " + quotedText(text) +
                   " invalide : 0 ou une puissance de deux de 1 à 128 (le poids de la broche)."};
}

std::optional<uint64_t> CountedPause::count(double V, double c, std::chrono::steady_clock::time_point*) {
    auto key = std::make_pair(V, c);
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
    auto n = pauseCount(V, c);
    cache_[key] = n;
    return n;
}

bool CountedPause::attentePas(double V, double c, std::string& error) {
    return attenteRythmee(V, c, 1, error);
}

bool CountedPause::attenteRythmee(double V, double c, double factor, std::string& error) {
    auto start = now_();
    auto n = count(V, c);
    if (!n) {
        error = coefficientMessage(numberText(c, ','));
        return false;
    }
    wait(start, factor == 1 ? *n : lengthened(*n, factor));
    return true;
}

void CountedPause::wait(Clock::time_point start, uint64_t n) {
    if (n == 0) return;
    const auto duration = kIteration * static_cast<int64_t>(n);
    auto deadline = lastDeadline_ + duration;
    if (deadline < start)
        deadline = start + duration;  // late: a new schedule, no catching up
    else if (deadline < start + duration / 2)
        deadline = start + duration / 2;  // every write is held at least half a pause
    lastDeadline_ = deadline;
    while (now_() < deadline) {
    }
}

uint64_t lengthened(uint64_t n, double factor) {
    return static_cast<uint64_t>(std::ceil(static_cast<double>(n) * std::max(factor, 1.0)));
}

bool Pacer::attenteRythmee(double V, double c, double factor, std::string& error) {
    if (factor == 1) return attentePas(V, c, error);
    auto n = pauseCount(V, c);
    if (!n) {
        error = coefficientMessage(numberText(c, ','));
        return false;
    }
    waitIterations(lengthened(*n, factor));
    return true;
}

}  // namespace vornelle
