// A message box as an engine reports it: the page (or the command-line tool) shows it.
#pragma once

#include <string>

namespace vornelle {

struct Message {
    std::string text;
    std::string title;
    int style = 0;
};

}  // namespace vornelle
