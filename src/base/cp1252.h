// Windows-1252, the single-byte code page of every file of the program, to and from UTF-16
// (what the widgets hold). Pages convert at the widget boundary; engines keep bytes.
#pragma once

#include <string>
#include <string_view>

namespace vornelle {

std::u16string fromCp1252(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'.
std::string toCp1252(std::u16string_view text);

}  // namespace vornelle
