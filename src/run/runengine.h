// The cutting run: plays a cut file to the port, two writes per record (direction lines,
// then direction and clock lines) with a delay after each, follows the tool in and out of
// the material to switch the feed, and carries out the panel's requests (pause, resume,
// deeper, shallower, emergency stop) at fixed points of the loop. No Qt: the port, flags,
// panel, yield, pacer and the tool page's fields come from outside.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "cutfile/pacing/pacingfile.h"
#include "port/portlibrary.h"
#include "port/step.h"
#include "runstate.h"

namespace vornelle {

// Which Z direction level means "down": Command11 low, Command12 high.
enum class RunVariant { Command11, Command12 };

// The tool page's fields as the run reads them (texts, converted by the run).
struct RunFields {
    std::string Text9;                   // cut file
    std::string Text10;                  // feed in the material, decimal 0..100
    std::string Text11;                  // feed out of the material
    std::string Text2;                   // coefficient, decimal > 0
    std::string Text5;                   // Z steps per mm, leading-number
    std::string Text8;                   // clearance in mm, leading-number
    std::array<std::string, 8> weights;  // Text13..Text20, leading-number
};

// What the run needs from the windows around it.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // The fields, read at the moments the run reads them.
    virtual const RunFields& fields() = 0;
    // Changes whenever a field has changed since the last call of fields(); the run converts
    // the texts again only then.
    virtual uint64_t fieldsVersion() { return 0; }
    // Feeds written back to Text10 / Text11 at the end.
    virtual void setFeeds(const std::string& Text10, const std::string& Text11) = 0;
    // The panel's scroll bar (loads the panel); setting it raises its change handling.
    virtual int scrollPosition() = 0;
    virtual void setScrollPosition(int position) = 0;
    virtual void showRun() = 0;    // hide the tool page, show the panel
    virtual void stopShown() = 0;  // after "Découpe arretée !": hide the panel, show the tool page
    virtual void endRun() = 0;     // show the tool page, unload the panel
    // Progress, called every few dozen records and at the end; cheap when nothing changes.
    virtual void progress(uint64_t played, uint64_t total) = 0;
};

struct RunServices {
    PortLibrary& port;
    int16_t address;
    RunState& state;
    RunHost& host;
    Dialogs& dialogs;
    Yield& yield;
    Pacer& pacer;
    BusyPointer& pointer;
};

struct RunOutcome {
    bool started = false;  // confirmed and played (stopped or not)
    bool stopped = false;
    uint64_t records = 0;  // records played
};

// A run the operator has confirmed: the cut file and its number of records.
struct RunPlan {
    std::string name;
    uint64_t total = 0;
    RunVariant variant = RunVariant::Command11;
    // A resumed cut: the first `start` records are read past without a write and the loop
    // goes on in the material state the stopped run had reached.
    uint64_t start = 0;
    bool resumed = false;
    int horsmatiere = 1;
    // Stops as "Arret d'urgence" would once this many records of the file have been played.
    uint64_t stopAfter = UINT64_MAX;
    // Size (bytes) and modification time (ns) of the file when its records were counted: a
    // file changed since is refused before it moves the machine.
    int64_t bytes = -1, modified = -1;
    // Z steps the tool is lowered before the first record: the lift a stop left (confirmed).
    long lower = 0;
    // The machine frame the steps are counted in (machineFrame()), kept in the resume point.
    std::string frame;
    // The cut file's NAME.rythme when it has one (checked to belong to it): each record's
    // feed and pause factor come from it instead of the Z steps.
    std::shared_ptr<const Pacing> pacing;
};

// NAME.rythme beside the cut file, NAME being its name without ".def" (any case).
std::string pacingPathFor(const std::string& cutPath);

// How the record loop ended.
struct PlayResult {
    uint64_t records = 0;  // records played
    std::string failure;   // why the run ended early, empty when it did not fail
    bool busy = true;      // the hourglass is shown
    // Z steps a pause had raised and not yet lowered when a stop or a failure ended the run:
    // the cut itself expects the tool that much lower.
    long lifted = 0;
};

struct ResumePoint;

// The click on "Découper", in four parts so that the loop can play on the machine's thread
// while the checks and messages stay on the screen's:
// the checks, the feeds and "Prêt pour la découpe ?"; a plan when the operator said yes.
// `frame` (machineFrame()) is kept in the resume point of a stop.
std::optional<RunPlan> prepareRun(RunServices& s, RunVariant variant, const std::string& frame = {});
// The same checks for a cut taken up again after record `point.played`, the run state put
// back as it was at the stop, and "Reprendre la découpe à l'enregistrement N sur T ?"; refused
// when the machine's frame is no longer the stop's; a tool left lifted is lowered first, once
// the operator agrees.
std::optional<RunPlan> prepareResume(RunServices& s, RunVariant variant, const ResumePoint& point,
                                     const std::string& frame = {});
// The tool-change clearance Text8 (mm) as the pause lifts it, refused when it is no number or
// more than the Z travel of a router.
std::string clearanceProblem(const RunFields& f);
constexpr double kMaxClearanceMm = 300;
// The hourglass, the panel, the tool out of the material.
void beginRun(RunServices& s);
// The record loop: no message, no window; the flags read and cleared at their points. A
// port that fails ends it with the record reached (the PortFault is caught here and its
// message put in `portFault`).
PlayResult playRun(RunServices& s, const RunPlan& plan, std::string* portFault = nullptr);
// "Découpe arretée !" or "découpe terminée !", the feeds written back, the panel unloaded.
RunOutcome finishRun(RunServices& s, const RunPlan& plan, const PlayResult& played);
// After a run of `plan`: when it stopped, what taking it up again needs, written as the cut
// file's .reprise (`pace` the scroll bar's last position, `position` where the machine is, in
// steps from the cut's start); when it ended normally, the .reprise removed. The message when
// the file could not be written.
Status keepResumePoint(const RunState& st, const RunPlan& plan, const PlayResult& played,
                       const RunOutcome& outcome, int pace, std::array<long, 3> position);
// All four in a row on one thread (command-line tool, tests).
RunOutcome runCut(RunServices& s, RunVariant variant);

}  // namespace vornelle
