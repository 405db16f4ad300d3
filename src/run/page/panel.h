// The cut-in-progress panel decencours: its buttons raise the run-control flags, its scroll
// bar sets the pace and edits the feed of the current state, and it shows how far the run
// has come. A window of its own, outside the main window.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <chrono>

#include "runlive.h"
#include "run/runstate.h"

namespace vornelle {

class DecencoursPanel : public QWidget {
    Q_OBJECT
  public:
    explicit DecencoursPanel(RunState& state, QWidget* parent = nullptr);

    QScrollBar* scrollBar() const { return HScroll1; }
    // The path, the tool's position and the time left.
    RunLive* live() const { return live_; }
    // Starts the clock of the progress line.
    void startProgress();
    // Records played out of the total; redrawn at most four times a second.
    void progress(uint64_t played, uint64_t total, bool force = false);
    // While a run plays, closing the window asks for an emergency stop.
    void setRunning(bool running) { running_ = running; }
    // Shown above the program's windows, activated, the focus on "Arret d'urgence".
    void showRunning();
    // The pace the run has set (a change of material): the scroll bar and Label1 follow,
    // without the operator's write-back into the feeds.
    void showPace(int position);

  protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    RunState& state_;
    QScrollBar* HScroll1;
    QLabel* Label1;
    QLabel* progress_;
    QPushButton* stop_;
    RunLive* live_;
    bool running_ = false;
    std::chrono::steady_clock::time_point start_, shown_;
};

// "12:05" or "1:02:03".
QString durationText(double seconds);

}  // namespace vornelle
