// File panel; see filepanel.h.
#include "filepanel.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace vornelle {
namespace {
std::string withSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}
}  // namespace

FilePanel::FilePanel(QWidget* parent) : QWidget(parent) {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    Drive1 = new QComboBox(this);
    Drive1->setObjectName("Drive1");
    Drive1->setAccessibleName("Lecteur");
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        QString root = v.rootPath();
        if (v.isValid() && v.isReady() && !root.startsWith("/proc") && !root.startsWith("/sys") &&
            !root.startsWith("/dev") && !root.startsWith("/run") && !root.startsWith("/snap"))
            Drive1->addItem(root.endsWith('/') ? root : root + '/');
    }
    l->addWidget(Drive1);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName("Dir1");
    Dir1->setAccessibleName("Dossiers");
    Dir1->setToolTip("Double-cliquer pour ouvrir un dossier");
    l->addWidget(Dir1, 1);
    File1 = new QListWidget(this);
    File1->setObjectName("File1");
    File1->setAccessibleName("Fichiers");
    l->addWidget(File1, 1);

    connect(Drive1, &QComboBox::activated, this,
            [this](int i) { emit driveChosen(Drive1->itemText(i).toStdString()); });
    connect(Dir1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { clickFolder(it->data(Qt::UserRole).toString().toStdString()); });
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* it) { openFolder(it->data(Qt::UserRole).toString().toStdString()); });
    connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) { clickFile(it->text()); });
    connect(File1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* it) { emit fileActivated(it->text().toStdString()); });
}

void FilePanel::setPattern(const QString& pattern) {
    pattern_ = pattern;
    listFiles();
}

bool FilePanel::openFolder(const std::string& folder) {
    QFileInfo info(QString::fromStdString(folder));
    if (!info.isDir() || !info.isReadable()) return false;
    opened_ = withSlash(QDir::cleanPath(info.absoluteFilePath()).toStdString());
    folder_ = opened_;
    listFolders();
    listFiles();
    selectDrive();
    emit folderOpened(folder_);
    return true;
}

void FilePanel::clickFolder(const std::string& folder) {
    QFileInfo info(QString::fromStdString(folder));
    if (!info.isDir()) return;
    folder_ = withSlash(QDir::cleanPath(info.absoluteFilePath()).toStdString());
    for (int i = 0; i < Dir1->count(); ++i)
        if (withSlash(Dir1->item(i)->data(Qt::UserRole).toString().toStdString()) == folder_)
            Dir1->setCurrentRow(i);
    listFiles();
    emit folderClicked(folder_);
}

void FilePanel::clickFile(const QString& name) {
    auto found = File1->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty()) File1->setCurrentItem(found.front());
    emit fileClicked(name.toStdString());
}

void FilePanel::refresh() {
    if (opened_.empty()) return;
    listFolders();
    for (int i = 0; i < Dir1->count(); ++i)
        if (withSlash(Dir1->item(i)->data(Qt::UserRole).toString().toStdString()) == folder_)
            Dir1->setCurrentRow(i);
    listFiles();
}

void FilePanel::listFolders() {
    Dir1->clear();
    QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    auto add = [this](const QString& name, const QString& path, int depth, const QIcon& icon) {
        auto* it = new QListWidgetItem(icon, QString(depth * 3, ' ') + name, Dir1);
        it->setData(Qt::UserRole, path);
        it->setData(Qt::AccessibleTextRole, name);
        return it;
    };
    // The path from the root down to the open folder, each part one step further in.
    QString path = QString::fromStdString(opened_);
    QStringList parts = path.split('/', Qt::SkipEmptyParts);
    QString at = "/";
    add("/", at, 0, open);
    int depth = 1;
    for (const QString& p : parts) {
        at += p + "/";
        add(p, at, depth++, open);
    }
    Dir1->setCurrentRow(Dir1->count() - 1);
    QFont bold = Dir1->currentItem()->font();
    bold.setBold(true);
    Dir1->currentItem()->setFont(bold);
    QDir d(path);
    for (const QString& s : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(s, at + s + "/", depth, closed);
}

void FilePanel::listFiles() {
    File1->clear();
    if (folder_.empty()) return;
    QDir d(QString::fromStdString(folder_));
    // QDir's name filters ignore case unless told otherwise: "*.FRA" lists aile.fra too.
    d.setNameFilters({pattern_});
    for (const QString& f : d.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) File1->addItem(f);
}

void FilePanel::selectDrive() {
    int best = -1;
    qsizetype length = -1;
    QString f = QString::fromStdString(opened_);
    for (int i = 0; i < Drive1->count(); ++i) {
        QString root = Drive1->itemText(i);
        if (f.startsWith(root) && root.size() > length) best = i, length = root.size();
    }
    if (best >= 0) Drive1->setCurrentIndex(best);
}

}  // namespace vornelle
