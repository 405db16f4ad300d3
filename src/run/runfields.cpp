// The run's field values; see runfields.h.
#include "runfields.h"

#include <cmath>

#include "base/message.h"
#include "base/numbers.h"

namespace vornelle {
namespace {

const char* kWeightNames[8] = {"DIR X", "CLOCK X", "DIR Y", "CLOCK Y", "DIR Z", "CLOCK Z", "7", "8"};

}  // namespace

FieldValues convert(const RunFields& f, RunVariant v) {
    FieldValues out;
    auto c = coefficient(f.Text2);
    if (!c)
        out.problem = c.error();
    else
        out.c = *c;
    int w[8] = {};
    for (int i = 0; i < 8; ++i) {
        auto weight = signalWeight(f.weights[i], kWeightNames[i]);
        if (!weight) {
            if (out.problem.empty()) out.problem = weight.error();
        } else {
            w[i] = *weight;
        }
    }
    out.text5 = leadingNumberOr0(f.Text5);
    out.text8 = leadingNumberOr0(f.Text8);
    out.dirSum = w[0] + w[2] + w[4] + w[6];
    out.zMask = w[5] + w[4];
    int dir = w[4], clk = w[5];
    if (v == RunVariant::Command11) {
        out.downDir = 0, out.downStep = clk, out.upDir = dir, out.upStep = clk + dir;
    } else {
        out.downDir = dir, out.downStep = clk + dir, out.upDir = 0, out.upStep = clk;
    }
    return out;
}

int toPosition(double v) {
    return static_cast<int>(std::nearbyint(v));
}

std::string clearanceProblem(const RunFields& f) {
    // The leading-number conversion reads "abc" or "" as 0: here they are refused.
    const std::string& t = f.Text8;
    size_t i = t.find_first_not_of(' ');
    if (i != std::string::npos && (t[i] == '+' || t[i] == '-')) ++i;
    auto digit = [&t](size_t k) { return k < t.size() && t[k] >= '0' && t[k] <= '9'; };
    bool number = digit(i == std::string::npos ? t.size() : i) ||
                  (i != std::string::npos && i < t.size() && t[i] == '.' && digit(i + 1));
    auto mm = leadingNumber(t);
    if (!number || !mm || *mm < 0)
        return "Dégagement pour changement d'outil " + quotedText(f.Text8) +
               " illisible : saisir un nombre de millimètres (0 ou plus).";
    if (*mm > kMaxClearanceMm)
        return "Dégagement pour changement d'outil de " + numberText(*mm, ',') + " mm : plus que la course en Z (" +
               numberText(kMaxClearanceMm, ',') + " mm au plus).";
    // A pause lifts by steps per mm x mm: it must be a count of steps the run can make.
    if (std::string p = stepCountProblem(leadingNumberOr0(f.Text5) * *mm); !p.empty()) return p;
    return {};
}

}  // namespace vornelle
