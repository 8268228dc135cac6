#pragma once

#include <QWidget>

namespace platform {
class DriveList;
class FileList;
class FolderList;
}

namespace musicsetter {

// Form2 "浏览": picks a music file with the mouse and puts its path into the setter window's
// path box. It stays open for further picks; the box is stored only by the setter's 确定.
class BrowseWindow : public QWidget {
    Q_OBJECT
public:
    BrowseWindow();

    platform::DriveList *driveList() const { return m_drive1; }
    platform::FolderList *folderList() const { return m_dir1; }
    platform::FileList *fileList() const { return m_file1; }

private:
    void takeOver();
    void placeBelowTheSetter();

    platform::DriveList *m_drive1 = nullptr;
    platform::FolderList *m_dir1 = nullptr;
    platform::FileList *m_file1 = nullptr;
};

} // namespace musicsetter
