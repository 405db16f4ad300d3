// The main window wired as the program wires it, for the window's tests and the README's
// pictures: its services on scripted dialogs, the simulated port and a pacer that does not wait,
// on a fresh data folder that VORNELLE_HOME names while the window lives.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/mainwindow.h"
#include "app/pages.h"
#include "testsupport.h"

namespace vornelle::test {

// The pages' navigator: the window, once it exists (the window is made after the services).
struct LateNavigator : Navigator {
    void show(PageId p) override { target->show(p); }
    void hide(PageId p) override { target->hide(p); }
    void close(PageId p) override { target->close(p); }
    Navigator* target = nullptr;
};

// The temporary data folder, named by VORNELLE_HOME from its making to the end of the fixture.
struct DataHome {
    // `prepare` fills the folder (configuration, drawings) before anything else is made.
    explicit DataHome(const std::function<void(const TempDir&)>& prepare);
    ~DataHome();
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;
    TempDir dir;
};

// Fills a data folder: `config` as its configuration file, the DXF sample `dxf` as pieces/`name`.
void drawingFolder(const TempDir& dir, const std::string& config, const std::string& dxf,
                   const std::string& name);

// The window and its services. The window is made but not shown: the pictures size it first.
struct MainWindowFixture : DataHome {
    explicit MainWindowFixture(const std::function<void(const TempDir&)>& prepare = {});
    // Waits for the motion under way, then closes the window.
    ~MainWindowFixture();

    ScriptedDialogs dialogs;
    LateNavigator nav;
    PortSelector ports{false};
    Machine machine;
    RecordingPacer pacer;
    CountingPointer pointer;
    RunState run;
    DrawingShared drawing;
    RunController runner{run, nav, dialogs, pacer, pointer, machine};
    AppServices services{dialogs, nav, machine, pacer, pointer, run, drawing, runner};
    std::unique_ptr<MainWindow> window;
};

}  // namespace vornelle::test
