// The real Qt message and input boxes: French buttons, the icon and default button of the
// style number, and the answer of the button pressed; with and without Qt's translations.
#include "ui/qtservices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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
