// Qt message boxes with the program's style numbers, the yield and the busy pointer.
#include "qtservices.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "qtext.h"

namespace vornelle {
namespace {

// The page a box belongs to: from the widget the operator is using up to its page (a child
// of the main window's area, or a window of its own).
QWidget* askingPage(QWidget* from) {
    QWidget* w = from ? from : QApplication::focusWidget();
    if (!w) w = QApplication::activeWindow();
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(p->parentWidget()) || p->isWindow()) return p;
    }
    return nullptr;
}

// A box modal to its page only. An application-modal box would also block the cut's panel
// and the joystick page while the machine moves, and "Arret d'urgence" with them: here the
// box blocks no window (window-modal without an owner) and its page is disabled while it is
// open. Pages that hold a stop button ("keepsStop") are never disabled.
class PageModal {
  public:
    PageModal(QDialog& box, QWidget* page) {
        box.setWindowModality(Qt::WindowModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        if (!page) return;
        box.adjustSize();
        box.move(page->mapToGlobal(page->rect().center()) - box.rect().center());
        if (!page->property("keepsStop").toBool() && page->isEnabled()) {
            page_ = page;
            page->setEnabled(false);
        }
    }
    ~PageModal() {
        if (page_) page_->setEnabled(true);
    }
    PageModal(const PageModal&) = delete;
    PageModal& operator=(const PageModal&) = delete;

  private:
    QPointer<QWidget> page_;
};

}  // namespace

Button QtDialogs::message(const std::string& text, int st, const std::string& title) {
    QMessageBox box;
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
    PageModal modal(box, askingPage(parent_));
    int r = box.exec();
    if (!yesNo) return Button::Ok;
    return r == QMessageBox::Yes ? Button::Yes : Button::No;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
    QInputDialog box;
    box.setWindowTitle(qs(title));
    box.setLabelText(qs(prompt));
    box.setTextValue(qs(initial));
    box.setOkButtonText("OK");
    box.setCancelButtonText("Annuler");
    PageModal modal(box, askingPage(parent_));
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
