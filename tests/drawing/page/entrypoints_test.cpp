// Entry points and cut order through the real drawing page on the offscreen platform: the
// double click on List6 and its refusal, Form7 and its three commands, the overlay after
// "Valider", and "Réorganisation coupes" on a real DXF sample, with its failure path.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "drawing/order/autoorder.h"
#include "drawing/order/cutorder.h"
#include "drawing/page/dessinpage.h"
#include "drawingpagefixture.h"
#include "recordingpainter.h"

using namespace vornelle;
using test::Drawn;

namespace {
// A circle (records 0 to 75, one cut) and a square (76 to 82, the second cut).
const std::string kSquare = test::squareSample();

// The page shown, as in the main window.
struct Fixture : test::DrawingPageFixture {
    Fixture() : DrawingPageFixture(true) {}
    void loadDxf(const std::string& path) {
        page->choise();
        page->findChild<QAbstractButton*>("Option2")->click();
        page->findChild<QLineEdit*>("Text2")->setText(QString::fromStdString(path));
        page->findChild<QAbstractButton*>("Command8")->click();
        ASSERT_TRUE(dialogs.calls.empty()) << dialogs.calls.back().text;
    }
    QListView* list(int n) { return page->lists()->list(n); }
    // A user's double click on the record of List6.
    void doubleClick(int row) {
        QListView* l = list(6);
        QModelIndex at = l->model()->index(row, 0);
        l->scrollTo(at);
        // As the window system sends it: press and release, then the double click.
        QPoint centre = l->visualRect(at).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, centre);
    }
    QPushButton* form7Button(const char* name) { return page->form7()->findChild<QPushButton*>(name); }
    QLineEdit* text1() { return page->form7()->findChild<QLineEdit*>("Text1"); }
    // Double click, the order number in Text1, "Valider".
    void enter(int row, const char* number) {
        doubleClick(row);
        ASSERT_NE(page->form7(), nullptr);
        text1()->setText(number);
        form7Button("Command1")->click();
    }
    std::string shown(int list, int row) {
        return this->list(list)->model()->index(row, 0).data().toString().toStdString();
    }
    const Drawing& drawing() { return page->drawing(); }
};
}  // namespace

TEST(EntryPointsPage, DoubleClickRefusedOutOfTheMaterialThenForm7) {
    Fixture f;
    f.loadDxf(kSquare);
    ASSERT_EQ(f.drawing().size(), 83u);
    // The circle's approach and lift, the square's approach: refused, no dialog.
    for (int row : {0, 75, 76}) {
        f.dialogs.calls.clear();
        f.doubleClick(row);
        ASSERT_EQ(f.dialogs.calls.size(), 1u) << row;
        EXPECT_EQ(f.dialogs.calls[0].text,
                  "Ne pas mettre de point d'entrée hors de la matière (quand les coordonnées Z sont à 0)");
        EXPECT_EQ(f.dialogs.calls[0].title, "essaie encore");
        EXPECT_EQ(f.dialogs.calls[0].style, 272);
        EXPECT_EQ(f.page->form7(), nullptr);
    }
    f.dialogs.calls.clear();
    f.doubleClick(79);
    EXPECT_TRUE(f.dialogs.calls.empty());
    Form7* form = f.page->form7();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(f.page->selectedRecord(), 79u);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isWindow());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->windowTitle(), "Form7");
    EXPECT_EQ(f.text1()->text(), "1");
    auto* label = form->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Numéro d'ordre de la découpe ");
    EXPECT_EQ(label->buddy(), f.text1());
    EXPECT_EQ(f.form7Button("Command1")->text(), "Valider un nouveau point d'entrée dans la matière");
    EXPECT_EQ(f.form7Button("Command2")->text(), "Supprimer un point d'entrée dans la matière");
    EXPECT_EQ(f.form7Button("Command3")->text(), "Supprimer tous les points d'entrée");
    // The page's own Command3 is not confused with Form7's.
    EXPECT_EQ(f.page->findChild<QPushButton*>("Command3")->text(), "Réorganisation coupes");

    // Entrée on List6 opens the same dialog, for the keyboard.
    form->hide();
    f.list(6)->setCurrentIndex(f.list(6)->model()->index(40, 0));
    QTest::keyClick(f.list(6), Qt::Key_Return);
    EXPECT_EQ(f.page->form7(), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(f.page->selectedRecord(), 40u);
}

