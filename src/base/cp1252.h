// Windows-1252, the single-byte code page of every file of the program. Inside the program
// texts are UTF-8 (like file names, the terminal and the widgets on Linux); the field reader
// and writer convert at the file boundary, so files keep their single-byte layout.
#pragma once

#include <string>
#include <string_view>

namespace vornelle {

std::u16string fromCp1252(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'.
std::string toCp1252(std::u16string_view text);

bool isAscii(std::string_view text);
std::string cp1252ToUtf8(std::string_view bytes);
// Invalid UTF-8 and characters outside Windows-1252 become '?'.
std::string utf8ToCp1252(std::string_view text);

}  // namespace vornelle
