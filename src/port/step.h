// One axis step as two port bytes, and the counted pause that paces the steps.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/outcome.h"

namespace vornelle {

struct StepBytes {
    uint8_t octetBas;   // DIR set, CLOCK low
    uint8_t octetHaut;  // DIR unchanged, CLOCK high: the driver steps on this edge
};

// DIR high: DIR weight then DIR + CLOCK weights; DIR low: 0 then the CLOCK weight. Every
// other data line is 0 in both bytes.
StepBytes stepBytes(int dirWeight, int clkWeight, bool dirHigh);

// Number of iterations of the counted pause: a double counter starts at 1, the (empty) body
// runs while it is at most V, and c is added after each iteration. V = 20 and c = 0,01 give
// 1900; V = 1 gives 1; V below 1 gives 0. No value when c is 0 or less or so small that the
// counter stops growing (the count would never end).
std::optional<uint64_t> pauseCount(double V, double c);

// The coefficient text as the step of the pause: decimal conversion, greater than 0, and
// not so small that the pause at V = 100 would need more than kMaxPauseIterations
// iterations (counting them alone would freeze the machine for minutes). The message when
// it cannot be used.
constexpr double kMaxPauseIterations = 1e8;
Outcome<double> coefficient(const std::string& text);

// A step count from 2^53 on can no longer be counted one by one in a double (adding 1
// changes nothing): such a move would never end.
constexpr double kMaxStepCount = 9007199254740992.0;  // 2^53
// Message for a move of `n` steps that cannot be made, empty when it can.
std::string stepCountProblem(double n);

// A signal weight as the configuration or the tool page holds it (leading-number
// conversion): 0 (line not wired) or a data-line weight 1, 2, 4, ... 128. Anything else
// (a value such as 1e300 or 3) is refused with the message naming `what`.
Outcome<int> signalWeight(const std::string& text, const std::string& what);

// Paces steps. The real pacer waits 10 ns per iteration on the steady clock (busy-wait, no
// sleep), so speeds are the same on every computer; tests use a recording pacer.
class Pacer {
  public:
    virtual ~Pacer() = default;
    // Pause for V and c; false (and a message in `error`) when c cannot be used.
    virtual bool attentePas(double V, double c, std::string& error) = 0;
    // A planned pause: the iterations of (V, c) times `factor` (at least 1), rounded up to
    // whole iterations so a planned pause is never shorter than planned. Factor 1 is exactly
    // attentePas.
    virtual bool attenteRythmee(double V, double c, double factor, std::string& error);

  protected:
    // Waits `n` iterations of 10 ns; pacers that do not wait do nothing.
    virtual void waitIterations(uint64_t n) { (void)n; }
};

// The iterations of a pause of `n` iterations lengthened by `factor`, rounded up.
uint64_t lengthened(uint64_t n, double factor);

// Pauses keep a schedule: each deadline is the previous one plus this pause's duration, so
// the time spent between pauses (port writes, yields) is absorbed and the steps keep the
// requested pace. A pause that starts later than its scheduled end starts a new schedule
// from now: lost time is never caught up with a burst of shorter pauses, two deadlines are
// never closer than one pause, and every write is held for at least half a pause (the DIR
// lines settle before the clock rises).
class CountedPause : public Pacer {
  public:
    using Clock = std::chrono::steady_clock;
    // `now` reads the clock (tests give a clock of their own).
    explicit CountedPause(std::function<Clock::time_point()> now = &Clock::now) : now_(std::move(now)) {}
    // When the last pause ended, or was due to end.
    Clock::time_point lastDeadline() const { return lastDeadline_; }
    static constexpr std::chrono::nanoseconds kIteration{10};
    bool attentePas(double V, double c, std::string& error) override;
    bool attenteRythmee(double V, double c, double factor, std::string& error) override;
    // The iteration count for (V, c), computed once. While a count is computed for the
    // first time the deadline is already running, so the first pause is no longer than
    // the others.
    std::optional<uint64_t> count(double V, double c,
                                  std::chrono::steady_clock::time_point* deadlineStart = nullptr);

  private:
    void wait(Clock::time_point start, uint64_t n);
    std::map<std::pair<double, double>, std::optional<uint64_t>> cache_;
    std::function<Clock::time_point()> now_;
    Clock::time_point lastDeadline_{};
};

// Message for a coefficient that makes no pause possible.
std::string coefficientMessage(const std::string& text);

}  // namespace vornelle
