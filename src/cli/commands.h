// The commands of vornelle-cli as functions of their parsed arguments, so that tests can run
// them in-process. Each returns the exit status: 0 done, 1 refused or failed, 2 usage error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornelle::cli {

struct Output {
    std::string json;   // one line on standard output
    std::string error;  // the French message on standard error
};

// generate DESSIN.fra NOM --scale --depth --note [--feed-in] [--feed-out], and the cut
// strategy: [--tool-diameter D] [--compensation auto|exterieur|interieur|trait] [--step-down S]
// [--tabs N --tab-width W --tab-height H] [--direction conventionnel|avalant]; texts as typed.
struct GenerateArgs {
    std::string drawing, name, scale, depth, note;
    std::optional<std::string> feedIn, feedOut;
    std::optional<std::string> toolDiameter, compensation, stepDown, tabs, tabWidth, tabHeight, direction;
    // Ramps: --accel-x --accel-y --accel-z (mm/s²) --start-speed (mm/s) --corner (mm), the five
    // together, point or comma; they override the ramps' settings file.
    std::optional<std::string> accelX, accelY, accelZ, startSpeed, corner;
};
int generate(const GenerateArgs& a, Output& out);

// One --entry INDEX=NUMBER: a double click on List6[index], then "Valider" with Text1 = number.
struct Entry {
    size_t index = 0;
    std::string number;
};
// INDEX is a record index written in decimal digits; NUMBER is everything after the first
// "=" (checked later, as "Valider" checks Text1). No value when the text is not of that form.
std::optional<Entry> parseEntry(const std::string& text);

// import-dxf DESSIN.dxf NOM [--extended [--tolerance T] [--join J]] / import-dat PROFIL.dat NOM,
// both [--entry INDEX=NUMBER]... or [--auto-order]
struct ImportArgs {
    bool dxf = true;
    std::string file, name;
    std::vector<Entry> entries;
    bool extended = false;                       // the complete DXF import
    std::optional<std::string> tolerance, join;  // as typed, decimal point or comma
    bool autoOrder = false;                      // "Ordre automatique" before saving
};

// A number typed with a decimal point or a comma ("0.5", "0,5"); no value otherwise.
std::optional<double> pointOrComma(const std::string& text);
int importDrawing(const ImportArgs& a, Output& out);

// play DECOUPE.def [--trace FICHIER] [--paced [--timing FICHIER]] [--stop-after N] [--resume]
struct PlayArgs {
    std::string cut;
    std::optional<std::string> trace;
    // At the pace the run computes from the configuration, on the machine's thread as the
    // page plays it; --timing writes "nanoseconds byte" per port write.
    bool paced = false;
    std::optional<std::string> timing;
    // --virtual-clock (with --paced): no pause is waited; each is added to a clock of 10 ns
    // iterations that starts at the first write, which the times then follow.
    bool virtualClock = false;
    // --home-check --repeatability R [--lose-steps AXE:N]: homes, plays, homes again and
    // compares where the zero switches closed (R in steps); with --lose-steps the simulated
    // machine skips every N-th step the play sends to that axis towards its plus direction.
    bool homeCheck = false;
    std::optional<std::string> repeatability, loseSteps;
    // --stop-after N: stops after record N as "Arret d'urgence" would and keeps NAME.reprise
    // beside the cut file; --resume: goes on from it.
    std::optional<uint64_t> stopAfter;
    bool resume = false;
};
int play(const PlayArgs& a, Output& out);

}  // namespace vornelle::cli

namespace vornelle::cli {

// check DECOUPE.def [--feed-in F] [--feed-out F] [--png FICHIER [--size LxH]]: the cut file
// decoded as the run would play it with the configuration's wiring; feeds as typed (decimal
// point or comma); --png draws the decoded XY path.
struct CheckArgs {
    std::string cut;
    std::optional<std::string> feedIn, feedOut;
    std::optional<std::string> png, size;
};
int check(const CheckArgs& a, Output& out);

}  // namespace vornelle::cli

namespace vornelle::cli {

// latency [--seconds S] [--delay-us D]: how regularly this computer keeps the counted pause.
struct LatencyArgs {
    std::string seconds = "2", delayUs = "100";  // as typed, decimal point or comma
};
int latency(const LatencyArgs& a, Output& out);

}  // namespace vornelle::cli

namespace vornelle::cli {

// generate-gcode PROGRAMME NOM [--scale S] [--arc-tolerance T]: texts as typed (the scale as
// the tool page reads it, the tolerance in mm with a decimal point or comma).
struct GenerateGcodeArgs {
    std::string program, name, scale = "1";
    std::optional<std::string> tolerance;
};
int generateGcode(const GenerateGcodeArgs& a, Output& out);

}  // namespace vornelle::cli
