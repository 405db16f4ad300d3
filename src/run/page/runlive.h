// What the cut-in-progress panel shows of the run itself: the whole decoded path with the
// part already cut in colour, the tool's place, its position X, Y, Z in mm from the bytes
// the port took, and the time left at the feeds now set. The path is decoded off the
// screen's thread when the run starts; refreshed by the panel's timer.
#pragma once

#include <QLabel>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "run/decode/decodetask.h"
#include "run/decode/pathpicture.h"
#include "run/runengine.h"

namespace vornelle {

// The decoder's setup for the run's fields: the weights, the page's inversions and the Z
// variant, X and Y steps per mm from the tool page (Text6, Text3), Z from Text5.
DecoderSetup runDecoderSetup(const RunFields& f, const std::string& text6, const std::string& text3,
                             const std::array<bool, 3>& inv, RunVariant variant);

class PathView : public QWidget {
  public:
    explicit PathView(QWidget* parent = nullptr);
    void setResult(std::shared_ptr<const DecodeResult> r);
    void setMarks(const PathMarks& m);
    const PathMarks& marks() const { return marks_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::shared_ptr<const DecodeResult> result_;
    PathMarks marks_;
};

class RunLive : public QWidget {
    Q_OBJECT
  public:
    explicit RunLive(QWidget* parent = nullptr);

    // The run of `file` begins, at record `first` (0, or where a resumed run goes on): its
    // path is decoded meanwhile.
    void start(const std::string& file, const DecoderSetup& setup, uint64_t first = 0);
    // Where the tool is (steps from the cut's start, Z positive into the material), the
    // records this run played in and out of the material, and the feeds now set.
    void refresh(const std::array<long, 3>& steps, uint64_t doneIn, uint64_t doneOut, double feedIn,
                 double feedOut);
    bool decoding() const { return decoding_; }
    const std::shared_ptr<const DecodeResult>& result() const { return result_; }
    // Seconds left at the last refresh; none before the path is decoded.
    std::optional<double> remaining() const { return remaining_; }
    // X, Y, Z in mm at the last refresh.
    const std::array<double, 3>& position() const { return mm_; }

  private:
    void decoded(std::shared_ptr<const DecodeResult> r);

    DecoderSetup setup_;
    uint64_t first_ = 0;
    DecodeTask task_;
    std::shared_ptr<const DecodeResult> result_;
    bool decoding_ = false;
    std::optional<double> remaining_;
    std::array<double, 3> mm_{};
    PathView* view_;
    QLabel *position_, *left_;
};

}  // namespace vornelle
