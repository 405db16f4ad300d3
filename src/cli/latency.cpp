// vornelle-cli latency: pauses of the run's own counted pause back to back for a while, and
// how far each one ends from where it should (scheduling, other programs, power saving),
// as a histogram, median, p99 and max, with a short French verdict.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>
#include <vector>

#include "commands.h"
#include "port/step.h"

namespace vornelle::cli {
namespace {

// Upper bounds of the histogram's buckets, microseconds of lateness; the last one is open.
constexpr double kBuckets[] = {1, 2, 5, 10, 20, 50, 100, 1000};

std::string verdict(double p99, double max, double pauseUs) {
    if (max < 0.1 * pauseUs)
        return "Rythme régulier : cet ordinateur tient les pauses, la découpe sera fidèle.";
    if (p99 < 0.5 * pauseUs)
        return "Rythme correct, avec de rares retards : fermer les autres programmes pendant la découpe.";
    return "Rythme irrégulier : les pas seront inégaux. Fermer les autres programmes, désactiver "
           "l'économie d'énergie, ou choisir des vitesses plus lentes.";
}

}  // namespace

int latency(const LatencyArgs& a, Output& out) {
    auto seconds = pointOrComma(a.seconds), delay = pointOrComma(a.delayUs);
    if (!seconds || *seconds <= 0 || *seconds > 3600) {
        out.error = "--seconds " + a.seconds + " : une durée de 0 à 3600 secondes est attendue";
        return 2;
    }
    if (!delay || *delay < 1 || *delay > 1e6) {
        out.error = "--delay-us " + a.delayUs + " : une pause de 1 à 1000000 microsecondes est attendue";
        return 2;
    }
    // V = 100 and the coefficient that gives the pause asked for (10 ns an iteration).
    const double iterations = std::max(2.0, std::round(*delay * 100));
    const double c = 99 / (iterations - 1);
    CountedPause pause;
    const uint64_t count = pause.count(100, c).value_or(0);
    const double pauseUs = count * 0.01;
    std::vector<double> late;  // microseconds each pause ended after its due length
    std::string error;
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(*seconds);
    pause.attentePas(100, c, error);  // starts the schedule
    auto previous = Clock::now();
    while (previous < end) {
        pause.attentePas(100, c, error);
        auto now = Clock::now();
        late.push_back(std::chrono::duration<double, std::micro>(now - previous).count() - pauseUs);
        previous = now;
    }
    std::vector<double> sorted = late;
    std::sort(sorted.begin(), sorted.end());
    auto at = [&](double q) { return sorted[static_cast<size_t>(q * (sorted.size() - 1))]; };
    nlohmann::ordered_json histogram = nlohmann::ordered_json::array();
    double low = -INFINITY;
    for (size_t k = 0; k <= std::size(kBuckets); ++k) {
        double high = k < std::size(kBuckets) ? kBuckets[k] : INFINITY;
        long n = std::count_if(late.begin(), late.end(), [&](double e) { return e >= low && e < high; });
        nlohmann::ordered_json b = {{"below_us", nullptr}, {"count", n}};
        if (k < std::size(kBuckets)) b["below_us"] = high;
        histogram.push_back(b);
        low = high;
    }
    const double median = at(0.5), p99 = at(0.99), max = sorted.back();
    out.json = nlohmann::ordered_json{{"pause_us", pauseUs},
                                      {"pauses", late.size()},
                                      {"median_us", median},
                                      {"p99_us", p99},
                                      {"max_us", max},
                                      {"histogram", histogram},
                                      {"verdict", verdict(p99, max, pauseUs)}}
                   .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    return 0;
}

}  // namespace vornelle::cli
