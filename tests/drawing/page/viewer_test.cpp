// The view of the drawing page: mapping through the picture's window, zoom steps, sizes that
// wait for the next scroll or zoom, the counts check and the type error, the wheel, Ajuster
// and the coordinate read-out.
#include "drawing/page/viewer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "recordingpainter.h"
#include "testsupport.h"

using namespace vornelle;
using test::Drawn;

namespace {
struct Viewer {
    test::ScriptedDialogs dialogs;
    Drawing d;
    DrawingViewer v{dialogs, d};
    Viewer() {
        d.appendRecord("0", "0", "0");
        d.appendRecord("10", "20", "1");
        d.appendRecord("10", "20", "0");
        d.finishLoad();
        v.drawingChanged();
    }
    void press(const char* n) { v.findChild<QPushButton*>(n)->click(); }
    QScrollBar* bar(const char* n) { return v.findChild<QScrollBar*>(n); }
    std::vector<Drawn> lines() {
        test::RecordingPainter p;
        v.paintTo(p);
        return p.of(Drawn::Line);
    }
};
}  // namespace

TEST(Viewer, MappingZoomAndSizes) {
    Viewer t;
    EXPECT_TRUE(t.lines().empty());  // nothing drawn before a zoom, scroll or click
    t.v.setVScroll(0);
    auto lines = t.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].x2, 15);
    EXPECT_DOUBLE_EQ(lines[0].y2, 80);
    EXPECT_EQ(t.v.picture()->left(), 0);
    EXPECT_EQ(t.v.picture()->top(), 0);

    t.press("Command13");
    t.press("Command13");
    EXPECT_DOUBLE_EQ(t.v.facteur(), 1.69);
    t.press("Command5");
    EXPECT_DOUBLE_EQ(t.v.facteur(), 1.3);
    EXPECT_TRUE(t.dialogs.calls.empty());

    // Agrandir: no change of size until the next scroll; then 140 by 87 mm.
    QSize before = t.v.picture()->size();
    t.press("Command1");
    EXPECT_EQ(t.v.picture()->size(), before);
    EXPECT_FALSE(t.v.scene().clearFirst);
    t.bar("HScroll1")->setValue(10);
    EXPECT_DOUBLE_EQ(t.v.picture()->widthMm(), 140);
    EXPECT_DOUBLE_EQ(t.v.picture()->heightMm(), 87);
    EXPECT_EQ(t.v.picture()->left(), 10);
    EXPECT_GT(t.v.picture()->width(), before.width());
    EXPECT_EQ(t.bar("HScroll1")->minimum(), -500);
    EXPECT_EQ(t.bar("HScroll1")->maximum(), 1000);
    EXPECT_EQ(t.bar("VScroll1")->maximum(), 500);
}

TEST(Viewer, ChecksAndErrors) {
    test::ScriptedDialogs dialogs;
    Drawing empty;
    DrawingViewer v(dialogs, empty);
    v.zoomIn();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "Choisir un fichier!");
    EXPECT_EQ(dialogs.calls[0].title, "Mauvaise saisie !");
    EXPECT_EQ(dialogs.calls[0].style, 272);

    Viewer t;
    t.d.List1.push_back("3");
    t.v.drawingChanged();
    t.press("Command13");
    EXPECT_EQ(t.dialogs.calls.back().text,
              "Vérifier que les deux listes comtiennent le même nombre de coordonnées");
    EXPECT_EQ(t.dialogs.calls.back().title, "Défaut");
    EXPECT_DOUBLE_EQ(t.v.facteur(), 1);
    EXPECT_EQ(t.v.scene().variant, Redraw::None);

    // The list-click overflow: the message, and facteur halved.
    Viewer o;
    o.d.List2.set(2, "800000");
    o.v.drawingChanged();
    o.v.setFacteur(2);
    o.v.resetClickGuard();
    o.v.listClickRedraw(1);
    EXPECT_EQ(o.dialogs.calls.back().text, "faire un zoom + petit (zoom-)!");
    EXPECT_DOUBLE_EQ(o.v.facteur(), 1);
    // The guard: a second redraw from the same click draws nothing more.
    size_t shown = o.dialogs.calls.size();
    o.v.listClickRedraw(1);
    EXPECT_EQ(o.dialogs.calls.size(), shown);
    EXPECT_EQ(o.v.clickGuard(), 2);
}

TEST(Viewer, WheelAjusterAndReadout) {
    Viewer t;
    t.v.setVScroll(0);
    // The drawing point under the mouse stays there (to the millimetre of the scroll bars).
    double x = 15, y = 80;  // the record (10, 20)
    t.v.wheel(x, y, 1);
    EXPECT_DOUBLE_EQ(t.v.facteur(), 1.3);
    double nx = pictureX(1.3, 10) - t.v.picture()->left(), ny = pictureY(1.3, 20) - t.v.picture()->top();
    EXPECT_NEAR(nx, x, 0.5);
    EXPECT_NEAR(ny, y, 0.5);
    t.v.wheel(x, y, -1);
    EXPECT_NEAR(t.v.facteur(), 1, 1e-12);

    t.press("Ajuster");
    for (const Drawn& l : t.lines()) {
        EXPECT_GE(l.x2 - t.v.picture()->left(), 0);
        EXPECT_LE(l.x2 - t.v.picture()->left(), 135);
        EXPECT_GE(l.y2 - t.v.picture()->top(), 0);
        EXPECT_LE(l.y2 - t.v.picture()->top(), 82);
    }
    EXPECT_GT(t.v.facteur(), 2);

    t.v.setFacteur(1);
    emit t.v.picture()->moved(15, 80);
    EXPECT_EQ(t.v.findChild<QLabel*>("Label1")->text(), "10");
    EXPECT_EQ(t.v.findChild<QLabel*>("Label5")->text(), "20");
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(Viewer, PicturePaintsTheMappedPath) {
    // A long horizontal cut at Y = 20 and a travel after it: black and light red on white at
    // 80 mm from the top, nothing elsewhere; then scrolled 10 mm down, at 70 mm.
    test::ScriptedDialogs dialogs;
    Drawing d;
    d.appendRecord("0", "20", "0");
    d.appendRecord("10", "20", "1");
    d.appendRecord("100", "20", "1");
    d.appendRecord("100", "20", "0");
    d.appendRecord("120", "20", "0");  // travel to the next cut
    d.finishLoad();
    DrawingViewer v(dialogs, d);
    v.drawingChanged();
    v.setVScroll(0);
    const double s = v.picture()->pixelsPerMm();
    QImage image = v.picture()->grab().toImage();
    auto at = [&](double xmm, double ymm) {
        return QColor(
            image.pixel(static_cast<int>(std::lround(xmm * s)), static_cast<int>(std::lround(ymm * s))));
    };
    EXPECT_EQ(at(60, 80), QColor(Qt::black));
    EXPECT_EQ(at(60, 60), QColor(Qt::white));
    EXPECT_EQ(at(115, 80), QColor(255, 0, 0));
    v.setVScroll(10);
    image = v.picture()->grab().toImage();
    EXPECT_EQ(at(60, 70), QColor(Qt::black));
    EXPECT_EQ(at(60, 80), QColor(Qt::white));
    EXPECT_TRUE(dialogs.calls.empty());
}
