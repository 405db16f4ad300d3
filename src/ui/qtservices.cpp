// Qt message boxes with the program's style numbers, the yield and the busy pointer.
#include "qtservices.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "qtext.h"

namespace vornelle {

Button QtDialogs::message(const std::string& text, int st, const std::string& title) {
    QMessageBox box(parent_);
    box.setText(qs(text));
    box.setWindowTitle(qs(title));
    int icon = st & 0x70;
    box.setIcon(icon == 16   ? QMessageBox::Critical
                : icon == 32 ? QMessageBox::Question
                : icon == 48 ? QMessageBox::Warning
                : icon == 64 ? QMessageBox::Information
                             : QMessageBox::NoIcon);
    bool yesNo = (st & 7) == 4;
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // Default button: the first unless the style asks for the second.
        box.setDefaultButton((st & 0x100) ? QMessageBox::No : QMessageBox::Yes);
        // French whether or not Qt's translations are installed; '&' keeps the O and N keys.
        box.button(QMessageBox::Yes)->setText("&Oui");
        box.button(QMessageBox::No)->setText("&Non");
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText("OK");
    }
    int r = box.exec();
    if (!yesNo) return Button::Ok;
    return r == QMessageBox::Yes ? Button::Yes : Button::No;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
    QInputDialog box(parent_);
    box.setWindowTitle(qs(title));
    box.setLabelText(qs(prompt));
    box.setTextValue(qs(initial));
    box.setOkButtonText("OK");
    box.setCancelButtonText("Annuler");
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return bytes(box.textValue());
}

bool installQtFrench(QCoreApplication& app) {
    auto* french = new QTranslator(&app);
    if (!french->load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete french;
        return false;
    }
    return app.installTranslator(french);
}

void QtYield::yield() {
    QApplication::processEvents(QEventLoop::AllEvents);
}

std::function<void(std::function<void()>)> postToScreen(QObject* context) {
    QPointer<QObject> c(context);
    return [c](std::function<void()> f) {
        if (c) QMetaObject::invokeMethod(c, std::move(f), Qt::QueuedConnection);
    };
}

void QtBusyPointer::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace vornelle
