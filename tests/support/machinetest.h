// Page tests with the machine service: waiting until a motion has ended and its end has
// been shown, and a gate that holds the machine's thread at a chosen step while the test
// acts on the screen as the operator would.
#pragma once

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "port/machine.h"

namespace vornelle::test {

// Runs the screen's events until no motion runs (its end messages shown); false after 60 s.
inline bool waitIdle(Machine& m) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (m.busy()) {
        if (std::chrono::steady_clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

class Gate {
  public:
    // On the machine's thread: wait there until the test lets go.
    void arrive() {
        reached_ = true;
        while (!released_) std::this_thread::yield();
    }
    // On the screen's thread: run the events until the machine is held at the gate.
    bool waitReached() {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!reached_) {
            if (std::chrono::steady_clock::now() > until) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        return true;
    }
    void release() { released_ = true; }
    bool reached() const { return reached_; }

  private:
    std::atomic<bool> reached_{false}, released_{false};
};

}  // namespace vornelle::test
