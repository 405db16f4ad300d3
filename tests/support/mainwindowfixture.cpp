// The main window with its services on a data folder of its own, for the window's tests and
// the README's pictures; see mainwindowfixture.h.
#include "mainwindowfixture.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "machinetest.h"
#include "ui/qtservices.h"

namespace vornelle::test {

DataHome::DataHome(const std::function<void(const TempDir&)>& prepare) {
    ::setenv("VORNELLE_HOME", dir.path().c_str(), 1);
    if (prepare) prepare(dir);
}

DataHome::~DataHome() {
    ::unsetenv("VORNELLE_HOME");
}

void drawingFolder(const TempDir& dir, const std::string& config, const std::string& dxf,
                   const std::string& name) {
    spit(dir.file("vrnl1.cfg"), config);
    std::filesystem::create_directories(dir.file("pieces"));
    std::filesystem::copy(dxf, dir.file("pieces/" + name));
}

MainWindowFixture::MainWindowFixture(const std::function<void(const TempDir&)>& prepare)
    : DataHome(prepare), machine(ports, postToScreen(qApp)) {
    window = std::make_unique<MainWindow>([this](PageId id) { return makePage(id, services); });
    nav.target = window.get();
    machine.onBusyChanged([w = window.get()](bool busy) { w->setMotionBusy(busy); });
}

MainWindowFixture::~MainWindowFixture() {
    waitIdle(machine);
    window.reset();
}

}  // namespace vornelle::test
