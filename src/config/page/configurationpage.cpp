// Configuration page; see configurationpage.h. Controls carry the names Text1..Text25,
// Check1..Check3 and Command1 as object names.
#include "configurationpage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/files.h"
#include "base/numbers.h"
#include "rampsgroup.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {

// Pin box number -> its hidden weight box number.
constexpr int kPinWeight[][2] = {{10, 16}, {11, 17}, {12, 18}, {13, 19},
                                 {14, 20}, {15, 21}, {22, 24}, {23, 25}};

QString pinTooltip(int pin) {
    if (pin == 1 || pin == 14 || pin == 16 || pin == 17) return QString("Pin %1 non connecté").arg(pin);
    if (pin >= 2 && pin <= 8) return QString("Pin %1 envoi de donnée").arg(pin);
    if (pin == 9) return "Pin 9 envoi donnée";
    if (pin == 10) return "Pin 10 entrée";
    if (pin == 11) return "Pin 11 point 0 axe X";
    if (pin == 12) return "Pin 12 point 0 axe Y";
    if (pin == 13) return "Pin 13 dégagement axe Z";
    if (pin == 15) return "Pin 15 point 0 axe Z";
    if (pin >= 18 && pin <= 22) return QString("Pin %1 masse signal").arg(pin);
    return {};
}

}  // namespace

ConfigurationPage::ConfigurationPage(Dialogs& dialogs, Navigator& navigator, FolderSource folder,
                                     QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), navigator_(navigator), folder_(std::move(folder)) {
    setObjectName("configuration");
    setWindowTitle("Configuration de l'environnement ");

    auto* top = new QVBoxLayout(this);
    buildNotice(top);

    auto* columns = new QHBoxLayout;
    top->addLayout(columns);
    buildMachineParameters(columns);
    buildPortParameters(columns);
    ramps_ = new RampsGroup;
    columns->addWidget(ramps_);
    buildWeightBoxes();
    buildSaveButton(top);
}

void ConfigurationPage::buildNotice(QVBoxLayout* top) {
    auto* notice = new QLabel(
        "Attention; veillez à saisir les données avec une virgule et non un point comme séparateur décimal "
        "!");
    notice->setObjectName("Label20");
    notice->setStyleSheet("color: #a00000; font-weight: bold;");
    top->addWidget(notice);
}

void ConfigurationPage::buildMachineParameters(QHBoxLayout* columns) {
    auto* machine = new QGroupBox("Paramètres machine");
    auto* mg = new QGridLayout(machine);
    mg->addWidget(new QLabel("Nombre de pas par mm"), 0, 0, 1, 2);
    const char* axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* axis = new QLabel(axes[i]);
        QLineEdit* steps = box(("Text" + std::to_string(1 + i)).c_str());
        axis->setBuddy(steps);
        steps->setAccessibleName(QString("Nombre de pas par mm %1").arg(axes[i]));
        mg->addWidget(axis, 1 + i, 0, Qt::AlignRight);
        mg->addWidget(steps, 1 + i, 1);
    }
    struct Row {
        const char* caption;
        int text;
    } rows[] = {{"Vitesse de découpe", 5},
                {"Vitesse de déplacement hors matière", 6},
                {"Coefficient vitesse", 4},
                {"Descente outil sur l'axe Z (en mm)", 7},
                {"valeur de dégagement pour changement outil", 9}};
    int r = 4;
    for (const Row& row : rows) {
        auto* label = new QLabel(row.caption);
        label->setWordWrap(true);
        mg->addWidget(label, r, 0);
        mg->addWidget(box(("Text" + std::to_string(row.text)).c_str()), r, 1);
        label->setBuddy(Text[row.text]);
        ++r;
    }
    Text[5]->setToolTip("Présélection de la vitesse outil dans la matière");
    mg->setRowStretch(r, 1);
    columns->addWidget(machine);
}

