#pragma once

#include <QWidget>

namespace platform {
class DriveList;
class FileList;
class FolderList;
} // namespace platform

namespace musicsetter {

// Form2 "浏览": picks a music file with the mouse for the setter window's path box. It stays
// open for further picks; the box is stored only by the setter's 确定.
class BrowseWindow : public QWidget {
    Q_OBJECT
public:
    // setter, when there is one, is the window to open below.
    explicit BrowseWindow(const QWidget *setter = nullptr);

    platform::DriveList *driveList() const { return m_driveList; }
    platform::FolderList *folderList() const { return m_folderList; }
    platform::FileList *fileList() const { return m_fileList; }

Q_SIGNALS:
    // 确定 with a path the main program can find again.
    void picked(const QString &path);

private:
    void takeOver();
    void placeBelow(const QWidget *setter);

    platform::DriveList *m_driveList = nullptr; // Drive1
    platform::FolderList *m_folderList = nullptr; // Dir1
    platform::FileList *m_fileList = nullptr; // File1
};

} // namespace musicsetter
