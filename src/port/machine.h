// The machine service: the one owner of motion. Every motion job (cutting run, jog, homing)
// runs here on a thread of its own, one job at a time, with the port backend chosen between
// jobs; the screen never delays a step and hears of a job's end through `post`.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/interfaces.h"
#include "countingport.h"
#include "portselector.h"

namespace vornelle {

// Thrown from a job's yield when the program ends during the job.
struct JobAbandoned {};

struct JobContext {
    PortLibrary& port;
    Yield& yield;  // every step point of the job; never waits for the screen
    // A job that catches a PortFault itself (the run, to name the record reached) puts the
    // port's message here so the port is given up as if the fault had reached the service.
    std::string portFault;
};

class Machine {
  public:
    // Runs a call on the screen's thread, later.
    using Post = std::function<void(std::function<void()>)>;
    using Job = std::function<void(JobContext&)>;
    // `portFault`: the port's message when a write or status read failed, else empty.
    using Done = std::function<void(const std::string& portFault)>;

    // Without `post` the end calls queue up and run in wait() (command-line tool, tests).
    explicit Machine(PortSelector& ports, Post post = {});
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Starts `job` with the backend for `address`; `done` runs on the screen's thread once the
    // job has ended. False, and nothing started, while another job runs or has not been
    // wound up yet, or while the real port in use was lost (see portReady()).
    bool start(uint16_t address, const Wiring& wiring, Job job, Done done);
    // From the start of a job until its `done` has run.
    bool busy() const { return busy_; }
    // Told true when a job starts and false once its `done` has run (screen's thread). The
    // number given back takes the listener off again (a page that goes away).
    int onBusyChanged(std::function<void(bool)> f) {
        listeners_.push_back({++lastListener_, std::move(f)});
        return lastListener_;
    }
    void removeBusyListener(int id) {
        std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
    }
    size_t busyListeners() const { return listeners_.size(); }
    // Ends a running job at its next step point and waits for it; its `done` never runs.
    // For the end of the program.
    void abandon();
    // Waits for the running job, then runs the end calls queued without `post`.
    void wait();
    // Called at every yield of a job, on the job's thread (tests act at chosen steps).
    void setStepHook(std::function<void()> f) { hook_ = std::move(f); }
    PortSelector& ports() { return ports_; }
    // Where the program's steps have taken the machine, X, Y, Z in steps (Z positive into the
    // material), counted from every byte the port accepted since the program started or the
    // last setPosition; any thread, also during a job.
    std::array<long, 3> position() const { return counter_.position(); }
    // A new origin (the end of a homing, a resumed cut); between jobs or from the job itself.
    void setPosition(const std::array<long, 3>& p) { counter_.setPosition(p); }
    // The machine's position from the origin of the joystick page (the end of the last homing,
    // or the program's start). The step count itself keeps one frame for the whole session,
    // so a stopped cut's position stays comparable after a homing.
    std::array<long, 3> fromOrigin() const {
        std::array<long, 3> p = position();
        for (int a = 0; a < 3; ++a) p[a] -= origin_[a].load(std::memory_order_relaxed);
        return p;
    }
    // Here is the origin (any thread, the homing job included).
    void markOrigin() {
        std::array<long, 3> p = position();
        for (int a = 0; a < 3; ++a) origin_[a].store(p[a], std::memory_order_relaxed);
    }
    // Bytes written to the port by every job so far.
    uint64_t writes() const { return counter_.writes(); }

  private:
    class JobYield : public Yield {
      public:
        explicit JobYield(Machine& m) : m_(m) {}
        void yield() override;
        void idle() override;

      private:
        Machine& m_;
    };
    void finish(const std::string& fault, const Done& done);
    void setBusy(bool b);

    PortSelector& ports_;
    CountingPort counter_;
    std::array<std::atomic<long>, 3> origin_{};
    Post post_;
    std::thread thread_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> abandon_{false};
    std::function<void()> hook_;
    std::vector<std::pair<int, std::function<void(bool)>>> listeners_;
    int lastListener_ = 0;
    std::mutex queueMutex_;
    std::vector<std::function<void()>> queue_;
};

// Before a motion is started from a page: when the real port that drove the machine is gone,
// says so and asks whether to go on with the simulated machine; false (nothing to start)
// unless the operator chose it.
bool portReady(Machine& machine, Dialogs& dialogs, uint16_t address, const Wiring& wiring);

}  // namespace vornelle
