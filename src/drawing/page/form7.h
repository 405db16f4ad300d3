// Form7, the entry-point dialog of the drawing page: the next order number Text1 and the
// three commands that set, remove or clear entry points. A window of its own that never
// blocks the page; the page does the work when a command is pressed.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <string>

namespace vornelle {

class Form7 : public QWidget {
    Q_OBJECT
  public:
    // `text1` is the next order number kept by the application: Text1 shows it and every
    // edit is written back, so the number runs on after the drawing page is closed.
    explicit Form7(std::string& text1, QWidget* parent = nullptr);

    std::string text1() const { return Text1->text().toStdString(); }
    void setText1(const std::string& t);

  signals:
    void valider();        // Command1
    void supprimer();      // Command2
    void supprimerTous();  // Command3

  private:
    std::string& text1_;
    QLineEdit* Text1;
    QPushButton *Command1, *Command2, *Command3;
};

}  // namespace vornelle
