// The machine service; see machine.h. A job's thread is joined before the next job starts,
// so at most one job ever touches the port.
#include "machine.h"

#include <chrono>

#include "portfault.h"

namespace vornelle {

Machine::Machine(PortSelector& ports, Post post) : ports_(ports), post_(std::move(post)) {}

Machine::~Machine() {
    abandon();
}

void Machine::JobYield::yield() {
    if (m_.abandon_.load(std::memory_order_relaxed)) throw JobAbandoned{};
    if (m_.hook_) m_.hook_();
}

void Machine::JobYield::idle() {
    yield();
    // A paused run waits for the operator: a millisecond of rest is nothing to a human and
    // keeps the core free.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void Machine::setBusy(bool b) {
    busy_ = b;
    // A copy: a listener may take itself off.
    auto listeners = listeners_;
    for (auto& l : listeners) l.second(b);
}

bool Machine::start(uint16_t address, const Wiring& wiring, Job job, Done done) {
    if (busy_) return false;
    if (thread_.joinable()) thread_.join();  // a job that ended but was not wound up
    counter_.attach(ports_.select(address, wiring), wiring);
    if (!ports_.lostPort().empty()) return false;
    PortLibrary& port = counter_;
    abandon_ = false;
    setBusy(true);
    thread_ = std::thread([this, &port, job = std::move(job), done = std::move(done)] {
        JobYield y(*this);
        JobContext ctx{port, y, {}};
        try {
            job(ctx);
        } catch (const PortFault& f) {
            ctx.portFault = f.message();
        } catch (const JobAbandoned&) {
            return;
        } catch (const std::exception& e) {
            ctx.portFault = std::string("Erreur pendant le déplacement : ") + e.what();
        }
        std::string fault = ctx.portFault;
        auto end = [this, fault, done] { finish(fault, done); };
        if (post_) {
            post_(end);
        } else {
            std::lock_guard<std::mutex> lock(queueMutex_);
            queue_.push_back(end);
        }
    });
    return true;
}

void Machine::finish(const std::string& fault, const Done& done) {
    if (thread_.joinable()) thread_.join();
    if (!fault.empty()) ports_.failed(fault);
    if (done) done(fault);
    setBusy(false);
}

bool portReady(Machine& machine, Dialogs& dialogs, uint16_t address, const Wiring& wiring) {
    if (machine.busy()) return true;  // start() refuses it anyway
    machine.ports().select(address, wiring);
    std::string lost = machine.ports().lostPort();
    if (lost.empty()) return true;
    if (dialogs.message(lost + "\n\nContinuer sur la machine simulée jusqu'à la fin du programme ?",
                        style::kStopYesNo, "Port parallèle") != Button::Yes)
        return false;
    machine.ports().chooseSimulated();
    return true;
}

void Machine::abandon() {
    abandon_ = true;
    if (thread_.joinable()) thread_.join();
    busy_ = false;
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.clear();
}

void Machine::wait() {
    if (thread_.joinable()) thread_.join();
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        calls.swap(queue_);
    }
    for (auto& c : calls) c();
}

}  // namespace vornelle
