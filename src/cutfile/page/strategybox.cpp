// The tool page's group "Stratégie de coupe"; see strategybox.h.
#include "strategybox.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/qtext.h"

namespace vornelle {
namespace {

// The lists' choices and the keywords the engine and the details file take; the first is the
// default, kept as "".
const char* kCompensations[][2] = {
    {"Automatique", ""}, {"Extérieur", "exterieur"}, {"Intérieur", "interieur"}, {"Sur le trait", "trait"}};
const char* kDirections[][2] = {{"Conventionnel", ""}, {"En avalant", "avalant"}};

template <size_t N>
void fill(QComboBox* box, const char* (&choices)[N][2]) {
    for (const auto& c : choices) box->addItem(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]));
}

template <size_t N>
int indexOf(const char* (&choices)[N][2], const std::string& keyword) {
    for (size_t i = 0; i < N; ++i)
        if (keyword == choices[i][1] || (i == 0 && (keyword == "auto" || keyword == "conventionnel")))
            return int(i);
    return 0;
}

}  // namespace

StrategyBox::StrategyBox(QWidget* parent) : QGroupBox("Stratégie de coupe", parent) {
    setObjectName("strategie");
    auto* g = new QGridLayout(this);
    diameter_ = field("diametre", "Diamètre de l'outil",
                      "Diamètre de la fraise en mm ; vide ou 0 : l'outil suit le trait", 0);
    compensation_ = new QComboBox;
    compensation_->setObjectName("compensation");
    fill(compensation_, kCompensations);
    compensation_->setToolTip(
        "Automatique : un contour est découpé à l'extérieur, un trou à l'intérieur ; les contours ouverts "
        "restent sur le trait");
    auto* cl = new QLabel("Compensation");
    cl->setBuddy(compensation_);
    // A list is named by its current choice unless told otherwise: the label names it here.
    compensation_->setAccessibleName(cl->text());
    // Three pairs a row (tool, passes, tabs), so the drawing below keeps its height.
    g->addWidget(cl, 0, 2);
    g->addWidget(compensation_, 0, 3);
    step_ = field("passe", "Profondeur par passe",
                  "mm par passe ; vide : une seule passe à la profondeur de passe en Z", 3);
    tabs_ = field("attaches", "Nombre d'attaches", "Attaches par contour extérieur qui tiennent la pièce", 6);
    tabWidth_ =
        field("largeurattache", "Largeur des attaches", "mm, mesurés le long du chemin de l'outil", 7);
    tabHeight_ = field("hauteurattache", "Hauteur des attaches",
                       "mm depuis le fond de la coupe, au plus la profondeur", 8);
    direction_ = new QComboBox;
    direction_->setObjectName("sens");
    fill(direction_, kDirections);
    direction_->setToolTip(
        "Conventionnel : contours dans le sens inverse des aiguilles d'une montre, trous dans le sens des "
        "aiguilles (broche tournant à droite)");
    auto* dl = new QLabel("Sens");
    dl->setBuddy(direction_);
    direction_->setAccessibleName(dl->text());
    g->addWidget(dl, 0, 4);
    g->addWidget(direction_, 0, 5);
    g->setColumnStretch(6, 1);
}

// `place`: the pair's place in the grid, three pairs a row.
QLineEdit* StrategyBox::field(const char* name, const char* caption, const char* tip, int place) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setToolTip(QString::fromUtf8(tip));
    e->setMaximumWidth(90);
    auto* l = new QLabel(QString::fromUtf8(caption));
    l->setBuddy(e);
    auto* g = static_cast<QGridLayout*>(layout());
    g->addWidget(l, place / 3, 2 * (place % 3));
    g->addWidget(e, place / 3, 2 * (place % 3) + 1);
    return e;
}

StrategyTexts StrategyBox::texts() const {
    StrategyTexts t;
    t.diameter = bytes(diameter_->text());
    t.compensation = bytes(compensation_->currentData().toString());
    t.stepDown = bytes(step_->text());
    t.tabs = bytes(tabs_->text());
    t.tabWidth = bytes(tabWidth_->text());
    t.tabHeight = bytes(tabHeight_->text());
    t.direction = bytes(direction_->currentData().toString());
    if (compensation_->currentIndex() == 0) t.compensation = firstCompensation_;
    if (direction_->currentIndex() == 0) t.direction = firstDirection_;
    return t;
}

void StrategyBox::setTexts(const StrategyTexts& t) {
    diameter_->setText(qs(t.diameter));
    compensation_->setCurrentIndex(indexOf(kCompensations, t.compensation));
    step_->setText(qs(t.stepDown));
    tabs_->setText(qs(t.tabs));
    tabWidth_->setText(qs(t.tabWidth));
    tabHeight_->setText(qs(t.tabHeight));
    direction_->setCurrentIndex(indexOf(kDirections, t.direction));
    firstCompensation_ = compensation_->currentIndex() == 0 ? t.compensation : "";
    firstDirection_ = direction_->currentIndex() == 0 ? t.direction : "";
}

}  // namespace vornelle
