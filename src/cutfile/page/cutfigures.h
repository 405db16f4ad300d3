// Under the tool page's preview: the figures of the cut file just created or loaded, decoded
// off the screen's thread (a long file takes a moment), one line each, problems in red. The
// duration follows the feeds typed afterwards without decoding again.
#pragma once

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "cutfile/toolfields.h"
#include "run/decode/decodetask.h"

namespace vornelle {

// The tool page's fields as the generation and the run read them, found by their names.
ToolFields toolFieldsOf(const QWidget* page);

class CutFigures : public QWidget {
    Q_OBJECT
  public:
    // `page` holds the fields (Text9, Text10, ...), read when a decoding starts.
    explicit CutFigures(QWidget* page, QWidget* parent = nullptr);

    // Decodes `file` with the page's wiring and shows its figures once done.
    void decode(const std::string& file);
    void clear();
    bool decoding() const { return decoding_; }
    const std::shared_ptr<const DecodeResult>& result() const { return result_; }
    // The lines shown, in their order.
    QStringList lines() const;

  signals:
    // A decoding has ended (its path is drawn over the preview), or the figures were cleared.
    void decoded(std::shared_ptr<const DecodeResult> result);

  private:
    void show(std::shared_ptr<const DecodeResult> r);
    void showLines();
    void message(const QString& text, bool problem);
    void watchFeeds();

    QWidget* page_;
    QVBoxLayout* lines_;
    DecodeTask task_;
    std::shared_ptr<const DecodeResult> result_;
    bool decoding_ = false;
    bool watching_ = false;
};

}  // namespace vornelle
