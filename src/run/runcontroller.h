// Runs "Découper" for the tool page: reads the page's fields by their names, loads and
// unloads the panel, hides and shows the tool page, and hands all of it to the run engine.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "base/interfaces.h"
#include "panel.h"
#include "port/portselector.h"
#include "port/step.h"
#include "runengine.h"

namespace vornelle {

class RunController : public QObject, public RunHost {
    Q_OBJECT
  public:
    RunController(RunState& state, Navigator& navigator, Dialogs& dialogs, Yield& yield, Pacer& pacer,
                  BusyPointer& pointer, PortSelector& ports, QObject* parent = nullptr);

    // Plays the cut of `toolPage` (its fields Text9, Text10, ... and its "port" and
    // "wiring" properties). Returns when the run has ended, was refused or cancelled.
    RunOutcome run(QWidget* toolPage, RunVariant variant);
    DecencoursPanel* panel() const { return panel_; }

    const RunFields& fields() override { return fields_; }
    void setFeeds(const std::string& Text10, const std::string& Text11) override;
    int scrollPosition() override;
    void setScrollPosition(int position) override;
    void showRun() override;
    void stopShown() override;
    void endRun() override;
    void progress(uint64_t played, uint64_t total) override;

  private:
    DecencoursPanel* loadPanel();
    void readFields();

    RunState& state_;
    Navigator& navigator_;
    Dialogs& dialogs_;
    Yield& yield_;
    Pacer& pacer_;
    BusyPointer& pointer_;
    PortSelector& ports_;
    QPointer<QWidget> page_;
    QPointer<DecencoursPanel> panel_;
    RunFields fields_;
};

}  // namespace vornelle
