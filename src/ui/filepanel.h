// The drive, folder and file lists of a page (Drive1, Dir1, File1) as one widget. The folder
// list is a directory list box: the path from the root down to the open folder, then its
// subfolders, so the user always sees where he is. The file list shows the files of the
// folder selected in the folder list that match the pattern, whatever their case.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QWidget>
#include <string>

namespace vornelle {

class FilePanel : public QWidget {
    Q_OBJECT
  public:
    explicit FilePanel(QWidget* parent = nullptr);

    QComboBox* drives() const { return Drive1; }
    QListWidget* folders() const { return Dir1; }
    QListWidget* files() const { return File1; }

    // "*.FRA", "*.DXF"...; the file list follows at once.
    void setPattern(const QString& pattern);
    const QString& pattern() const { return pattern_; }
    // Opens a folder: the folder list shows its path and subfolders. False, and nothing
    // changes, when it cannot be read. Emits folderOpened.
    bool openFolder(const std::string& folder);
    // The folder whose files are listed, ending in '/': the open folder, or the folder of
    // the folder list clicked since.
    const std::string& folder() const { return folder_; }
    const std::string& openedFolder() const { return opened_; }
    // Lists the folder and the files again (after a file was deleted or renamed).
    void refresh();
    // Clicks as a user makes them (tests and keyboard handlers).
    void clickFolder(const std::string& folder);
    void clickFile(const QString& name);

  signals:
    void driveChosen(const std::string& root);
    void folderOpened(const std::string& folder);
    void folderClicked(const std::string& folder);
    void fileClicked(const std::string& name);
    void fileActivated(const std::string& name);

  private:
    void listFolders();
    void listFiles();
    void selectDrive();

    QComboBox* Drive1;
    QListWidget *Dir1, *File1;
    QString pattern_ = "*.*";
    std::string opened_, folder_;
};

}  // namespace vornelle
