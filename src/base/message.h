// A message box as an engine reports it: the page (or the command-line tool) shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornelle {

struct Message {
    std::string text;
    std::string title;
    int style = 0;
};

// A text read from a file or typed by the user, in double quotes as a message shows it:
// whole when short, otherwise its first 60 characters, "…" and its length in characters,
// so that a damaged file's 10 MB line never becomes a 10 MB message box.
std::string quotedText(std::string_view text);
// The same for the first bytes of a longer text of `bytes` bytes, when only its start was kept.
std::string quotedText(std::string_view start, uint64_t bytes);

}  // namespace vornelle
