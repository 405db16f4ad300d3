// G-code programs on the tool page: the file list of drawings also shows them (*.nc, *.ngc,
// *.gcode, *.tap, *.cnc, whatever their case), and "Créer fichier fraisage (DEF)" turns one
// into a cut file instead of reading it as a drawing.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "base/interfaces.h"
#include "cutfile/generation/generation.h"
#include "preview.h"
#include "ui/filepanel.h"

namespace vornelle {

// Whether `path` names a G-code program by its extension, in any case.
bool isGcodeProgram(const std::string& path);

// Adds the folder's G-code programs to the panel's file list while `shown()` holds, after
// every listing of a folder; relist() after the page changed the pattern or refreshed.
class GcodeListing : public QObject {
  public:
    GcodeListing(FilePanel* panel, std::function<bool()> shown);
    void relist();

  private:
    FilePanel* panel_;
    std::function<bool()> shown_;
};

// The preview of `path`: a G-code program's moves in the XY plane (program millimetres, arcs
// as chords within a picture unit or so), else the FRA drawing's lines (previewLines). A
// refused program shows its moves up to the refused line, without an error.
PreviewResult previewOf(const std::string& path, double facteur, double c);

// The G-code program `in.text1` into a cut file, with the tool page's fields; `Text2` the
// coefficient (the length of a dwell's ticks). The result as the drawing's generation gives
// it, the feeds the program asks for added to the success message.
GenerationResult generateFromGcode(const GenerationInput& in, const std::string& Text2,
                                   const std::string& work, BusyPointer& pointer);

}  // namespace vornelle
