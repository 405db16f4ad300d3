// The view part of the drawing page: Picture1 with its scroll bars HScroll1 and VScroll1,
// "Zoom +", "Zoom -", "Agrandir la fenetre ", "Réduire la fenetre", "Ajuster", the mouse
// wheel, and the coordinate read-out Label1 / Label5. It owns facteur and the picture sizes.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include "base/interfaces.h"
#include "drawing/drawing.h"
#include "picture.h"
#include "drawing/view/view.h"

namespace vornelle {

class DrawingViewer : public QWidget {
    Q_OBJECT
  public:
    DrawingViewer(Dialogs& dialogs, const Drawing& drawing, QWidget* parent = nullptr);

    // The drawing's records changed: their numbers are read again at the next redraw.
    void drawingChanged();
    void zoomIn();    // Command13
    void zoomOut();   // Command5
    void agrandir();  // Command1
    void reduire();   // Command2
    void ajuster();   // "Ajuster": the whole drawing in the picture
    void wheel(double x, double y, int steps);
    // The list-click redraw with `selected` marked; draws only when the guard CptBcle is 0.
    void listClickRedraw(long selected);
    void resetClickGuard() { CptBcle = 0; }
    int clickGuard() const { return CptBcle; }
    // The entry-point overlay over what the picture shows, until the next redraw that clears.
    void showEntryOverlay();
    bool overlayShown() const { return overlay_; }
    // VScroll1 = value; the redraw runs even when the bar is already there.
    void setVScroll(int value);

    double facteur() const { return facteur_; }
    void setFacteur(double f) { facteur_ = f; }
    const Scene& scene() const { return scene_; }
    // Draws the current scene and overlay (what Picture1 shows) with another painter.
    DrawEnd paintTo(Painter& p);
    DrawingPicture* picture() const { return Picture1; }

  private:
    const ViewPath& path();
    DrawEnd paint(Painter& p);
    bool countsOk();
    void applySizes();
    void applyWindow();
    void redraw(Redraw variant, bool clearFirst = true);
    void scrolled(bool vertical);
    void showCoordinates(double x, double y);
    void moveWindow(double left, double top);

    Dialogs& dialogs_;
    const Drawing& drawing_;
    ViewPath path_;
    bool pathStale_ = true;
    Scene scene_;
    bool overlay_ = false;
    double facteur_ = 1;
    // Sizes (mm): picture width and height, horizontal bar width, vertical bar height.
    double lim = 135, him = 82, hsc = 135, vsc = 78;
    int CptBcle = 0;
    DrawingPicture* Picture1;
    QScrollBar *HScroll1, *VScroll1;
    QLabel *Label1, *Label5;
};

}  // namespace vornelle
