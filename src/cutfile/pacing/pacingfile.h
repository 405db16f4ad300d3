// The pacing file NOM.rythme beside a cut file: for every run of ticks, the factor by which
// the run lengthens its pause and which feed applies (in or out of the material), planned
// ahead of time for what a tick cannot say. It names the cut file it belongs to by its
// record count and the FNV-1a 64-bit digest of its bytes.
//
//   RYTHME 1
//   records=N digest=HHHHHHHHHHHHHHHH
//   COUNT FACTOR FEED [P]    (one line per run; counts sum to N; FEED M = Text10, H = Text11;
//                            P: the run pauses after the run's last record, as on "Pause")
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/outcome.h"

namespace vornelle {

enum class PacingFeed : char { In = 'M', Out = 'H' };

struct PacingRun {
    uint64_t count = 0;  // ticks, at least 1
    double factor = 1;   // pause factor, at least 1
    PacingFeed feed = PacingFeed::In;
    bool pauseAfter = false;  // a pause point (M0 / M1) after the last record of the run
};

struct CutStamp {
    uint64_t records = 0;  // lines of the cut file
    uint64_t digest = 0;   // FNV-1a 64 of all its bytes
};

struct Pacing {
    CutStamp cut;
    std::vector<PacingRun> runs;
};

// The stamp of the cut file `def`, read once from its start to its end.
Outcome<CutStamp> cutStampOf(const std::string& def);
// FNV-1a 64-bit, continued from `hash` (start from kFnvStart).
constexpr uint64_t kFnvStart = 14695981039346656037ull;
uint64_t fnv1a(uint64_t hash, const void* data, size_t size);

// The file's text (CR LF line ends), then the whole file replaced. Runs of the same factor
// and feed side by side are written as one.
std::string pacingText(const Pacing& p);
Status writePacing(const std::string& path, const Pacing& p);

// Pause points after the given records (counted from 1; 0 and past the end are ignored):
// the runs are split so that each point ends a run.
void markPauses(std::vector<PacingRun>& runs, const std::vector<uint64_t>& afterRecords);

// Reads and checks the file: header, stamp, every run, the counts adding up to the records.
Outcome<Pacing> readPacing(const std::string& path);

// Why `p` does not belong to the cut file `def` (another record count or digest), empty when
// it does.
std::string pacingMismatch(const Pacing& p, const std::string& def);

}  // namespace vornelle
