// Page construction; see pages.h.
#include "pages.h"

#include <QPointer>

#include "aboutbox.h"
#include "base/folders.h"
#include "config/page/configurationpage.h"
#include "cutfile/page/toolpage.h"
#include "drawing/page/dessinpage.h"
#include "manual/page/joystickpage.h"

namespace vornelle {
namespace {
// The page refuses motion commands while any motion runs; told at creation and at every change.
template <class P>
P* followMachine(P* page, Machine& machine) {
    page->setMotionBusy(machine.busy());
    int id = machine.onBusyChanged([p = QPointer<P>(page)](bool busy) {
        if (p) p->setMotionBusy(busy);
    });
    // A page made again later must not leave its old listener behind.
    QObject::connect(page, &QObject::destroyed, [&machine, id] { machine.removeBusyListener(id); });
    return page;
}
}  // namespace

MainWindow::PageMaker makePage(PageId id, AppServices& s) {
    switch (id) {
        case PageId::Configuration:
            return {
                [&s] { return new ConfigurationPage(s.dialogs, s.navigator, [] { return cheminTemp(); }); },
                [](QWidget* w) { static_cast<ConfigurationPage*>(w)->formLoad(); }};
        case PageId::Form2:
            return {[] { return makeAboutBox(); }, {}};
        case PageId::Dessin:
            return {[&s] {
                        return new DessinPage(
                            s.dialogs, s.navigator, s.pointer, [] { return cheminTemp(); },
                            [] { return dossierTravail(); }, s.drawing);
                    },
                    [](QWidget* w) { static_cast<DessinPage*>(w)->formLoad(); }};
        case PageId::Mach:
            return {[&s] {
                        auto* tool = new ToolPage(
                            s.dialogs, s.navigator, s.pointer, [] { return cheminTemp(); },
                            [] { return dossierTravail(); }, s.run, s.drawing,
                            [&s](ToolPage* page, bool invZ) {
                                s.runner.run(page, invZ ? RunVariant::Command12 : RunVariant::Command11);
                            });
                        tool->resumeButton()->setAction([&s, tool] {
                            bool invZ = tool->property("invZ").toBool();
                            s.runner.resume(tool, invZ ? RunVariant::Command12 : RunVariant::Command11);
                        });
                        return followMachine(tool, s.machine);
                    },
                    [](QWidget* w) { static_cast<ToolPage*>(w)->formLoad(); }};
        case PageId::Form5:
            return {[&s] {
                        return followMachine(
                            new JoystickPage(
                                s.dialogs, s.navigator, [] { return cheminTemp(); }, s.machine, s.pacer),
                            s.machine);
                    },
                    [](QWidget* w) { static_cast<JoystickPage*>(w)->formLoad(); }};
        default:
            return {};
    }
}

}  // namespace vornelle
