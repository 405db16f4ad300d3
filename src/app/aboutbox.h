// The about box Form2, a small window of its own outside the main window.
#pragma once

#include <QWidget>

namespace vornelle {

QWidget* makeAboutBox();

}  // namespace vornelle