TEST(EntryPointsPage, ValiderNumbersOnAndDrawsTheOverlayWithoutFacteur) {
    Fixture f;
    f.loadDxf(kSquare);
    f.page->findChild<QPushButton*>("Command13")->click();  // Zoom +: facteur 1.3
    ASSERT_DOUBLE_EQ(f.page->viewer()->facteur(), 1.3);
    f.enter(79, "1");
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.drawing().List6[79], "1");
    EXPECT_EQ(f.shown(6, 79), "1");
    EXPECT_EQ(f.text1()->text(), "2");
    EXPECT_EQ(f.shared.form7Text1, "2");
    EXPECT_FALSE(f.page->form7()->isVisible());

    // The zoomed path, then the overlay over it at scale 1, nothing cleared in between.
    ASSERT_TRUE(f.page->viewer()->overlayShown());
    test::RecordingPainter p;
    f.page->viewer()->paintTo(p);
    const Drawing& d = f.drawing();
    const size_t n = d.size();
    auto lines = p.of(Drawn::Line);
    ASSERT_EQ(lines.size(), 2 * (n - 1));
    EXPECT_EQ(p.of(Drawn::Clear).size(), 1u);
    EXPECT_EQ(p.calls.back().kind, Drawn::Line);
    auto points = p.of(Drawn::Point);
    ASSERT_EQ(points.size(), 2u);
    double x0 = *coordinateValue(d.List1[0]), y0 = *coordinateValue(d.List2[0]);
    EXPECT_EQ(points[1].colour, Colour::Black);
    EXPECT_DOUBLE_EQ(points[1].x1, x0 - 1);
    EXPECT_DOUBLE_EQ(points[1].y1, 100 - y0);
    for (size_t i = 1; i < n; ++i) {
        const Drawn& l = lines[n - 1 + i - 1];
        EXPECT_DOUBLE_EQ(l.x1, *coordinateValue(d.List1[i - 1]) + 5) << i;
        EXPECT_DOUBLE_EQ(l.y1, 100 - *coordinateValue(d.List2[i - 1])) << i;
        EXPECT_DOUBLE_EQ(l.x2, *coordinateValue(d.List1[i]) + 5) << i;
        EXPECT_DOUBLE_EQ(l.y2, 100 - *coordinateValue(d.List2[i])) << i;
        EXPECT_EQ(l.colour, d.List3[i] == "0" ? Colour::LightRed : Colour::Foreground) << i;
    }
    // The next redraw that clears the picture takes the overlay away.
    f.page->findChild<QPushButton*>("Command5")->click();
    EXPECT_FALSE(f.page->viewer()->overlayShown());

    // Text1 that is not a number: refused, Form7 stays open, nothing changed.
    f.dialogs.calls.clear();
    f.enter(37, "deux");
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, kEntryNotANumber);
    EXPECT_EQ(f.dialogs.calls[0].style, 272);
    EXPECT_EQ(f.drawing().List6[37], ".");
    EXPECT_TRUE(f.page->form7()->isVisible());
    EXPECT_EQ(f.text1()->text(), "deux");
    EXPECT_FALSE(f.page->viewer()->overlayShown());
}

TEST(EntryPointsPage, SupprimerOneOrAllKeepsText1AndRunsOnAcrossDrawings) {
    Fixture f;
    f.loadDxf(kSquare);
    f.enter(79, "1");
    f.enter(37, "2");
    Form7* form = f.page->form7();
    // "Supprimer un point d'entrée dans la matière" on the record last double-clicked.
    f.doubleClick(37);
    f.form7Button("Command2")->click();
    EXPECT_EQ(f.drawing().List6[37], ".");
    EXPECT_EQ(f.shown(6, 37), ".");
    EXPECT_EQ(f.drawing().List6[79], "1");
    EXPECT_FALSE(form->isVisible());
    // "Supprimer tous les points d'entrée": one "." per record, Text1 as it was.
    f.doubleClick(79);
    EXPECT_EQ(f.page->form7(), form);  // shown again, not made anew
    f.form7Button("Command3")->click();
    EXPECT_EQ(f.drawing().List6.toVector(), std::vector<std::string>(83, "."));
    EXPECT_EQ(f.shown(6, 79), ".");
    EXPECT_EQ(f.text1()->text(), "3");
    EXPECT_FALSE(form->isVisible());

    // Another drawing, then another page: the number runs on. Form7 open on the record of the
    // drawing replaced closes: its index would stand for another point.
    f.doubleClick(79);
    ASSERT_TRUE(form->isVisible());
    f.loadDxf(kSquare);
    EXPECT_FALSE(form->isVisible());
    f.doubleClick(79);
    EXPECT_EQ(f.text1()->text(), "3");
    f.text1()->setText("7");
    f.newPage();
    f.loadDxf(kSquare);
    f.doubleClick(79);
    EXPECT_EQ(f.text1()->text(), "7");
}