void ConfigurationPage::buildPortParameters(QHBoxLayout* columns) {
    auto* portBox = new QGroupBox("Paramètres du port");
    auto* pg = new QGridLayout(portBox);
    pg->addWidget(new QLabel("Saisir la valeur de la pinoche connectée pour chaque axe"), 0, 0, 1, 4);
    pg->addWidget(new QLabel("DIR"), 1, 1, Qt::AlignHCenter);
    pg->addWidget(new QLabel("CLOCK"), 1, 2, Qt::AlignHCenter);
    struct PinRow {
        const char* caption;
        int dir, clk, check;
    } pins[] = {
        {"axe X", 10, 11, 1}, {"axe Y", 12, 13, 2}, {"axe Z", 14, 15, 3}, {"non connecté", 22, 23, 0}};
    int r = 2;
    for (const PinRow& p : pins) {
        auto* axis = new QLabel(p.caption);
        pg->addWidget(axis, r, 0);
        pg->addWidget(box(("Text" + std::to_string(p.dir)).c_str(), "x"), r, 1);
        pg->addWidget(box(("Text" + std::to_string(p.clk)).c_str(), "x"), r, 2);
        // Read as "axe X DIR": the row's caption and the column's.
        axis->setBuddy(Text[p.dir]);
        Text[p.dir]->setAccessibleName(QString("%1 DIR").arg(p.caption));
        Text[p.clk]->setAccessibleName(QString("%1 CLOCK").arg(p.caption));
        if (p.check) {
            auto* c = new QCheckBox("Inverser le sens");
            c->setObjectName(QString("Check%1").arg(p.check));
            c->setAccessibleDescription(p.caption);
            Check[p.check] = c;
            pg->addWidget(c, r, 3);
        }
        ++r;
    }
    auto* lptRow = new QHBoxLayout;
    auto* lpt = new QLabel("Branchement sur port 1 ou 2");
    lptRow->addWidget(lpt);
    lptRow->addWidget(new QLabel("LPT"));
    lptRow->addWidget(box("Text8", "1"));
    lpt->setBuddy(Text[8]);
    lptRow->addStretch();
    pg->addLayout(lptRow, r++, 0, 1, 4);
    pg->addWidget(connectorDrawing(), r++, 0, 1, 4);
    columns->addWidget(portBox, 1);
}

void ConfigurationPage::buildWeightBoxes() {
    for (int n : {16, 17, 18, 19, 20, 21, 24, 25}) {
        QLineEdit* w = box(("Text" + std::to_string(n)).c_str());
        w->setParent(this);
        w->hide();
    }
    for (const auto& pw : kPinWeight) {
        QLineEdit* pin = Text[pw[0]];
        QLineEdit* weight = Text[pw[1]];
        connect(pin, &QLineEdit::textChanged, this, [this, pin, weight] { applyPinRule(pin, weight); });
    }
}

void ConfigurationPage::buildSaveButton(QVBoxLayout* top) {
    auto* save = new QPushButton("Sauvegarder la configuration et fermer la page ");
    save->setObjectName("Command1");
    connect(save, &QPushButton::clicked, this, &ConfigurationPage::save);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(save);
    top->addLayout(bottom);
}

QLineEdit* ConfigurationPage::box(const char* name, const QString& text) {
    auto* e = new QLineEdit(text);
    e->setObjectName(name);
    e->setMaximumWidth(120);
    Text[std::stoi(std::string(name).substr(4))] = e;
    return e;
}

QWidget* ConfigurationPage::connectorDrawing() {
    auto* frame = new QGroupBox("Connections au port //  Vu coté prise en regardant les pinoches.");
    frame->setObjectName("Frame3");
    // Named by its own title: a box inside a box would otherwise be read with its parent's.
    frame->setAccessibleName(frame->title());
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(2);
    // Upper row pins 1..13, lower row 14..25 set half a place to the right, as on the plug.
    for (int pin = 1; pin <= 25; ++pin) {
        auto* marker = new QLabel(QString::number(pin));
        marker->setObjectName(QString("Shape%1").arg(pin));
        marker->setAlignment(Qt::AlignCenter);
        marker->setFixedSize(22, 22);
        marker->setStyleSheet(
            "border: 1px solid #555; border-radius: 11px; background: #e8d890; font-size: 8pt;");
        marker->setToolTip(pinTooltip(pin));
        if (pin <= 13)
            grid->addWidget(marker, 0, 2 * (pin - 1), 1, 2, Qt::AlignCenter);
        else
            grid->addWidget(marker, 1, 2 * (pin - 14) + 1, 1, 2, Qt::AlignCenter);
    }
    return frame;
}

