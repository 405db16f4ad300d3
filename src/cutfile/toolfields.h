// The texts of the tool page's fields that the generation and the run read, as the page
// fills them from the configuration when it loads (hidden fields included).
#pragma once

#include <optional>
#include <string>

#include "config/configmachine.h"
#include "cutfile/generation/generation.h"

namespace vornelle {

struct ToolFields {
    std::string Text6 = "120", Text3 = "120", Text5 = "120";  // X, Y, Z steps per mm
    std::string Text2 = "0,01";                               // coefficient vitesse
    std::string Text10, Text11;                               // feeds in / out of the material
    std::string Text12;                                       // pass depth
    std::string Text8;                                        // tool-change clearance
    std::string Text4 = "1";                                  // scale
    std::array<std::string, 8> weights;                       // Text13..Text20
    std::array<std::string, 3> inversions;                    // Text21..Text23
    std::optional<uint16_t> port;
    bool invZ = false;  // which "Découper" variant shows
};

// Form load, step 3 to 5: the configuration's items into the page's fields.
ToolFields toolFieldsFrom(const configmachine& c);

// The generation's input from the page's fields and the user's texts.
GenerationInput generationInput(const ToolFields& f, const std::string& text1, const std::string& Text9,
                                const std::string& Text7);

}  // namespace vornelle
