// Drawing view of the page; see viewer.h.
#include "viewer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <cmath>

#include "base/numbers.h"

namespace vornelle {
namespace {
const char* kSizeTip =
    "Après action sur la commande cliquer sur le curseur à glissière pour forcer la modification";
constexpr double kZoom = 1.3;
constexpr double kSmallest = 20;  // mm: "Réduire" stops here, so the picture never vanishes
}  // namespace

DrawingViewer::DrawingViewer(Dialogs& dialogs, const Drawing& drawing, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), drawing_(drawing) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* readout = new QHBoxLayout;
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setAccessibleName("X sous la souris");
    Label5 = new QLabel(this);
    Label5->setObjectName("Label5");
    Label5->setAccessibleName("Y sous la souris");
    for (QLabel* l : {Label1, Label5}) {
        l->setMinimumWidth(120);
        readout->addWidget(l);
    }
    readout->addStretch();
    grid->addLayout(readout, 0, 0, 1, 2);

    Picture1 = new DrawingPicture(this);
    Picture1->setObjectName("Picture1");
    Picture1->setAccessibleName("Dessin");
    Picture1->render = [this](Painter& p) { paint(p); };
    grid->addWidget(Picture1, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName("VScroll1");
    VScroll1->setAccessibleName("Défilement vertical");
    VScroll1->setRange(-500, 500);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setAccessibleName("Défilement horizontal");
    HScroll1->setRange(-500, 1000);
    for (QScrollBar* s : {HScroll1, VScroll1}) {
        s->setSingleStep(1);
        s->setPageStep(20);
        // A change is a redraw with its checks: on release, as a scroll bar's Change event.
        s->setTracking(false);
    }
    grid->addWidget(VScroll1, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(HScroll1, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { scrolled(false); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { scrolled(true); });

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const char* caption, void (DrawingViewer::*run)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, run);
        buttons->addWidget(b);
        return b;
    };
    button("Command13", "Zoom +", &DrawingViewer::zoomIn);
    button("Command5", "Zoom -", &DrawingViewer::zoomOut);
    button("Command1", "Agrandir la fenetre ", &DrawingViewer::agrandir)->setToolTip(kSizeTip);
    button("Command2", "Réduire la fenetre", &DrawingViewer::reduire)->setToolTip(kSizeTip);
    button("Ajuster", "Ajuster", &DrawingViewer::ajuster)
        ->setToolTip("Montrer tout le dessin dans la fenêtre");
    buttons->addStretch();
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);

    connect(Picture1, &DrawingPicture::moved, this, &DrawingViewer::showCoordinates);
    connect(Picture1, &DrawingPicture::wheeled, this, &DrawingViewer::wheel);
    applySizes();
}

void DrawingViewer::drawingChanged() {
    pathStale_ = true;
    scene_.variant = Redraw::None;
    overlay_ = false;
    Picture1->update();
}

const ViewPath& DrawingViewer::path() {
    if (pathStale_) {
        path_ = buildPath(drawing_);
        pathStale_ = false;
    }
    return path_;
}

DrawEnd DrawingViewer::paintTo(Painter& p) {
    return paint(p);
}

DrawEnd DrawingViewer::paint(Painter& p) {
    DrawEnd end = drawPath(drawing_, path(), scene_, p);
    if (overlay_) drawOverlay(path(), p);
    return end;
}

void DrawingViewer::showEntryOverlay() {
    overlay_ = true;
    Picture1->update();
}

bool DrawingViewer::countsOk() {
    if (drawing_.List1.size() == drawing_.List2.size()) return true;
    dialogs_.message("Vérifier que les deux listes comtiennent le même nombre de coordonnées", style::kStopOk,
                     "Défaut");
    return false;
}

void DrawingViewer::applySizes() {
    double s = Picture1->pixelsPerMm();
    VScroll1->setFixedHeight(static_cast<int>(std::lround(vsc * s)));
    HScroll1->setFixedWidth(static_cast<int>(std::lround(hsc * s)));
    Picture1->setSizeMm(lim, him);
    applyWindow();
}

void DrawingViewer::applyWindow() {
    Picture1->setWindow(HScroll1->value(), VScroll1->value());
}

