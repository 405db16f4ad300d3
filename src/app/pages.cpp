// Page construction; see pages.h.
#include "pages.h"

#include "aboutbox.h"
#include "base/folders.h"
#include "config/configurationpage.h"
#include "cutfile/toolpage.h"
#include "drawing/dessinpage.h"
#include "manual/joystickpage.h"

namespace vornelle {

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
                        return new ToolPage(
                            s.dialogs, s.navigator, s.pointer, [] { return cheminTemp(); },
                            [] { return dossierTravail(); }, s.run, s.drawing,
                            [&s](ToolPage* page, bool invZ) {
                                s.runner.run(page, invZ ? RunVariant::Command12 : RunVariant::Command11);
                            });
                    },
                    [](QWidget* w) { static_cast<ToolPage*>(w)->formLoad(); }};
        case PageId::Form5:
            return {[&s] {
                        return new JoystickPage(
                            s.dialogs, s.navigator, [] { return cheminTemp(); }, s.ports, s.yield, s.pacer);
                    },
                    [](QWidget* w) { static_cast<JoystickPage*>(w)->formLoad(); }};
        default:
            return {};
    }
}

}  // namespace vornelle
