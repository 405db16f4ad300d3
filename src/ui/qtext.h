// Text at the widget boundary: engines hold UTF-8 std::string, widgets hold QString.
#pragma once

#include <QString>
#include <string>

namespace vornelle {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string bytes(const QString& text) {
    return text.toStdString();
}

}  // namespace vornelle
