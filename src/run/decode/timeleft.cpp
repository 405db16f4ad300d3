// Time left; see timeleft.h.
#include "timeleft.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "port/step.h"

namespace vornelle {

namespace {

constexpr double kIterationSeconds = 10e-9;

// Iterations of one pause at feed 0..100 and coefficient c.
std::optional<uint64_t> countAt(double feed, double c) {
    // The scroll bar holds whole positions: V = 100 - feed, rounded as the run sets it.
    const double V = std::nearbyint(100 - feed);
    // Counting a pause repeats its additions (10^8 of them at c = 0,000001, a tenth of a
    // second), and the panel asks four times a second: each thread keeps what it counted.
    thread_local std::map<std::pair<double, double>, std::optional<uint64_t>> counted;
    auto known = counted.find({V, c});
    if (known == counted.end()) {
        if (counted.size() > 256) counted.clear();
        known = counted.emplace(std::pair{V, c}, pauseCount(V, c)).first;
    }
    return known->second;
}

}  // namespace

std::optional<double> recordSeconds(double feed, double c) {
    auto n = countAt(feed, c);
    if (!n) return std::nullopt;
    return 2.0 * static_cast<double>(*n) * kIterationSeconds;
}

std::optional<double> secondsLeft(const Decoded& d, uint64_t doneIn, uint64_t doneOut, double feedIn,
                                  double feedOut, double c) {
    auto in = recordSeconds(feedIn, c), out = recordSeconds(feedOut, c);
    if (!in || !out) return std::nullopt;
    uint64_t inLeft = d.ticksIn - std::min(doneIn, d.ticksIn);
    uint64_t outLeft = d.ticksOut - std::min(doneOut, d.ticksOut);
    uint64_t leadingLeft = d.leadingTicks - std::min(doneOut, d.leadingTicks);
    return static_cast<double>(inLeft + leadingLeft) * *in +
           static_cast<double>(outLeft - leadingLeft) * *out;
}

std::optional<double> secondsLeft(const Pacing& p, uint64_t done, double feedIn, double feedOut, double c) {
    auto in = countAt(feedIn, c), out = countAt(feedOut, c);
    if (!in || !out) return std::nullopt;
    double iterations = 0;
    for (const PacingRun& r : p.runs) {
        const uint64_t skipped = std::min(done, r.count);
        done -= skipped;
        if (skipped == r.count) continue;
        const uint64_t n = r.feed == PacingFeed::Out ? *out : *in;
        // Two pauses a record, as the run lengthens them.
        iterations += static_cast<double>(r.count - skipped) * 2.0 *
                      static_cast<double>(r.factor != 1 ? lengthened(n, r.factor) : n);
    }
    return iterations * kIterationSeconds;
}

}  // namespace vornelle
