// The real Qt message and input boxes: French buttons, the icon and default button of the
// style number, and the answer of the button pressed; with and without Qt's translations.
#include "ui/qtservices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

using namespace vornelle;

// Readable failures: GoogleTest prints QString as its text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {
QString shown(const QAbstractButton* b) {
    return QString(b->text()).remove('&');
}

// Runs `look` on the box once it is open (the timer fires inside its event loop).
void whenOpen(std::function<void(QWidget*)> look) {
    QTimer::singleShot(0, [look] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        look(box);
        // A box the look did not close is closed here, so that a fault fails and never hangs.
        if (box->isVisible()) qobject_cast<QDialog*>(box)->reject();
    });
}

struct Seen {
    QStringList buttons;
    QString defaultButton, text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Opens a message box of style `st`, notes what it shows and presses the button `press`.
Button messageAndPress(int st, const QString& press, Seen& seen) {
    whenOpen([&seen, press](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) seen.buttons << shown(b);
        seen.buttons.sort();
        if (box->defaultButton()) seen.defaultButton = shown(box->defaultButton());
        seen.icon = box->icon();
        seen.text = box->text();
        seen.title = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            if (shown(b) == press) return b->click();
        ADD_FAILURE() << "pas de bouton " << press.toStdString();
    });
    QtDialogs dialogs;
    return dialogs.message("Prêt pour la découpe ?", st, "Découpe");
}

// Opens the input box, notes its buttons, types `typed` and presses the button `press`.
std::optional<std::string> inputAndPress(const QString& typed, const QString& press, QStringList& buttons) {
    whenOpen([&buttons, typed, press](QWidget* w) {
        auto* box = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(box, nullptr);
        auto* edit = box->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), "bride");
        edit->setText(typed);
        QList<QPushButton*> all = box->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>();
        for (QPushButton* b : all) buttons << shown(b);
        buttons.sort();
        for (QPushButton* b : all)
            if (shown(b) == press) return b->click();
        ADD_FAILURE() << "pas de bouton " << press.toStdString();
    });
    QtDialogs dialogs;
    return dialogs.inputBox("Nom du fichier ?", "Renommer", "bride");
}

void expectFrenchBoxes() {
    Seen yesNo;
    EXPECT_EQ(messageAndPress(style::kStopYesNo, "Non", yesNo), Button::No);
    EXPECT_EQ(yesNo.buttons, (QStringList{"Non", "Oui"}));
    EXPECT_EQ(yesNo.defaultButton, "Non");
    EXPECT_EQ(yesNo.icon, QMessageBox::Critical);
    EXPECT_EQ(yesNo.text, "Prêt pour la découpe ?");
    EXPECT_EQ(yesNo.title, "Découpe");
    Seen again;
    EXPECT_EQ(messageAndPress(style::kStopYesNo, "Oui", again), Button::Yes);

    Seen ok;
    EXPECT_EQ(messageAndPress(style::kQuestionOk, "OK", ok), Button::Ok);
    EXPECT_EQ(ok.buttons, QStringList{"OK"});
    EXPECT_EQ(ok.icon, QMessageBox::Question);

    QStringList buttons;
    EXPECT_EQ(inputAndPress("bride2", "OK", buttons), std::optional<std::string>("bride2"));
    EXPECT_EQ(buttons, (QStringList{"Annuler", "OK"}));
    QStringList cancelled;
    EXPECT_EQ(inputAndPress("bride3", "Annuler", cancelled), std::nullopt);
}
}  // namespace

TEST(QtDialogs, FrenchButtonsWithoutQtTranslations) {
    expectFrenchBoxes();
}

// The translations change nothing the program sets itself, and they make Qt's own texts French.
TEST(QtDialogs, FrenchButtonsWithQtTranslations) {
    if (!installQtFrench(*QCoreApplication::instance()))
        GTEST_SKIP() << "qtbase_fr.qm absent (paquet qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
    expectFrenchBoxes();
}

// A box asked by a page in the main window's area: that page is disabled while the box is
// open, and a real click still reaches the cut's panel (a window of its own) and a page that
// holds a stop button in the same area.
TEST(QtDialogs, ABoxBlocksItsPageOnlyNeverAStopButton) {
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    auto* asking = new QLineEdit;
    auto* joystick = new QPushButton("Arrêt");
    joystick->setProperty("keepsStop", true);
    area->addSubWindow(asking)->setGeometry(0, 0, 200, 120);
    area->addSubWindow(joystick)->setGeometry(220, 0, 200, 120);
    QPushButton panel("Arret d'urgence");
    main.show();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.setProperty("keepsStop", true);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    asking->setFocus();
    int stops = 0;
    QObject::connect(&panel, &QPushButton::clicked, [&stops] { stops += 1; });
    QObject::connect(joystick, &QPushButton::clicked, [&stops] { stops += 10; });
    // A click as the window system delivers it, through the modality checks.
    auto click = [](QWidget* w) {
        QPoint at = w->mapTo(w->window(), w->rect().center());
        QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, at);
    };
    click(&panel);  // the panel answers before the box...
    ASSERT_EQ(stops, 1);
    whenOpen([&](QWidget*) {
        EXPECT_FALSE(asking->isEnabled());
        click(&panel);
        click(joystick);
        EXPECT_EQ(stops, 12);  // ...and while it is open
    });
    QtDialogs dialogs;
    dialogs.message("Fichier introuvable !", style::kStopOk, "Nom fichier ?");
    EXPECT_EQ(stops, 12);
    EXPECT_TRUE(asking->isEnabled());
    EXPECT_TRUE(joystick->isEnabled());
}
