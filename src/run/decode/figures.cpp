// Figures of a decoded cut file; see figures.h.
#include "figures.h"

#include <cmath>
#include <cstdio>

#include "timeleft.h"

namespace vornelle {

std::string commaFixed(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
    for (char& ch : s)
        if (ch == '.') ch = ',';
    return s;
}

std::string durationWords(double seconds) {
    if (!(seconds >= 0) || !std::isfinite(seconds)) return "?";
    if (seconds < 10) return commaFixed(seconds, 1) + " s";
    long s = std::lround(seconds);
    char buf[64];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%ld h %02ld min %02ld s", s / 3600, s / 60 % 60, s % 60);
    else if (s >= 60)
        std::snprintf(buf, sizeof buf, "%ld min %02ld s", s / 60, s % 60);
    else
        std::snprintf(buf, sizeof buf, "%ld s", s);
    return buf;
}

std::vector<FigureLine> figureLines(const Decoded& d, const DecoderSetup& s) {
    std::vector<FigureLine> out;
    const char* names[3] = {"X", "Y", "Z"};
    auto mm = [&](int axis, long steps) { return commaFixed(decodedMm(s, axis, steps), 3); };
    // With a pacing file the decoding has summed every record's lengthened pauses at these feeds.
    auto seconds =
        s.pacing ? std::optional<double>(d.seconds) : secondsLeft(d, 0, 0, s.feedIn, s.feedOut, s.c);
    out.push_back({"Durée prévue : " + (seconds ? durationWords(*seconds) : std::string("?")) +
                   " (petite vitesse " + commaFixed(s.feedIn, 0) + ", grande vitesse " +
                   commaFixed(s.feedOut, 0) + ")"});
    out.push_back({"Fin de la découpe : " + mm(0, d.axes[0].position) + " ; " + mm(1, d.axes[1].position) +
                   " ; " + mm(2, d.axes[2].position) + " mm"});
    std::string extents = "Étendue :";
    for (int a = 0; a < 3; ++a)
        extents += std::string(a ? " ;" : "") + " " + names[a] + " " + mm(a, d.axes[a].min) + " à " +
                   mm(a, d.axes[a].max);
    out.push_back({extents + " mm"});
    out.push_back({"Longueur dans la matière : " + commaFixed(d.lengthIn, 1) +
                   " mm ; hors matière : " + commaFixed(d.lengthOut, 1) + " mm"});
    out.push_back({"Enregistrements : " + std::to_string(d.records) + " (" + std::to_string(d.ticksIn) +
                   " dans la matière, " + std::to_string(d.ticksOut) + " hors matière)"});
    std::string rates = "Vitesse de pas maximale :";
    for (int a = 0; a < 3; ++a) {
        double r = d.axes[a].peakRate;
        std::string v = r < 0 ? "sans pause" : commaFixed(r, 0) + " pas/s";
        if (r > 0 && s.stepsPerMm[a] > 0) v += " (" + commaFixed(r / s.stepsPerMm[a], 1) + " mm/s)";
        rates += std::string(a ? " ;" : "") + " " + names[a] + " " + v;
    }
    out.push_back({rates});
    for (const std::string& p : d.problems) out.push_back({p, true});
    return out;
}

}  // namespace vornelle
