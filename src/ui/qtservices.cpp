// Qt message boxes with the program's style numbers, the yield and the busy pointer.
#include "qtservices.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

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
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    int r = box.exec();
    if (!yesNo) return Button::Ok;
    return r == QMessageBox::Yes ? Button::Yes : Button::No;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
    bool ok = false;
    QString t = QInputDialog::getText(parent_, qs(title), qs(prompt), QLineEdit::Normal, qs(initial), &ok);
    if (!ok) return std::nullopt;
    return bytes(t);
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
