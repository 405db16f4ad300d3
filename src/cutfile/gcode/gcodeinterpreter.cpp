// The G-code interpreter; see gcodeinterpreter.h. A line is executed in the order a
// controller executes it: feed, tool change, dwell, the settings (plane, units, distances),
// the motion, then the program stops (M0 / M1 / M2 / M30).
#include "gcodeinterpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "gcodearc.h"

namespace vornelle {
namespace {

// A G word's code times ten (G90.1 gives 901); -1 when it is not a tenth.
int tenths(double v) {
    double t = std::round(v * 10);
    return std::fabs(t - v * 10) < 1e-6 && t >= 0 && t < 10000 ? static_cast<int>(t) : -1;
}

// Refused G words and why (the code times ten).
const char* refusedG(int g) {
    switch (g) {
        case 180:
        case 190:
            return "plan G18 / G19 : seuls les arcs du plan XY (G17) sont suivis.";
        case 410:
        case 420:
        case 411:
        case 421:
            return "correction de rayon d'outil G41 / G42 : faites-la calculer par le programme de FAO.";
        case 280:
        case 300:
        case 281:
        case 301:
            return "retour machine G28 / G30 : un fichier découpe ne connaît pas la position de référence.";
        case 530:
            return "coordonnées machine G53 : un fichier découpe ne les connaît pas.";
        default:
            break;
    }
    if (g >= 810 && g <= 890 && g % 10 == 0) return "cycle fixe G81 à G89 : non pris en charge.";
    return nullptr;
}

bool acceptedG(int g) {
    switch (g) {
        case 0:
        case 10:
        case 20:
        case 30:
        case 40:
        case 170:
        case 200:
        case 210:
        case 400:
        case 430:
        case 490:
        case 540:
        case 610:
        case 611:
        case 640:
        case 800:
        case 900:
        case 901:
        case 910:
        case 911:
        case 940:
            return true;
        default:
            return false;
    }
}

// The words of a line sorted by kind: G and M codes (times ten), the other words' values.
struct LineWords {
    double value[26] = {};
    bool given[26] = {};
    std::vector<int> gs, ms;
};

// Refuses the words no line may hold (unknown, repeated, other axes); fills `w`.
std::string sortWords(const GcodeLine& l, LineWords& w) {
    for (const GcodeWord& word : l.words) {
        const int k = word.letter - 'A';
        if (word.letter == 'G') {
            int g = tenths(word.value);
            if (const char* r = refusedG(g)) return r;
            if (!acceptedG(g)) return "mot " + word.text + " non pris en charge.";
            w.gs.push_back(g);
        } else if (word.letter == 'M') {
            const int m = tenths(word.value);
            if (m != 0 && m != 10 && m != 20 && m != 300 && m != 30 && m != 40 && m != 50 && m != 60 &&
                m != 70 && m != 80 && m != 90)
                return "mot " + word.text + " non pris en charge.";
            w.ms.push_back(m);
        } else if (std::string("ABCUVW").find(word.letter) != std::string::npos) {
            return "axe " + std::string(1, word.letter) + " : cette machine n'a que X, Y et Z.";
        } else if (std::string("XYZIJRFPQSTH").find(word.letter) == std::string::npos) {
            return "mot " + word.text + " non pris en charge.";
        } else {
            if (w.given[k]) return "mot " + std::string(1, word.letter) + " deux fois sur la ligne.";
            w.given[k] = true;
            w.value[k] = word.value;
        }
    }
    return {};
}

std::string prefix(long line, const std::string& n) {
    return "ligne " + std::to_string(line) + (n.empty() ? "" : " (" + n + ")") + " : ";
}

}  // namespace

std::string GcodeInterpreter::line(std::string_view raw) {
    ++summary_.lines;
    if (summary_.ended) return {};
    std::string why = splitGcodeLine(raw, words_);
    if (why.empty()) why = execute(words_);
    return why.empty() ? why : prefix(summary_.lines, words_.n) + why;
}

std::string GcodeInterpreter::execute(const GcodeLine& l) {
    if (l.words.empty()) return {};
    LineWords w;
    if (std::string why = sortWords(l, w); !why.empty()) return why;
    const double* value = w.value;
    const bool* given = w.given;
    const std::vector<int>&gs = w.gs, &ms = w.ms;
    if (cutMade_ && std::find(ms.begin(), ms.end(), 60) != ms.end())
        return "changement d'outil ligne " + std::to_string(summary_.lines) +
               " : coupez le fichier à cet endroit.";
    auto has = [&](int g) { return std::find(gs.begin(), gs.end(), g) != gs.end(); };
    auto given_ = [&](char c) { return given[c - 'A']; };
    auto val = [&](char c) { return value[c - 'A']; };
    int motionWords = 0, newMode = mode_;
    for (int g : gs)
        if (g == 0 || g == 10 || g == 20 || g == 30 || g == 800)
            ++motionWords, newMode = g == 800 ? -1 : g / 10;
    if (motionWords > 1) return "deux déplacements sur la même ligne.";
    if (given_('H') && !has(430)) return "mot H sans G43.";
    if ((given_('P') || given_('Q')) && !has(40) && !has(640))
        return std::string("mot ") + (given_('P') ? "P" : "Q") + " sans G4 ni G64.";
    if (given_('Q') && !has(640)) return "mot Q sans G64.";
    if (given_('F')) {
        if (val('F') < 0) return "avance F négative.";
        bool known = false;
        for (double f : summary_.feeds) known = known || f == val('F');
        if (!known) summary_.feeds.push_back(val('F'));
    }
    // Units first: the F of this line is in them.
    for (int g : gs)
        if (g == 200 || g == 210) {
            unit_ = g == 200 ? 25.4 : 1;
            if (!unitsSeen_) summary_.inch = g == 200;
            unitsSeen_ = true;
        }
    if (given_('F')) feed_ = val('F') * unit_;
    if (has(40)) {
        if (!given_('P')) return "G4 sans durée P.";
        if (val('P') < 0) return "durée G4 négative.";
        sink_.dwell(val('P'), summary_.lines);
    }
    for (int g : gs) {
        if (g == 900) incremental_ = false;
        if (g == 910) incremental_ = true;
        if (g == 901) arcAbsolute_ = true;
        if (g == 911) arcAbsolute_ = false;
    }
    mode_ = newMode;
    std::string why = motion(l, mode_, value, given);
    if (!why.empty()) return why;
    for (int m : ms) {
        if (m == 0 || m == 10) sink_.pause(summary_.lines);
        if (m == 20 || m == 300) summary_.ended = true;
    }
    return {};
}

std::string GcodeInterpreter::motion(const GcodeLine&, int mode, const double* value, const bool* given) {
    const bool axes = given['X' - 'A'] || given['Y' - 'A'] || given['Z' - 'A'];
    const bool centre = given['I' - 'A'] || given['J' - 'A'];
    const bool radius = given['R' - 'A'];
    if ((centre || radius) && (!axes || mode < 2)) return "I, J ou R sans arc G2 / G3.";
    if (!axes) return {};
    if (mode < 0) return "déplacement sans G0, G1, G2 ou G3 (après G80).";
    GcodeMove m;
    m.line = summary_.lines;
    m.from = at_;
    m.to = at_;
    double* target[3] = {&m.to.x, &m.to.y, &m.to.z};
    for (int a = 0; a < 3; ++a) {
        const int k = "XYZ"[a] - 'A';
        if (given[k]) *target[a] = (incremental_ ? *target[a] : 0) + value[k] * unit_;
    }
    m.feed = mode == 0 ? 0 : feed_;
    m.kind = mode == 0 ? MoveKind::Rapid : mode == 1 ? MoveKind::Linear : MoveKind::Arc;
    if (m.kind == MoveKind::Arc) {
        m.clockwise = mode == 2;
        std::string why;
        if (centre && radius) return "arc avec à la fois I J et R.";
        if (radius) {
            why = arcByRadius(m, value['R' - 'A'] * unit_);
        } else if (centre) {
            const double i = value['I' - 'A'] * unit_, j = value['J' - 'A'] * unit_;
            m.cx = arcAbsolute_ ? i : m.from.x + i;
            m.cy = arcAbsolute_ ? j : m.from.y + j;
            why = arcByCentre(m);
        } else {
            return "arc sans centre I J ni rayon R.";
        }
        if (!why.empty()) return why;
    }
    for (double v : {m.to.x, m.to.y, m.to.z})
        if (!(std::fabs(v) < 1e12)) return "coordonnée hors de toute machine.";
    (m.kind == MoveKind::Rapid    ? summary_.rapid
     : m.kind == MoveKind::Linear ? summary_.linear
                                  : summary_.arc)++;
    if (m.kind != MoveKind::Rapid) cutMade_ = true;
    at_ = m.to;
    sink_.move(m);
    return {};
}

std::string readGcodeText(std::string_view text, GcodeSink& sink, GcodeSummary& summary) {
    GcodeInterpreter g(sink);
    std::string why;
    while (why.empty() && !text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        why = g.line(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    summary = g.summary();
    return why;
}

std::string readGcodeFile(const std::string& path, GcodeSink& sink, GcodeSummary& summary) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return "Le programme G-code " + path + " est illisible.";
    GcodeInterpreter g(sink);
    std::string why, line;
    constexpr size_t kLongestLine = 1 << 20;  // bytes: beyond, the file is not G-code
    char chunk[1 << 16];
    size_t got;
    while (why.empty() && (got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        for (size_t i = 0; i < got && why.empty(); ++i) {
            if (chunk[i] != '\n') {
                line.push_back(chunk[i]);
                if (line.size() > kLongestLine)
                    why = "ligne " + std::to_string(g.summary().lines + 1) +
                          " : plus de 1 Mo sans fin de ligne.";
                continue;
            }
            if (!line.empty() && line.back() == '\r') line.pop_back();
            why = g.line(line);
            line.clear();
        }
    }
    if (why.empty() && std::ferror(f.get())) why = "Le programme G-code " + path + " est illisible.";
    if (why.empty() && !line.empty()) {
        if (line.back() == '\r') line.pop_back();
        why = g.line(line);
    }
    summary = g.summary();
    return why;
}

}  // namespace vornelle
