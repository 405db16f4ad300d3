// vornelle-cli check --png: the decoded XY path written as a PNG picture.
#pragma once

#include <optional>
#include <string>

#include "commands.h"
#include "run/decode/decodetask.h"

namespace vornelle::cli {

// "800x600" (or "800X600"), each side 16 to 8000 pixels; none given keeps w and h.
bool pictureSize(const std::optional<std::string>& text, int& w, int& h, Output& out);

// Draws with Qt's painter on an image, without a display (the offscreen platform).
bool writePathPng(const DecodeResult& r, const std::string& file, int w, int h, Output& out);

}  // namespace vornelle::cli
