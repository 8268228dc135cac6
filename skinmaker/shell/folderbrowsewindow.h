#pragma once

#include <QWidget>

class QPushButton;

namespace platform {
class DriveList;
class FolderList;
} // namespace platform

namespace skinmaker::shell {

// Form2 "浏览": picks the QQ installation folder with the mouse; the main window takes it as
// its installation path. It opens at the process's current folder every time.
class FolderBrowseWindow : public QWidget {
    Q_OBJECT
public:
    FolderBrowseWindow();

    platform::DriveList *driveList() const { return m_driveList; }
    platform::FolderList *folderList() const { return m_folderList; }

Q_SIGNALS:
    // 确定 with a folder the installation path can name; the window closes after it.
    void folderChosen(const QString &folder);

private:
    void confirm();

    platform::DriveList *m_driveList = nullptr; // Drive1
    platform::FolderList *m_folderList = nullptr; // Dir1
    QPushButton *m_confirm = nullptr; // Command1
};

} // namespace skinmaker::shell
