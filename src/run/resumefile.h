// The state a stopped cut leaves behind so that it can be taken up again: which cut file (its
// name, size and digest, so a changed or other file is refused), how many records were played,
// the run's material state, feeds and pace, and where the machine stood. Kept as NAME.reprise
// beside the cut file, a small text file replaced atomically; removed when the cut ends.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/outcome.h"

namespace vornelle {

struct ResumePoint {
    std::string cut;                 // the cut file's name without its folder
    uint64_t size = 0;               // bytes
    uint64_t digest = 0;             // 64-bit FNV-1a of the contents
    uint64_t played = 0;             // records fully played: the cut goes on with record played + 1
    uint64_t total = 0;              // records of the cut file
    int horsmatiere = 1;             // 1 out of the material, 0 in it
    double vitdans = 0;              // feed in the material, 0..100
    double vithors = 0;              // feed out of the material, 0..100
    int pace = 0;                    // the panel's scroll-bar position
    std::array<long, 3> position{};  // X, Y, Z steps from the cut's start (Z positive down)
    // Z steps the tool stands above the cut (a pause stopped while lifted): the cut goes on
    // that much lower. Not part of `position`, which is where the machine stands.
    long lifted = 0;
    // The frame the position is counted in (machineFrame()); empty in files of older versions.
    std::string frame;
};

// What makes step counts mean the same thing on the machine: DIR and CLOCK weights, the
// inversions, the steps per mm as typed, the Z convention of the run.
std::string machineFrame(const int (&dir)[3], const int (&clk)[3], const bool (&inv)[3],
                         const std::array<std::string, 3>& stepsPerMm, bool zHighIsDown);

// The message of a resume whose frame differs from the machine's now, empty when they agree
// (or the file is too old to say).
std::string frameChange(const std::string& stored, const std::string& now);

// NAME.reprise beside the cut file, NAME being its name without ".def" (any case).
std::string resumePathFor(const std::string& cutPath);

// Size and digest of a file, read whole.
struct FileStamp {
    uint64_t size = 0;
    uint64_t digest = 0;
};
Outcome<FileStamp> stampOf(const std::string& path);

// The point as text, and back; reading refuses anything it does not understand.
std::string resumeText(const ResumePoint& p);
Outcome<ResumePoint> parseResume(const std::string& text);

// Writes the point for `cutPath` (stamping the cut file as it is now).
Status writeResume(const std::string& cutPath, ResumePoint p);
// Before a run's first write: the resume point is no longer safe until the run ends cleanly,
// so a run that dies (power cut, crash, the program closed) can never be resumed from an
// older stop. Reading such a file gives kRunDied.
Status markRunInProgress(const std::string& cutPath);
inline constexpr const char* kRunDied = "La découpe précédente s'est interrompue sans point de reprise sûr.";
// Reads the point of `cutPath` and checks it belongs to that file as it is now; the French
// message says why it cannot be used.
Outcome<ResumePoint> readResume(const std::string& cutPath);
bool hasResume(const std::string& cutPath);
Status removeResume(const std::string& cutPath);

}  // namespace vornelle
