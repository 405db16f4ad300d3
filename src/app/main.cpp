// Start-up: create the main window and show it; nothing else happens until a page needs it.
#include <QApplication>

#include "mainwindow.h"
#include "pages.h"
#include "ui/qtservices.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Vornelle");
    vornelle::QtDialogs dialogs;
    struct Late : vornelle::Navigator {
        vornelle::Navigator* target = nullptr;
        void show(vornelle::PageId p) override { target->show(p); }
        void hide(vornelle::PageId p) override { target->hide(p); }
        void close(vornelle::PageId p) override { target->close(p); }
    } navigator;
    vornelle::AppServices services{dialogs, navigator};
    vornelle::MainWindow window([&services](vornelle::PageId id) { return vornelle::makePage(id, services); });
    navigator.target = &window;
    window.setPortStatus("Port simulé (aucun port parallèle)");
    window.show();
    return app.exec();
}
