// A configured cut file on a temporary folder, for the generation and run tests: the square and
// circle sample saved as FRA, the generation's input on a fresh folder, and a cut file played by
// the run on the simulated machine with the fields the tool page would give it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cutfile/generation/generation.h"
#include "port/backends/simulatedmachine.h"
#include "run/runengine.h"
#include "testsupport.h"

namespace vornelle::test {

// The square and circle sample imported (work files in `work`) and saved as the FRA file `fra`.
::testing::AssertionResult saveSquareFra(const std::string& work, const std::string& fra);

// The generation's input on a fresh folder: the drawing d.fra, the cut file piece, the work
// files in work/; scale 1, a pass of 1 mm, 1 step per mm on every axis, the weights in order,
// no axis inverted, feeds 20 and 10.
struct GenerationRig {
    GenerationRig();
    TempDir dir;
    std::string work;
    CountingPointer pointer;
    GenerationInput in;
};

// The tool page and the panel as the run sees them: the fields, and what the run did to them.
class RecordingHost : public RunHost {
  public:
    explicit RecordingHost(RunState& st) : state(st) {}
    const RunFields& fields() override { return f; }
    uint64_t fieldsVersion() override { return version; }
    void setFeeds(const std::string& a, const std::string& b) override { feeds = {a, b}; }
    int scrollPosition() override { return position; }
    void setScrollPosition(int p) override {
        positions.push_back(p);
        position = p;
        state.scrollChanged(p);
    }
    void showRun() override { log.push_back("show"); }
    void stopShown() override { log.push_back("stop"); }
    void endRun() override { log.push_back("end"); }
    void progress(uint64_t played, uint64_t total) override { lastProgress = {played, total}; }

    RunState& state;
    RunFields f;
    uint64_t version = 0;  // bumped by a test that edits a field during the run
    int position = 0;
    std::vector<int> positions;
    std::vector<std::string> log;
    std::pair<std::string, std::string> feeds;
    std::pair<uint64_t, uint64_t> lastProgress;
};

// A cut file of these records, one a line.
void writeCut(const std::string& path, const std::vector<int>& records);

// One program session playing the cut file `cut` on the simulated machine (port 888): feeds 20
// and 90, coefficient 0,01, 10 Z steps per mm, a clearance of 2 mm, the weights in order.
struct RunSession {
    explicit RunSession(const std::string& cut);
    // Writes the session's cut file.
    void cut(const std::vector<int>& records) { writeCut(host.f.Text9, records); }

    SimulatedMachine machine;
    RunState state;
    RecordingHost host{state};
    ScriptedDialogs dialogs;
    ScriptedYield yield;
    RecordingPacer pacer;
    CountingPointer pointer;
    RunServices services{machine, 888, state, host, dialogs, yield, pacer, pointer};
};

// The folder of a rig, made before the rest of it and removed after.
struct RigFolder {
    TempDir dir;
};

// A session whose cut file is c.def in a fresh folder.
struct RunRig : RigFolder, RunSession {
    RunRig() : RunSession(dir.file("c.def")) {}
};

}  // namespace vornelle::test
