// Text at the widget boundary: engines hold Windows-1252 bytes, widgets hold QString.
#pragma once

#include <QString>
#include <string>

#include "base/cp1252.h"

namespace vornelle {

inline QString qs(const std::string& bytes) { return QString::fromStdU16String(fromCp1252(bytes)); }
inline std::string bytes(const QString& text) { return toCp1252(text.toStdU16String()); }

}  // namespace vornelle
