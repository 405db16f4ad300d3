// Jog step rate at V = 1 through the whole engine: the joystick page shown on the offscreen
// platform, the move on the machine's thread with the real pause, the simulated machine. Prints steps per second.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "config/configmachine.h"
#include "manual/page/joystickpage.h"
#include "ui/qtservices.h"

namespace {
struct NoNavigation : vornelle::Navigator {
    void show(vornelle::PageId) override {}
    void hide(vornelle::PageId) override {}
    void close(vornelle::PageId) override {}
};
}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::string dir = (std::filesystem::temp_directory_path() / "vornelle-jog-bench/").string();
    std::filesystem::create_directories(dir);
    vornelle::configmachine c;
    c.pasmmX = "1000";
    c.pasmmY = c.pasmmZ = "1000";
    c.coefvitesse = "0,01";
    c.numport = "1";
    c.poidsdirX = "1", c.poidsclkX = "2", c.poidsdirY = "4", c.poidsclkY = "8", c.poidsdirZ = "16",
    c.poidsclkZ = "32";
    vornelle::sauveconfig(dir, c);

    vornelle::QtDialogs dialogs;
    NoNavigation nav;
    vornelle::PortSelector ports(false);
    ports.simulated().setRecording(false);
    vornelle::CountedPause pacer;
    vornelle::Machine machine(ports, vornelle::postToScreen(&app));
    vornelle::JoystickPage page(
        dialogs, nav, [dir] { return vornelle::Outcome<std::string>(dir); }, machine, pacer);
    page.show();
    page.formLoad();
    page.findChild<QScrollBar*>("HScroll1")->setValue(1);
    page.findChild<QLineEdit*>("Text2")->setText("200");  // 200 mm x 1000 steps/mm
    auto t0 = std::chrono::steady_clock::now();
    page.findChild<QPushButton*>("Command10")->click();
    while (machine.busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    auto t1 = std::chrono::steady_clock::now();
    double s = std::chrono::duration<double>(t1 - t0).count();
    long steps = ports.simulated().steps(0);
    std::printf(
        "jog V=1 on the machine thread: %ld steps in %.3f s = %.0f steps/s (%.2f us per step, 2 writes + 2 "
        "pauses)\n",
        steps, s, steps / s, 1e6 * s / steps);
    std::filesystem::remove_all(dir);
}