void ConfigurationPage::applyPinRule(QLineEdit* pin, QLineEdit* weight) {
    auto v = decimalValue(bytes(pin->text()));
    if (!v) {
        weight->setText("1");
        return;
    }
    for (int p = 2; p <= 9; ++p) {
        if (*v == p) {
            weight->setText(QString::number(1 << (p - 2)));
            return;
        }
    }
    dialogs_.message("les pinoches de sorties sont la 2,3,4,5,6,7,8 ou 9", style::kQuestionOk,
                     "Mauvaise saisie ");
    pin->setText("2");
}

void ConfigurationPage::formLoad() {
    ConfigRead read;
    if (auto folder = folder_(); folder) read = lisconfig(*folder), ramps_->load(*folder);
    // Whatever was read is shown; items not reached are empty, as after a failed read.
    const configmachine& c = read.config;
    auto t = c.texts();
    for (int i = 0; i < 9; ++i) Text[1 + i]->setText(qs(*t[i]));
    const int weights[] = {16, 17, 18, 19, 20, 21, 24, 25};
    for (int i = 0; i < 8; ++i) Text[weights[i]]->setText(qs(*t[9 + i]));
    const int pins[] = {10, 11, 12, 13, 14, 15, 22, 23};
    for (int i = 0; i < 8; ++i) Text[pins[i]]->setText(qs(*t[17 + i]));
    if (read.itemsRead >= 26 && c.invX == 1) Check[1]->setChecked(true);
    if (read.itemsRead >= 27 && c.invY == 1) Check[2]->setChecked(true);
    if (read.itemsRead >= 28 && c.invZ == 1) Check[3]->setChecked(true);
}

configmachine ConfigurationPage::record() const {
    configmachine c;
    auto t = c.texts();
    const int order[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  16, 17, 18, 19,
                         20, 21, 24, 25, 10, 11, 12, 13, 14, 15, 22, 23};
    for (int i = 0; i < configmachine::kTextCount; ++i) *t[i] = bytes(Text[order[i]]->text());
    c.invX = Check[1]->isChecked() ? 1 : 0;
    c.invY = Check[2]->isChecked() ? 1 : 0;
    c.invZ = Check[3]->isChecked() ? 1 : 0;
    return c;
}

void ConfigurationPage::save() {
    if (Text[1]->text().isEmpty() || Text[2]->text().isEmpty() || Text[3]->text().isEmpty()) {
        dialogs_.message("Saisie incomplete ?", style::kStopOk, "Saisie");
        return;
    }
    auto folder = folder_();
    if (!folder) {
        dialogs_.message(folder.error(), style::kStopOk, "Configuration");
        return;
    }
    // The ramps are checked before anything is written; all empty, no file at all.
    const RampTexts ramps = ramps_->texts();
    auto settings = rampSettings(ramps);
    if (!settings) {
        dialogs_.message(settings.error(), style::kStopOk, "Rampes");
        return;
    }
    if (Status s = sauveconfig(*folder, record()); !s) {
        dialogs_.message(s.message, style::kStopOk, "Configuration");
        return;
    }
    const std::string rampFile = *folder + kRampFile;
    Status kept = *settings ? saveRampTexts(*folder, ramps)
                            : (fileExists(rampFile) ? removeFile(rampFile) : Status::success());
    if (!kept) {
        dialogs_.message(kept.message, style::kStopOk, "Rampes");
        return;
    }
    navigator_.close(PageId::Configuration);
}

}  // namespace vornelle
