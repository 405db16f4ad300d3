// Kicks and restarts of the cut-order search; see orderrestarts.h. A kick swaps two adjacent
// runs of cuts inside a window of a few dozen positions (a double bridge kept local, which
// 2-opt and Or-opt cannot undo in one move); a kick that would put a cut after one of its
// containers is drawn again.
#include "orderrestarts.h"

#include <algorithm>
#include <random>

#include "ordergeometry.h"

namespace vornelle {
namespace {

constexpr size_t kWindow = 30;  // positions a kick moves cuts within
constexpr int kDraws = 8;       // kicks drawn before giving up one that keeps the containment
// Longest chain an Or-opt move carries here; the first search keeps its three, so that this
// one starts from the order found before and can only shorten it.
constexpr long kChain = 6;
// A kicked order a little longer than the one it came from is still kicked on from (by this
// fraction of the travel at most): the search drifts across plateaus instead of circling one.
constexpr double kDrift = 0.005;
constexpr size_t kMinStale = 3000;   // kicks without a new best before the search stops, at least
constexpr size_t kStalePerCut = 10;  // or this many a cut

// The order with runs [a, b) and [b, c) of positions swapped, all inside [p, p + window);
// `moved` the cuts from a - 1 to c, where the local search starts again.
bool kick(const std::vector<std::vector<uint32_t>>& containers, std::mt19937& rng,
          std::vector<uint32_t>& order, std::vector<uint32_t>& moved) {
    const size_t n = order.size();
    const size_t w = std::min(n, kWindow);
    std::vector<uint32_t> next(n);
    for (int draw = 0; draw < kDraws; ++draw) {
        const size_t p = std::uniform_int_distribution<size_t>(0, n - w)(rng);
        std::uniform_int_distribution<size_t> cut(0, w);
        size_t a = cut(rng), b = cut(rng), c = cut(rng);
        if (a > b) std::swap(a, b);
        if (b > c) std::swap(b, c);
        if (a > b) std::swap(a, b);
        if (a == b || b == c) continue;
        a += p, b += p, c += p;
        auto out = std::copy(order.begin(), order.begin() + a, next.begin());
        out = std::copy(order.begin() + b, order.begin() + c, out);
        out = std::copy(order.begin() + a, order.begin() + b, out);
        std::copy(order.begin() + c, order.end(), out);
        if (!keepsContainment(next, containers)) continue;
        order.swap(next);
        moved.assign(order.begin() + (a > 0 ? a - 1 : 0), order.begin() + std::min(c + 1, n));
        return true;
    }
    return false;
}

}  // namespace

OrderPlan restartSearch(const std::vector<Shape>& shapes,
                        const std::vector<std::vector<uint32_t>>& containers, OrderPlan best,
                        Deadline deadline) {
    const size_t n = best.order.size();
    if (n < 3) return best;  // two cuts: the local search has tried both orders
    const double noise = order::noiseOf(order::extentOf(shapes));
    best = improve(shapes, containers, std::move(best), deadline, nullptr, kChain);
    double bestTravel = planTravel(shapes, best);
    std::mt19937 rng(27);
    const size_t staleLimit = std::max(kMinStale, kStalePerCut * n);
    std::vector<uint32_t> moved;
    OrderPlan current = best;  // where the next kick starts: the best, or an order drifted from it
    double currentTravel = bestTravel;
    for (size_t stale = 0; stale < staleLimit && std::chrono::steady_clock::now() < deadline; ++stale) {
        OrderPlan trial = current;
        if (!kick(containers, rng, trial.order, moved)) continue;
        trial = improve(shapes, containers, std::move(trial), deadline, &moved, kChain);
        const double t = planTravel(shapes, trial);
        if (t < currentTravel * (1 + kDrift)) {
            current = trial;
            currentTravel = t;
        }
        if (t < bestTravel - noise) {
            best = std::move(trial);
            bestTravel = t;
            stale = 0;
        }
    }
    return best;
}

}  // namespace vornelle
