// The tool page's preview Picture1: the lines of an FRA drawing at the page's scale. The
// lines are computed by previewLines() (no Qt) and the widget only paints them.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "run/decode/decodetask.h"

namespace vornelle {

struct PreviewLine {
    double x1, y1, x2, y2;  // drawing units of the picture: 50 per drawing unit x facteur
};

// Reads the FRA file and returns the lines from record to record: (50 px + 5, c - 50 py)
// with p = facteur x the coordinates. Fails on a file that cannot be read or a coordinate
// that is not a number ("unreadable"), or on a line beyond the picture's range ("overflow").
struct PreviewResult {
    std::vector<PreviewLine> lines;
    bool overflow = false;
    std::string error;
};
PreviewResult previewLines(const std::string& path, double facteur, double c);

class PreviewPicture : public QWidget {
  public:
    explicit PreviewPicture(QWidget* parent = nullptr);
    void setLines(std::vector<PreviewLine> lines);
    void clear() { setLines({}); }
    const std::vector<PreviewLine>& lines() const { return lines_; }
    // The decoded path of the cut file drawn over the drawing: machine millimetres at
    // `unitsPerMm` picture units each, from the drawing's origin (50 x 0 + 5, c - 50 x 0).
    void setOverlay(std::shared_ptr<const DecodeResult> decoded);
    void setOverlayScale(double unitsPerMm, double c);
    bool hasOverlay() const { return overlay_ != nullptr; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<PreviewLine> lines_;
    std::shared_ptr<const DecodeResult> overlay_;
    double unitsPerMm_ = 25, c_ = 55;
};

}  // namespace vornelle
