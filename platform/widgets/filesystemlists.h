#pragma once

#include <QComboBox>
#include <QListView>
#include <QString>
#include <QStringList>
#include <QTreeView>

#include <chrono>
#include <memory>

// The classic drive, folder and file lists that let a user pick a folder or a file with
// the mouse. Paths go in as any absolute path and come out in the system's native form:
// a root keeps its separator ("/" or "C:\"), every other folder has none.
namespace platform {

// The native form of an absolute folder path, as the lists give it.
QString nativeFolderPath(const QString &path);

// Whether a folder can be listed; a folder that is missing, is no folder, or may not be
// read is not.
bool isBrowsableFolder(const QString &path);

// Whether a native folder path is the root or lies below it, with the system's case rule.
bool liesOn(const QString &folder, const QString &root);

class EntryListing;
class FileListModel;
class FolderListModel;

// The drives of the machine: on Windows its drive letters, elsewhere the mounted file
// systems a user would browse, the root "/" first.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    static QStringList machineDrives();

    // Replaces the listed drives (native roots); the selection moves to the first.
    void setDrives(const QStringList &roots);
    QStringList drives() const;

    // The root of the selected drive.
    QString drive() const;

    // The listed drive that holds this folder: the one with the longest matching root.
    QString driveOf(const QString &folder) const;
    // Selects the drive holding this folder without announcing a change.
    void showDriveOf(const QString &folder);

    // The folder a drive opens at: the opening folder when it lies on that drive, else the
    // drive's root.
    QString startFolder(const QString &root) const;

    // Where the lists open, in native form: the process's current folder, except in the
    // installed commands' per-user working folder, a hidden folder of the programs' own that
    // holds nothing to browse for, where the user's home serves instead.
    static QString openingFolder();

Q_SIGNALS:
    // The user chose another drive.
    void driveChanged(const QString &root);
};

// A classic folder list: the current folder's ancestors, the current folder, then its
// subfolders, each level indented one step further. A double click (or Enter) opens a
// folder and makes it the current one; a single click only highlights an entry.
//
// Subfolders are read off the window thread, so a huge or slow folder never holds the
// window: a folder read within the listing wait shows complete at once, a slower one
// shows its ancestors at once and its subfolders when they have been read.
class FolderList : public QTreeView {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    ~FolderList() override;

    // The current folder, never merely the highlighted entry.
    QString path() const { return m_path; }

    // Opens the folder. One that cannot be read is reported to the user and the list
    // stays where it was; returns whether the folder is now current.
    bool setPath(const QString &folder);

    // Whether the current folder's subfolders are still being read.
    bool isListing() const;
    // How long opening a folder may wait for its subfolders before it shows the list
    // without them; they follow when read. Zero never waits.
    void setListingWait(std::chrono::milliseconds wait) { m_listingWait = wait; }

    // The folder an entry stands for.
    static QString folderOf(const QModelIndex &index);
    // The entry of a listed folder; invalid when the folder is not listed.
    QModelIndex indexFor(const QString &folder) const;

Q_SIGNALS:
    void pathChanged(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Every level is always open: no expand or collapse marks beside the entries.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}

private:
    void openIndex(const QModelIndex &index);
    void showSubfolders(const QStringList &names);

    FolderListModel *m_model = nullptr;
    std::unique_ptr<EntryListing> m_listing;
    std::chrono::milliseconds m_listingWait;
    QString m_path;
};

// The files of one folder that match a pattern such as "*.mp3;*.mid;*.wav", read off the
// window thread like the folder list's subfolders.
class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);
    ~FileList() override;

    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);

    QString path() const { return m_path; }
    void setPath(const QString &folder);

    // The number of files listed.
    int count() const;
    // The bare name of the highlighted file, empty when none is.
    QString fileName() const;

    // As for the folder list: whether the files are still being read, and how long
    // showing a folder may wait for them.
    bool isListing() const;
    void setListingWait(std::chrono::milliseconds wait) { m_listingWait = wait; }

private:
    void reload();

    FileListModel *m_model = nullptr;
    std::unique_ptr<EntryListing> m_listing;
    std::chrono::milliseconds m_listingWait;
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

// Keeps the lists in step: choosing a drive opens its start folder in the folder list
// (or, when it cannot be read, goes back to the drive of the folder still shown), and
// the file list follows the folder list.
void linkBrowseLists(DriveList *drives, FolderList *folders, FileList *files = nullptr);

} // namespace platform
