// The planner's ticks read one at a time; see rampticks.h.
#include "rampticks.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/files.h"
#include "port/step.h"

namespace vornelle {
namespace {

uint32_t clamp32(uint64_t n) {
    return static_cast<uint32_t>(std::min<uint64_t>(n, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

std::string RampTickSource::readSegments(const std::string& objet, const RampMachine& m) {
    FieldStream f;
    if (Status s = f.open(objet); !s) return s.message;
    do {
        double v[8];
        for (double& x : v)
            if (!f.next(x)) return "Fichier de travail objet illisible : " + f.error();
        Segment s;
        for (int a = 0; a < 4; ++a) s.m = std::max(s.m, static_cast<uint64_t>(v[2 * a + 1]));
        if (s.m == 0) continue;
        for (int a = 0; a < 3; ++a)
            s.mm[a] = (v[2 * a] == 1 ? -v[2 * a + 1] : v[2 * a + 1]) / m.stepsPerMm[a];
        segments_.push_back(s);
    } while (!f.atEnd());
    return {};
}

std::string RampTickSource::open(const std::string& def, const std::string& objet, const std::string& rythme,
                                 const RampMachine& m, const RampSettings& s) {
    for (double spmm : m.stepsPerMm)
        if (!(spmm > 0)) return "Rampes impossibles : le nombre de pas par mm de chaque axe doit être connu.";
    auto in = pauseCount(std::nearbyint(100 - m.feedIn), m.c);
    auto out = pauseCount(std::nearbyint(100 - m.feedOut), m.c);
    if (!in || !out) return "Coefficient vitesse inutilisable : aucune pause possible.";
    in_ = clamp32(*in), out_ = clamp32(*out);
    auto stamp = cutStampOf(def);
    if (!stamp) return stamp.error();
    stamp_ = *stamp;
    if (fileExists(rythme)) {
        auto p = readPacing(rythme);
        if (p && pacingMismatch(*p, def).empty()) earlier_ = std::move(*p);
    }
    if (std::string why = readSegments(objet, m); !why.empty()) return why;
    uint64_t planned = 0;
    for (const Segment& g : segments_) planned += g.m;
    // Ticks beyond the segments' are a dwell's idle ticks: no clock, the machine stands still.
    idleTicks_ = planned != stamp_.records;
    if (Status o = file_.open(def); !o) return o.message;
    tracker_.emplace(m.zDir, m.zClock, m.invZ);
    clockMask_ = m.clockMask;
    settings_ = s;
    def_ = def;
    return {};
}

RampTick RampTickSource::tickOf(uint8_t r) {
    RampTick t;
    t.feed = tracker_->next(r);
    if (earlier_ && run_ < earlier_->runs.size()) {
        const PacingRun& p = earlier_->runs[run_];
        t.feed = p.feed;
        t.factor = p.factor;
        if (++used_ == p.count) t.pauseAfter = p.pauseAfter, ++run_, used_ = 0;
    }
    t.base = t.feed == PacingFeed::In ? in_ : out_;
    t.nominal = clamp32(t.factor == 1 ? t.base : lengthened(t.base, t.factor));
    return t;
}

// The tick joins the move it belongs to, or begins the next one: an idle run between two
// segments, the next segment, or the rest of a segment after a pause point. A segment's
// acceleration along the path: each axis takes its share, the tightest one limits.
bool RampTickSource::placeTick(const RampTick& t, bool still) {
    const bool afterPause = !moves_.empty() && moves_.back().lastPauses;
    if (left_ == 0 && idleTicks_ && still) {
        if (moves_.empty() || !moves_.back().idle) {
            RampMove mv;
            mv.first = k_;
            mv.idle = true;
            moves_.push_back(mv);
        }
    } else if (left_ == 0) {
        if (segment_ == segments_.size()) return false;
        const Segment& g = segments_[segment_++];
        left_ = g.m;
        RampMove mv;
        mv.first = k_;
        const double len = std::hypot(g.mm[0], g.mm[1], g.mm[2]);
        mv.step = len / static_cast<double>(g.m);
        mv.accel = std::numeric_limits<double>::infinity();
        for (int a = 0; a < 3; ++a) {
            mv.u[a] = len > 0 ? g.mm[a] / len : 0;
            if (std::abs(mv.u[a]) > 1e-12) mv.accel = std::min(mv.accel, settings_.accel[a] / std::abs(mv.u[a]));
        }
        moves_.push_back(mv);
    } else if (afterPause) {
        // A pause point inside a segment stops the machine there: the rest is another move.
        RampMove mv = moves_.back();
        mv.first = k_, mv.count = 0, mv.lastPauses = false;
        moves_.push_back(mv);
    }
    RampMove& mv = moves_.back();
    ++mv.count;
    mv.lastPauses = t.pauseAfter;
    if (!mv.idle) --left_;
    return true;
}

bool RampTickSource::next(RampTick& t, size_t& move) {
    uint8_t r = 0;
    auto res = file_.next(r);
    if (res == RecordReader::Result::Bad) {
        error_ = file_.error();
        return false;
    }
    if (res == RecordReader::Result::End) {
        if (left_ != 0 || k_ != stamp_.records)
            error_ = "Le fichier de travail objet ne correspond pas au fichier découpe " + def_ +
                     " : rampes impossibles.";
        return false;
    }
    t = tickOf(r);
    if (!placeTick(t, (r & clockMask_) == 0)) {
        error_ = "Le fichier de travail objet ne correspond pas au fichier découpe " + def_ +
                 " : rampes impossibles.";
        return false;
    }
    move = moves_.size() - 1;
    ++k_;
    return true;
}

}  // namespace vornelle