TEST(EntryPointsPage, ReorganisationSwapsTheCutsAndShowsTheNewOrder) {
    Fixture f;
    f.loadDxf(kSquare);
    Drawing original = f.drawing();
    auto* command3 = f.page->findChild<QPushButton*>("Command3");
    EXPECT_EQ(command3->toolTip(), "Commande à utiliser quand le nouvel ordre est entièrement choisi.");
    f.enter(79, "1");  // the square, entered at its far corner
    f.enter(37, "2");  // the circle, entered half way round
    command3->click();
    EXPECT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    const Drawing& d = f.drawing();
    ASSERT_EQ(d.size(), 83u);
    EXPECT_EQ(d.Text3, "2");
    EXPECT_EQ(f.page->findChild<QLineEdit*>("Text3")->text(), "2");
    // The square first, from record 79; the circle after it, from record 37.
    EXPECT_EQ(d.List1[1], original.List1[79]);
    EXPECT_EQ(d.List2[1], original.List2[79]);
    EXPECT_EQ(d.List1[8], original.List1[37]);
    EXPECT_EQ(d.List2[8], original.List2[37]);
    // The lists show the rebuilt drawing at once.
    EXPECT_EQ(f.shown(5, 1), "1");
    EXPECT_EQ(f.shown(5, 8), "2");
    EXPECT_EQ(f.shown(3, 7), "0");
    EXPECT_EQ(f.shown(6, 79), ".");
    EXPECT_EQ(d.List6.toVector(), std::vector<std::string>(83, "."));

    // The view: the list-click redraw with the cut numbers on the new plunge records.
    EXPECT_EQ(f.page->viewer()->scene().variant, Redraw::ListClick);
    test::RecordingPainter p;
    f.page->viewer()->paintTo(p);
    auto texts = p.of(Drawn::Text);
    ASSERT_EQ(texts.size(), 2u);
    const double fa = f.page->viewer()->facteur();
    for (size_t k = 0; k < 2; ++k) {
        size_t at = k == 0 ? 1 : 8;
        EXPECT_EQ(texts[k].text, std::to_string(k + 1));
        EXPECT_DOUBLE_EQ(texts[k].x1, fa * *coordinateValue(d.List1[at]) + 5);
        EXPECT_DOUBLE_EQ(texts[k].y1, 100 - fa * *coordinateValue(d.List2[at]));
        EXPECT_EQ(texts[k].colour, Colour::LightGreen);
    }
}

TEST(EntryPointsPage, MissingNumberFailsWithEveryEntryPointCleared) {
    Fixture f;
    f.loadDxf(kSquare);
    Drawing original = f.drawing();
    f.enter(79, "1");  // the circle has none
    f.page->findChild<QPushButton*>("Command3")->click();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, "le nombre de découpes est incompatible avec le fichier d'origine");
    EXPECT_EQ(f.dialogs.calls[0].title, "Mauvaise saisie !");
    EXPECT_EQ(f.dialogs.calls[0].style, 272);
    const Drawing& d = f.drawing();
    EXPECT_EQ(d.List1.toVector(), original.List1.toVector());
    EXPECT_EQ(d.List3.toVector(), original.List3.toVector());
    EXPECT_EQ(d.List5.toVector(), original.List5.toVector());
    EXPECT_EQ(d.List6.toVector(), std::vector<std::string>(83, "."));
    EXPECT_EQ(f.shown(6, 79), ".");
    EXPECT_EQ(f.shown(5, 77), original.List5[77]);
    EXPECT_EQ(f.text1()->text(), "2");

    // Read back from an FRA file, whose markers frame the travels, the drawing fails the same.
    ASSERT_TRUE(writeFra(f.drawing(), f.dir.file("carre.fra")));
    f.page->choise();
    f.page->findChild<QAbstractButton*>("Option1")->click();
    f.page->findChild<QLineEdit*>("Text2")->setText(QString::fromStdString(f.dir.file("carre.fra")));
    f.page->findChild<QAbstractButton*>("Command4")->click();
    ASSERT_EQ(f.dialogs.calls.size(), 1u) << f.dialogs.calls.back().text;
    ASSERT_EQ(f.drawing().size(), 85u);
    Drawing read = f.drawing();
    f.enter(3, "2");  // record 78 before, shifted by the origin record
    f.enter(40, "3");
    f.text1()->setText("1");
    f.enter(2, "1");
    EXPECT_EQ(f.dialogs.calls.size(), 1u);
    f.page->findChild<QPushButton*>("Command3")->click();
    ASSERT_EQ(f.dialogs.calls.size(), 2u);
    EXPECT_EQ(f.dialogs.calls[1].text, "le nombre de découpes est incompatible avec le fichier d'origine");
    EXPECT_EQ(f.drawing().List1.toVector(), read.List1.toVector());
    EXPECT_EQ(f.drawing().List6.toVector(), std::vector<std::string>(85, "."));
}

