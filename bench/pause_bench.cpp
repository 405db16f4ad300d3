// Accuracy of the counted pause: for V in {2, 20, 80} and c = 0,01, requested against
// measured duration of 100,000 pauses; prints the median and 99th-percentile error in us.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "port/step.h"

int main() {
    using namespace std::chrono;
    vornelle::CountedPause pause;
    std::printf("%6s %10s %14s %14s %14s\n", "V", "iterations", "requested_us", "median_err_us",
                "p99_err_us");
    for (double V : {2.0, 20.0, 80.0}) {
        const int n = 100000;
        auto count = *pause.count(V, 0.01);
        double requested = count * 0.01;  // 10 ns per iteration, in us
        std::vector<double> err(n);
        std::string error;
        for (int i = 0; i < n; ++i) {
            auto t0 = steady_clock::now();
            pause.attentePas(V, 0.01, error);
            auto t1 = steady_clock::now();
            err[i] = duration<double, std::micro>(t1 - t0).count() - requested;
        }
        std::sort(err.begin(), err.end());
        std::printf("%6.0f %10llu %14.3f %14.3f %14.3f\n", V, static_cast<unsigned long long>(count),
                    requested, err[n / 2], err[n * 99 / 100]);
    }
}
