// Runs "Découper" for the tool page: reads the page's fields by their names, loads and
// unloads the panel, hides and shows the tool page, and hands the record loop to the
// machine service, which plays it on its own thread. The checks and messages stay on the
// screen's thread; the screen follows the run a few times a second and never holds it up.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "base/interfaces.h"
#include "panel.h"
#include "port/machine.h"
#include "port/step.h"
#include "run/runengine.h"

namespace vornelle {

class RunController : public QObject, public RunHost {
    Q_OBJECT
  public:
    RunController(RunState& state, Navigator& navigator, Dialogs& dialogs, Pacer& pacer, BusyPointer& pointer,
                  Machine& machine, QObject* parent = nullptr);
    ~RunController() override;

    // Plays the cut of `toolPage` (its fields Text9, Text10, ... and its "port" and
    // "wiring" properties). Returns once the run has started on the machine, or was
    // refused or cancelled; `started` tells which. The end messages come when it ends.
    RunOutcome run(QWidget* toolPage, RunVariant variant);
    // "Reprendre la découpe": the cut of Text9 taken up after the record its .reprise names,
    // the machine first brought back to the stop when it has moved since.
    RunOutcome resume(QWidget* toolPage, RunVariant variant);
    DecencoursPanel* panel() const { return panel_; }
    // The panel's refresh: progress, position, path and time left (its timer, four times a second).
    void showProgress();
    // The outcome of the last run, once it has ended.
    const RunOutcome& last() const { return last_; }

    // RunHost: fields, pace and progress are also called from the machine's thread.
    const RunFields& fields() override;
    uint64_t fieldsVersion() override { return version_; }
    void setFeeds(const std::string& Text10, const std::string& Text11) override;
    int scrollPosition() override;
    void setScrollPosition(int position) override;
    void showRun() override;
    void stopShown() override;
    void endRun() override;
    void progress(uint64_t played, uint64_t total) override;

  private:
    // The hourglass as the paused run sets it, carried over to the screen's thread.
    class PostedPointer : public BusyPointer {
      public:
        explicit PostedPointer(RunController& c) : c_(c) {}
        void setBusy(bool busy) override;

      private:
        RunController& c_;
    };
    DecencoursPanel* loadPanel();
    // The port, the fields and their watch, the wiring: false (with its message) when the
    // page has no port.
    bool setUp(QWidget* toolPage, int& port, Wiring& w);
    void unwatch();
    // The frame the steps of a run with this wiring are counted in, for its resume point.
    std::string frameOf(const Wiring& w, RunVariant variant) const;
    RunServices screenServices(int port);
    // The job on the machine: `before` (a move back to the stop) and then the record loop.
    using Before = std::function<Status(JobContext&)>;
    RunOutcome launch(const RunPlan& plan, int port, const Wiring& w, Before before);
    void readFields();
    bool onScreenThread() const { return std::this_thread::get_id() == screen_; }
    void ended(const RunPlan& plan, int address);

    RunState& state_;
    Navigator& navigator_;
    Dialogs& dialogs_;
    Pacer& pacer_;
    BusyPointer& pointer_;
    Machine& machine_;
    PostedPointer posted_{*this};
    struct NoYield : Yield {
        void yield() override {}
    } noYield_;  // the checks and the end messages never yield
    std::thread::id screen_;
    QPointer<QWidget> page_;
    QPointer<DecencoursPanel> panel_;
    QList<QMetaObject::Connection> watches_;
    QTimer refresh_;
    RunOutcome last_;
    PlayResult played_;
    std::atomic<bool> loopStarted_{false};  // the record loop was reached (not stopped before)
    // Where the cut now playing started, as the machine counts steps.
    std::array<long, 3> origin_{};
    // The last stop of this session: a resume of it knows whether the machine moved since.
    struct Stop {
        std::string cut;
        uint64_t played = 0;
        std::array<long, 3> origin{};
    };
    std::optional<Stop> stop_;

    RunFields fields_;  // screen's copy, read again whenever a field changes
    std::mutex fieldsMutex_;
    RunFields shared_;     // handed over to the machine's thread
    RunFields jobFields_;  // the machine thread's own copy
    std::atomic<uint64_t> version_{0};
    std::atomic<int> pace_{0};  // the panel's scroll-bar position as the delays read it
    std::atomic<uint64_t> played_count_{0}, total_{0};
};

}  // namespace vornelle
