// The tool page as a program session makes it, for the tool page's tests: scripted dialogs, a
// recording navigator, a pointer that counts, the machine service on the simulated port and the
// run controller, with the page on the data folder data/ of a temporary folder.
#pragma once

#include <memory>
#include <string>

#include "cutfile/page/toolpage.h"
#include "port/machine.h"
#include "run/page/runcontroller.h"
#include "testsupport.h"

namespace vornelle::test {

// A configuration: 200 steps per mm in X and Y, 400 in Z, the pins and weights in order, the
// Z axis inverted; `feedIn` and `feedOut` the feeds in and out of the material.
std::string toolConfig(const std::string& feedIn, const std::string& feedOut);

// One program session: the page is made, its folders `home`data/ and `home`data/work/, but not
// loaded; its two cut buttons start the run (Command12 with the Z axis inverted).
struct ToolPageSession {
    ToolPageSession(PortSelector& ports, const std::string& home);
    // Waits for the motion under way, then closes the page.
    ~ToolPageSession();
    ToolPageSession(const ToolPageSession&) = delete;
    ToolPageSession& operator=(const ToolPageSession&) = delete;
    // "Créer fichier fraisage (DEF)" on the FRA drawing `fra` for the cut file `name`, note "note".
    void makeCutFile(const std::string& fra, const std::string& name);

    ScriptedDialogs dialogs;
    RecordingNavigator nav;
    CountingPointer pointer;
    RunState run;
    DrawingShared drawing;
    PortSelector& ports;
    Machine machine;
    RecordingPacer pacer;
    RunController runner{run, nav, dialogs, pacer, pointer, machine};
    std::unique_ptr<ToolPage> page;
};

// What outlives the sessions: the temporary folder, with data/work/ and the configuration
// `config` unless empty, and the port.
struct ToolPageHome {
    explicit ToolPageHome(const std::string& config);
    TempDir dir;
    PortSelector ports{false};
};

// A session of its own on a fresh folder.
struct ToolPageFixture : ToolPageHome, ToolPageSession {
    explicit ToolPageFixture(const std::string& config = {})
        : ToolPageHome(config), ToolPageSession(ToolPageHome::ports, dir.path()) {}
    using ToolPageHome::ports;  // the session's, by name
};

}  // namespace vornelle::test
