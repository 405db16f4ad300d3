// The one place that knows every page: creates each page with the services and shared
// state it needs, for the main window's registry.
#pragma once

#include "base/interfaces.h"
#include "drawing/shared.h"
#include "mainwindow.h"
#include "port/machine.h"
#include "port/step.h"
#include "run/page/runcontroller.h"
#include "run/runstate.h"

namespace vornelle {

struct AppServices {
    Dialogs& dialogs;
    Navigator& navigator;
    Machine& machine;
    Pacer& pacer;
    BusyPointer& pointer;
    RunState& run;
    DrawingShared& drawing;
    RunController& runner;
};

MainWindow::PageMaker makePage(PageId id, AppServices& services);

}  // namespace vornelle
