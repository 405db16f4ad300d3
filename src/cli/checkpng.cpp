// The PNG of check --png; see checkpng.h. The picture is painted by the same drawing as the
// cut-in-progress panel's, through the drawing view's Qt painter, so the colours are the view's.
#include "checkpng.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <charconv>
#include <memory>

#include "run/decode/pathpicture.h"
#include "ui/qtpainter.h"

namespace vornelle::cli {

bool pictureSize(const std::optional<std::string>& text, int& w, int& h, Output& out) {
    if (!text) return true;
    const std::string& t = *text;
    size_t x = t.find_first_of("xX");
    int a = 0, b = 0;
    auto number = [](const std::string& s, int& v) {
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() && end == s.data() + s.size();
    };
    if (x == std::string::npos || !number(t.substr(0, x), a) || !number(t.substr(x + 1), b) || a < 16 ||
        b < 16 || a > 8000 || b > 8000) {
        out.error = "Taille d'image \"" + t + "\" invalide : saisir LARGEURxHAUTEUR en pixels, de 16 à 8000.";
        return false;
    }
    w = a, h = b;
    return true;
}

bool writePathPng(const DecodeResult& r, const std::string& file, int w, int h, Output& out) {
    // Text needs a font database, hence an application; never a display.
    std::unique_ptr<QGuiApplication> app;
    static int argc = 3;
    static char arg0[] = "vornelle-cli", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    // The platform's notes (no runtime folder, ...) are no message of this program's.
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(previous);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter qp(&image);
        PathFrame f = fitPathFrame(r.figures, r.setup, w, h);
        QtPainter painter(qp, f.left, f.top, f.pixelsPerMm, image.size());
        drawPathPicture(*r.path, r.figures, r.setup, f, painter);
    }
    if (!image.save(QString::fromLocal8Bit(file.c_str()), "PNG")) {
        out.error = "Impossible d'écrire l'image " + file + ".";
        return false;
    }
    return true;
}

}  // namespace vornelle::cli
