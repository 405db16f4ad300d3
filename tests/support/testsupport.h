// Helpers shared by the tests: a temporary folder removed at the end, scripted dialogs that
// record every box and answer from a script, the samples, and small file helpers.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/interfaces.h"
#include "port/step.h"

namespace vornelle::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    // Path ending in '/'.
    std::string path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

struct DialogCall {
    std::string text;
    int style;
    std::string title;
};

class ScriptedDialogs : public Dialogs {
  public:
    Button message(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;

    // The texts of the boxes shown, in order.
    std::vector<std::string> texts() const;

    std::vector<DialogCall> calls;
    std::deque<Button> answers;  // Yes/No answers, in order; Yes when the script runs out
    std::deque<std::optional<std::string>> inputs;
    std::vector<std::string> prompts;
};

class RecordingNavigator : public Navigator {
  public:
    void show(PageId p) override { log.push_back("show " + name(p)); }
    void hide(PageId p) override { log.push_back("hide " + name(p)); }
    void close(PageId p) override { log.push_back("close " + name(p)); }
    static std::string name(PageId p);
    std::vector<std::string> log;
};

// The busy pointer as a count: back to 0 once every busy spell has ended.
struct CountingPointer : BusyPointer {
    void setBusy(bool b) override {
        depth += b ? 1 : -1;
        ++changes;
    }
    int depth = 0;
    int changes = 0;  // calls, busy or not
};

// Counts yields and runs a script at each one (drive flags "from the yield", as a click would).
class ScriptedYield : public Yield {
  public:
    void yield() override {
        ++count;
        if (onYield) onYield();
    }
    long count = 0;
    std::function<void()> onYield;
};

// Records the iteration count of every pause without waiting.
class RecordingPacer : public Pacer {
  public:
    bool attentePas(double V, double c, std::string& error) override {
        auto n = pauseCount(V, c);
        if (!n) {
            error = coefficientMessage(std::to_string(c));
            return false;
        }
        counts.push_back(*n);
        return true;
    }
    std::vector<uint64_t> counts;

  protected:
    void waitIterations(uint64_t n) override { counts.push_back(n); }
};

// A file of tests/samples, by its path below that folder ("dxf/....dxf").
std::string sample(const std::string& name);
// The DXF sample most tests draw from: a circle (records 0 to 75 once imported, one cut) and a
// square 10 mm across (76 to 82, the second cut).
std::string squareSample();

std::string slurp(const std::string& path);
void spit(const std::string& path, const std::string& contents);

// Replaces the disk layer while it lives: a free space, a disk that fills after a number of
// bytes, a folder where no file can be created, renames that fail.
class FaultyDisk {
  public:
    FaultyDisk();
    ~FaultyDisk();
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;
    std::optional<uint64_t> free;       // bytes reported free on every file system
    std::optional<uint64_t> fullAfter;  // bytes written (all files together) before ENOSPC
    std::string lockedFolder;           // files beginning with this path cannot be created
    bool failRename = false;            // every rename fails (EIO)
    uint64_t written = 0;               // bytes let through
    int faults = 0;                     // operations refused

  private:
    DiskLayer saved_;
};

}  // namespace vornelle::test