TEST(EntryPointsPage, OpenCutEnteredOnlyAtItsEnds) {
    Fixture f;
    // An open profile: Valider inside it would cut straight across the material.
    f.page->choise();
    f.page->findChild<QAbstractButton*>("Option3")->click();
    f.page->findChild<QLineEdit*>("Text2")->setText(
        QString::fromStdString(std::string(SAMPLES_DIR) + "/dat/gen-xfoil__naca0012_save.dat"));
    f.page->findChild<QAbstractButton*>("Command7")->click();
    ASSERT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    f.enter(80, "1");
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, "Point d'entrée impossible : cette découpe n'est pas fermée.");
    EXPECT_EQ(f.dialogs.calls[0].title, "essaie encore");
    EXPECT_EQ(f.dialogs.calls[0].style, 272);
    EXPECT_EQ(f.drawing().List6[80], ".");
    EXPECT_EQ(f.text1()->text(), "1");
    EXPECT_FALSE(f.page->viewer()->overlayShown());
    // Its last in-material record is accepted.
    f.enter(160, "1");
    EXPECT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.drawing().List6[160], "1");
}

namespace {
QPushButton* byCaption(QWidget* page, const QString& caption) {
    for (auto* b : page->findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}
}  // namespace

TEST(EntryPointsPage, OrdreAutomatiqueReordersShowsTheSavingAndLeavesAnFraDrawingAlone) {
    Fixture f;
    f.loadDxf(kSquare);
    QPushButton* button = byCaption(f.page.get(), "Ordre automatique");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->toolTip().isEmpty());
    EXPECT_EQ(button->parentWidget(), f.page->findChild<QPushButton*>("Command3")->parentWidget());
    auto* line = f.page->findChild<QLabel*>("deplacements");
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().isEmpty());

    // The page gives what the engine gives on the same import.
    Drawing expected = f.drawing();
    AutoOrderResult r = autoOrder(expected);
    ASSERT_TRUE(r.reordered);
    button->click();
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.drawing().List1.toVector(), expected.List1.toVector());
    EXPECT_EQ(f.drawing().List3.toVector(), expected.List3.toVector());
    EXPECT_EQ(line->text().toStdString(), travelLine(r.travelBefore, r.travelAfter));
    EXPECT_TRUE(line->text().startsWith("Déplacements hors matière : "));
    // The lists and the view show the new order at once.
    EXPECT_EQ(f.shown(5, 1), "1");
    EXPECT_EQ(f.shown(6, 1), ".");
    EXPECT_EQ(f.page->viewer()->scene().variant, Redraw::ListClick);

    // Saved and opened again as FRA: nothing to order, and the line says so.
    ASSERT_TRUE(writeFra(f.drawing(), f.dir.file("auto.fra")));
    f.page->choise();
    f.page->findChild<QAbstractButton*>("Option1")->click();
    f.page->findChild<QLineEdit*>("Text2")->setText(QString::fromStdString(f.dir.file("auto.fra")));
    f.page->findChild<QAbstractButton*>("Command4")->click();
    ASSERT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    EXPECT_TRUE(line->text().isEmpty());
    Drawing read = f.drawing();
    button->click();
    EXPECT_EQ(f.drawing().List1.toVector(), read.List1.toVector());
    EXPECT_TRUE(line->text().startsWith("Ordre inchangé")) << line->text().toStdString();
}

TEST(EntryPointsPage, TheTravelLineIsReadWholeAndLeavesTheListsWhereTheyAre) {
    Fixture f;
    f.loadDxf(kSquare);
    QApplication::processEvents();
    f.page->resize(f.page->sizeHint().width(), 600);  // no room to spare for a longer line
    QApplication::processEvents();
    const QRect lists = f.page->lists()->geometry();
    byCaption(f.page.get(), "Ordre automatique")->click();
    QApplication::processEvents();
    auto* line = f.page->findChild<QLabel*>("deplacements");
    ASSERT_TRUE(line->text().contains(QString::fromUtf8("\u2192"))) << line->text().toStdString();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(line);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), line->text());
    EXPECT_EQ(f.page->lists()->geometry(), lists);
}
