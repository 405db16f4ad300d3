// The drawing page on a fresh data folder, for the page's tests: scripted dialogs, a recording
// navigator, a pointer that counts, the data folder data/ and its work folder data/work/ in a
// temporary folder; the samples it loads are in testsupport.h.
#pragma once

#include <memory>

#include "drawing/page/dessinpage.h"
#include "testsupport.h"

namespace vornelle::test {

struct DrawingPageFixture {
    // `shown`: every page made is shown, as in the main window.
    explicit DrawingPageFixture(bool shown = false);
    // A fresh page, loaded, in place of the one there was (the shared state stays).
    void newPage();

    TempDir dir;
    ScriptedDialogs dialogs;
    RecordingNavigator nav;
    CountingPointer pointer;
    DrawingShared shared;
    std::unique_ptr<DessinPage> page;

  private:
    bool shown_;
};

}  // namespace vornelle::test
