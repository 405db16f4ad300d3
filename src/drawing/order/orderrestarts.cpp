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

constexpr size_t kWindow = 30;     // positions a kick moves cuts within
constexpr int kDraws = 8;          // kicks drawn before giving up one that keeps the containment
constexpr size_t kMinStale = 200;  // kicks without gain before the search stops, at least

// The order with runs [a, b) and [b, c) of positions swapped, all inside [p, p + window).
bool kick(const std::vector<std::vector<uint32_t>>& containers, std::mt19937& rng,
          std::vector<uint32_t>& order) {
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
    double bestTravel = planTravel(shapes, best);
    std::mt19937 rng(27);
    const size_t staleLimit = std::max(kMinStale, n);
    for (size_t stale = 0; stale < staleLimit && std::chrono::steady_clock::now() < deadline; ++stale) {
        OrderPlan trial = best;
        if (!kick(containers, rng, trial.order)) continue;
        trial = improve(shapes, containers, std::move(trial), deadline);
        const double t = planTravel(shapes, trial);
        if (t < bestTravel - noise) {
            best = std::move(trial);
            bestTravel = t;
            stale = 0;
        }
    }
    return best;
}

}  // namespace vornelle
