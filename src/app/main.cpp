// Start-up: create the main window and show it; nothing else happens until a page needs it.
#include <QApplication>
#include <cstdlib>
#include <cstring>

#include "mainwindow.h"
#include "pages.h"
#include "ui/qtext.h"
#include "ui/qtservices.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Vornelle");
    // Without the translations the program's own boxes stay French; only Qt's menus do not.
    vornelle::installQtFrench(app);
    vornelle::QtDialogs dialogs;
    struct Late : vornelle::Navigator {
        vornelle::Navigator* target = nullptr;
        void show(vornelle::PageId p) override { target->show(p); }
        void hide(vornelle::PageId p) override { target->hide(p); }
        void close(vornelle::PageId p) override { target->close(p); }
    } navigator;
    // VORNELLE_PORT=simule keeps the simulated machine even where a parallel port exists.
    const char* choice = std::getenv("VORNELLE_PORT");
    vornelle::PortSelector ports(!(choice && std::strcmp(choice, "simule") == 0));
    ports.simulated().setRecording(false);
    vornelle::CountedPause pacer;
    vornelle::QtBusyPointer pointer;
    vornelle::RunState run;
    vornelle::DrawingShared drawing;
    // Every motion runs on the machine's thread; its end is handed back to this one.
    vornelle::Machine machine(ports, vornelle::postToScreen(&app));
    vornelle::RunController runner(run, navigator, dialogs, pacer, pointer, machine);
    vornelle::AppServices services{dialogs, navigator, machine, pacer, pointer, run, drawing, runner};
    vornelle::MainWindow window(
        [&services](vornelle::PageId id) { return vornelle::makePage(id, services); });
    navigator.target = &window;
    machine.onBusyChanged([&window](bool busy) { window.setMotionBusy(busy); });
    // A port that exists but cannot be claimed is a setup problem the user must hear about;
    // a machine without any parallel port simply works on the simulated one.
    ports.onChange([&window, &dialogs](const std::string& d, const std::string& problem, bool exists) {
        window.setPortStatus(vornelle::qs(d), vornelle::qs(problem));
        if (!problem.empty() && exists)
            dialogs.message(problem + "\nLa machine simulée est utilisée à la place.",
                            vornelle::style::kExclamationOk, "Port parallèle");
    });
    window.show();
    // LPT1 until a page reads the configured port; nothing is written before a command.
    ports.select(888, vornelle::Wiring{});
    int code = app.exec();
    // The last window closed during a motion: the motion ends before what it uses goes.
    machine.abandon();
    return code;
}
