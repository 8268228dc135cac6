#pragma once

#include <QWidget>

class QPushButton;

namespace platform {
class DriveList;
class FolderList;
}

namespace skinmaker::shell {

// Form2 "浏览": picks the QQ installation folder with the mouse and writes it into the
// main window's install-path box. It opens at the process's current folder every time.
class FolderBrowseWindow : public QWidget {
    Q_OBJECT
public:
    FolderBrowseWindow();

    platform::DriveList *driveList() const { return m_drive1; }
    platform::FolderList *folderList() const { return m_dir1; }

private:
    void confirm();

    platform::DriveList *m_drive1 = nullptr;
    platform::FolderList *m_dir1 = nullptr;
    QPushButton *m_command1 = nullptr;
};

} // namespace skinmaker::shell
