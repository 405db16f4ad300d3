// The cut strategy's settings: tool diameter and its compensation, depth per pass, holding
// tabs and cut direction, as typed on the tool page or the command line, and as numbers once
// checked. With none of them typed the classic generation runs unchanged.
#pragma once

#include <optional>
#include <string>

#include "base/message.h"

namespace vornelle {

enum class Compensation { Automatic, Outside, Inside, OnLine };
enum class CutDirection { Conventional, Climb };

// The texts as typed (decimal comma or point). The compensation and direction are keywords:
// "" (the default), "auto", "exterieur", "interieur", "trait"; "" , "conventionnel", "avalant".
struct StrategyTexts {
    std::string diameter, compensation, stepDown, tabs, tabWidth, tabHeight, direction;
    bool any() const;
    bool operator==(const StrategyTexts&) const = default;
};

struct StrategySettings {
    double diameter = 0;  // mm; 0: the tool follows the line
    Compensation compensation = Compensation::Automatic;
    double depth = 0;      // mm, the full depth ("Profondeur de passe en Z")
    double stepDown = 0;   // mm per pass; 0: one pass at the full depth
    int tabs = 0;          // per outline
    double tabWidth = 0;   // mm along the tool's path
    double tabHeight = 0;  // mm from the bottom of the cut
    CutDirection direction = CutDirection::Conventional;
};

// The settings of `t` with the full depth `depth` (mm, converted as the classic generation
// converts it), or the French refusal of the first text that cannot be used.
std::optional<Message> parseStrategy(const StrategyTexts& t, double depth, StrategySettings& s);

// A text typed with a decimal comma or a decimal point ("2,5", "2.5"); no value otherwise.
std::optional<double> commaOrPoint(const std::string& text);

// The texts a user reads for a keyword, as the tool page's lists show them.
const char* compensationLabel(Compensation c);

}  // namespace vornelle
