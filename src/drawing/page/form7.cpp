// Entry-point dialog; see form7.h.
#include "form7.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vornelle {

Form7::Form7(std::string& text1, QWidget* parent) : QWidget(parent, Qt::Window), text1_(text1) {
    setObjectName("Form7");
    setWindowTitle("Form7");
    setWindowModality(Qt::NonModal);
    // An open dialog alone does not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Numéro d'ordre de la découpe ", this);
    Text1 = new QLineEdit(QString::fromStdString(text1_), this);
    Text1->setObjectName("Text1");
    label->setBuddy(Text1);
    layout->addWidget(label);
    layout->addWidget(Text1);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& t) { text1_ = t.toStdString(); });
    auto button = [this, layout](const char* name, const char* caption, void (Form7::*signal)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, signal);
        return b;
    };
    Command1 = button("Command1", "Valider un nouveau point d'entrée dans la matière", &Form7::valider);
    Command2 = button("Command2", "Supprimer un point d'entrée dans la matière", &Form7::supprimer);
    Command3 = button("Command3", "Supprimer tous les points d'entrée", &Form7::supprimerTous);
    Command1->setDefault(true);  // Entrée in Text1 validates
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
}

void Form7::setText1(const std::string& t) {
    Text1->setText(QString::fromStdString(t));
}

}  // namespace vornelle