void DrawingViewer::redraw(Redraw variant, bool clearFirst) {
    scene_ = {variant, facteur_, -1, clearFirst};
    overlay_ = overlay_ && !clearFirst;
    Picture1->update();
    // A record that cannot be read ends the redraw with the message; an overflow ends it
    // silently (the lines before it stay).
    if (checkPath(path(), facteur_) == DrawEnd::TypeError)
        dialogs_.message("Choisir un fichier!", style::kStopOk, "Mauvaise saisie !");
}

void DrawingViewer::zoomIn() {
    if (!countsOk()) return;
    applySizes();
    facteur_ = facteur_ * kZoom;
    redraw(Redraw::Zoom);
}

void DrawingViewer::zoomOut() {
    if (!countsOk()) return;
    applySizes();
    facteur_ = facteur_ / kZoom;
    redraw(Redraw::Zoom);
}

void DrawingViewer::scrolled(bool vertical) {
    if (!countsOk()) return;
    applySizes();
    redraw(vertical ? Redraw::Cuts : Redraw::Zoom);
}

void DrawingViewer::setVScroll(int value) {
    if (VScroll1->value() == value)
        scrolled(true);
    else
        VScroll1->setValue(value);
}

// The new sizes wait for the next scroll or zoom; only the window is set now.
void DrawingViewer::agrandir() {
    vsc += 5, hsc += 5, him += 5, lim += 5;
    applyWindow();
    redraw(Redraw::Cuts, false);
}

void DrawingViewer::reduire() {
    if (std::min({vsc, hsc, him, lim}) - 5 >= kSmallest) vsc -= 5, hsc -= 5, him -= 5, lim -= 5;
    applyWindow();
    redraw(Redraw::Cuts);
}

void DrawingViewer::listClickRedraw(long selected) {
    if (CptBcle == 0 && drawing_.List1.size() == drawing_.List2.size()) {
        applySizes();
        scene_ = {Redraw::ListClick, facteur_, selected, true};
        overlay_ = false;
        Picture1->update();
        if (checkPath(path(), facteur_) == DrawEnd::Overflow) {
            dialogs_.message("faire un zoom + petit (zoom-)!", style::kStopOk, "Mauvaise saisie !");
            facteur_ /= 2;
        }
    }
    ++CptBcle;
}

void DrawingViewer::showCoordinates(double x, double y) {
    Label1->setText(QString::fromStdString(numberText((x - 5) / facteur_, ',')));
    Label5->setText(QString::fromStdString(numberText((100 - y) / facteur_, ',')));
}

// Sets both origins at once (one redraw), widening a bar's range when the window needs it.
void DrawingViewer::moveWindow(double left, double top) {
    int l = static_cast<int>(std::lround(left)), t = static_cast<int>(std::lround(top));
    const QSignalBlocker bh(HScroll1), bv(VScroll1);
    if (l < HScroll1->minimum()) HScroll1->setMinimum(l);
    if (l > HScroll1->maximum()) HScroll1->setMaximum(l);
    if (t < VScroll1->minimum()) VScroll1->setMinimum(t);
    if (t > VScroll1->maximum()) VScroll1->setMaximum(t);
    HScroll1->setValue(l);
    VScroll1->setValue(t);
}

void DrawingViewer::wheel(double x, double y, int steps) {
    if (drawing_.List1.size() != drawing_.List2.size() || path().size() == 0) return;
    double f = facteur_ * std::pow(kZoom, steps);
    if (checkPath(path(), f) == DrawEnd::Overflow) return;
    // The drawing point under the mouse stays under the mouse.
    double dx = (x - 5) / facteur_, dy = (100 - y) / facteur_;
    double sx = x - Picture1->left(), sy = y - Picture1->top();
    facteur_ = f;
    moveWindow(pictureX(f, dx) - sx, pictureY(f, dy) - sy);
    applySizes();
    redraw(Redraw::Zoom);
}

void DrawingViewer::ajuster() {
    if (!countsOk()) return;
    applySizes();
    if (auto fit = fitPath(path(), lim, him)) {
        facteur_ = fit->facteur;
        moveWindow(fit->left, fit->top);
        applyWindow();
    }
    redraw(Redraw::Zoom);
}

}  // namespace vornelle
