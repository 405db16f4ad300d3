// The machine-parameter record and its two files in the data folder: vrnl1.cfg (28 items)
// and vrnlman.cfg (the three arrow-inversion boxes of the joystick page).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/outcome.h"

namespace vornelle {

struct configmachine {
    // Items 1 to 25: texts exactly as typed (decimal comma).
    std::string pasmmX, pasmmY, pasmmZ;  // steps per mm
    std::string coefvitesse;             // step of the pause count
    std::string vitdecoupe;              // preset feed in the material, 0..100
    std::string vithorsmatiere;          // preset feed out of the material, 0..100
    std::string descenteZ;               // mm
    std::string numport;                 // "1" or "2"
    std::string degagement;              // tool-change clearance, mm
    std::string poidsdirX, poidsclkX, poidsdirY, poidsclkY, poidsdirZ, poidsclkZ;  // bit weights
    std::string poidsnc1, poidsnc2;
    std::string pindirX, pinclkX, pindirY, pinclkY, pindirZ, pinclkZ;  // connector pins 2..9
    std::string pinnc1, pinnc2;
    // Items 26 to 28: 0 or 1.
    int invX = 0, invY = 0, invZ = 0;

    static constexpr int kTextCount = 25;
    static constexpr int kItemCount = 28;
    // The 25 texts in file order.
    std::array<std::string*, kTextCount> texts();
    std::array<const std::string*, kTextCount> texts() const;
    bool operator==(const configmachine&) const = default;
};

constexpr const char* kConfigFile = "vrnl1.cfg";
constexpr const char* kArrowFile = "vrnlman.cfg";

// Result of reading vrnl1.cfg: the items read in order (those not reached stay empty or 0)
// and, when the file is missing, short or unreadable, the French message that says so.
struct ConfigRead {
    configmachine config;
    int itemsRead = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};

// The one line of vrnl1.cfg for a record (CR LF included).
std::string configLine(const configmachine& c);
// Replaces vrnl1.cfg in `folder` (ending in '/') with one line.
Status sauveconfig(const std::string& folder, const configmachine& c);
bool existeconfig(const std::string& folder);
ConfigRead lisconfig(const std::string& folder);

// Port base address from numport: 632 when it equals 2, 888 for any other number, none
// when numport is not a number.
std::optional<uint16_t> portAddress(const std::string& numport);

// Checks a record read for a page that moves the machine: the message to show when the
// port number is missing, else empty.
std::string configIncomplete(const configmachine& c);

struct ArrowFlags {
    bool x = false, y = false, z = false;
    bool operator==(const ArrowFlags&) const = default;
};
// vrnlman.cfg: creates the default line of three quoted zeros when the file is missing.
Status creefleches(const std::string& folder);
Outcome<ArrowFlags> lisfleches(const std::string& folder);
Status sauvefleches(const std::string& folder, ArrowFlags flags);

}  // namespace vornelle
