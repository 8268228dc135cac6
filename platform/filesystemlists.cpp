#include "filesystemlists.h"

#include "notice.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

namespace platform {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

// Whether a native folder path is the root or lies below it.
bool liesOn(const QString &folder, const QString &root)
{
    if (folder.compare(root, pathCase) == 0)
        return true;
    const QString prefix = root.endsWith(QDir::separator()) ? root : root + QDir::separator();
    return folder.startsWith(prefix, pathCase);
}

QString parentOf(const QString &folder)
{
    return nativeFolderPath(QFileInfo(QDir::fromNativeSeparators(folder)).path());
}

QString childOf(const QString &folder, const QString &name)
{
    return nativeFolderPath(QDir(folder).filePath(name));
}

// What a folder is called in the list: its name, or the whole root for a root.
QString entryName(const QString &folder)
{
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

#ifndef Q_OS_WIN
// Mounts that only serve the system (kernel views, containers, snaps, per-session
// memory) are no place to keep files a user chooses; memory file systems other than
// /tmp vanish at the next start anyway.
bool isBrowsedByUsers(const QString &root, const QByteArray &type)
{
    static const QStringList systemFolders{
        QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"), QStringLiteral("/run"),
        QStringLiteral("/snap"), QStringLiteral("/var/lib"), QStringLiteral("/var/snap"), QStringLiteral("/boot/efi"),
    };
    static const QList<QByteArray> systemTypes{
        "proc", "sysfs", "devpts", "devtmpfs", "cgroup", "cgroup2", "mqueue", "debugfs", "tracefs",
        "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs", "autofs", "binfmt_misc",
        "efivarfs", "nsfs", "rpc_pipefs", "overlay", "squashfs", "fuse.portal", "fuse.gvfsd-fuse",
    };
    if (root.startsWith(QLatin1String("/run/media/")))
        return true;  // where some desktops mount removable drives
    for (const QString &folder : systemFolders) {
        if (liesOn(root, folder))
            return false;
    }
    if (systemTypes.contains(type))
        return false;
    if ((type == "tmpfs" || type == "ramfs") && root != QLatin1String("/tmp"))
        return false;
    return QFileInfo(root).isDir();  // not a single file mounted in place
}
#endif

} // namespace

QString nativeFolderPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

bool isBrowsableFolder(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    return info.isDir() && info.isReadable();
#else
    // Listing a folder's subfolders needs both: reading names and looking them up.
    return info.isDir() && info.isReadable() && info.isExecutable();
#endif
}

// ---------------------------------------------------------------------------------------

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    setDrives(machineDrives());
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Q_EMIT driveChanged(drive()); });
}

QStringList DriveList::machineDrives()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots << nativeFolderPath(drive.absoluteFilePath());
#else
    const QString systemRoot = QStringLiteral("/");
    QStringList others;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        const QString root = nativeFolderPath(volume.rootPath());
        if (root != systemRoot && !others.contains(root) && isBrowsedByUsers(root, volume.fileSystemType()))
            others << root;
    }
    std::sort(others.begin(), others.end());
    roots << systemRoot << others;
#endif
    return roots;
}

void DriveList::setDrives(const QStringList &roots)
{
    const QSignalBlocker quiet(this);
    clear();
    for (const QString &root : roots)
        addItem(root, root);
}

QStringList DriveList::drives() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots << itemData(i).toString();
    return roots;
}

QString DriveList::drive() const
{
    return currentData().toString();
}

QString DriveList::driveOf(const QString &folder) const
{
    const QString native = nativeFolderPath(folder);
    QString best;
    for (const QString &root : drives()) {
        if (liesOn(native, root) && root.size() > best.size())
            best = root;
    }
    return best;
}

void DriveList::showDriveOf(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const int index = findData(driveOf(folder));
    if (index < 0)
        return;
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
}

QString DriveList::startFolder(const QString &root) const
{
    const QString current = currentFolder();
    return driveOf(current) == root ? current : root;
}

QString DriveList::currentFolder()
{
    return nativeFolderPath(QDir::currentPath());
}

// ---------------------------------------------------------------------------------------

FolderList::FolderList(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(8);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { openItem(item); });
}

bool FolderList::setPath(const QString &folder)
{
    const QString target = nativeFolderPath(folder);
    if (!isBrowsableFolder(target)) {
        notice(QStringLiteral("无法读取") + target + QStringLiteral("\n请选择其他驱动器或文件夹."));
        return false;
    }

    // Each step up must shorten the path, so an odd root cannot keep the walk going.
    QStringList chain{target};
    while (!QDir(chain.first()).isRoot()) {
        const QString up = parentOf(chain.first());
        if (up.size() >= chain.first().size())
            break;
        chain.prepend(up);
    }

    const QStringList subfolders = QDir(target).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *level = nullptr;
    for (const QString &step : chain) {
        level = level ? new QTreeWidgetItem(level) : new QTreeWidgetItem(this);
        level->setText(0, entryName(step));
        level->setData(0, Qt::UserRole, step);
        level->setIcon(0, openIcon);
    }
    for (const QString &name : subfolders) {
        auto *item = new QTreeWidgetItem(level);
        item->setText(0, name);
        item->setData(0, Qt::UserRole, childOf(target, name));
        item->setIcon(0, closedIcon);
    }
    expandAll();
    setCurrentItem(level);
    scrollToItem(level, QAbstractItemView::PositionAtTop);

    const bool changed = target != m_path;
    m_path = target;
    if (changed)
        Q_EMIT pathChanged(m_path);
    return true;
}

QString FolderList::folderOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem *FolderList::itemFor(const QString &folder) const
{
    const QString native = nativeFolderPath(folder);
    for (QTreeWidgetItemIterator it(const_cast<FolderList *>(this)); *it; ++it) {
        if (folderOf(*it) == native)
            return *it;
    }
    return nullptr;
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderList::openItem(QTreeWidgetItem *item)
{
    if (item)
        setPath(folderOf(item));
}

// ---------------------------------------------------------------------------------------

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    reload();
}

void FileList::setPath(const QString &folder)
{
    m_path = nativeFolderPath(folder);
    reload();
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileList::reload()
{
    clear();
    if (m_path.isEmpty())
        return;
    QStringList patterns;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            patterns << part.trimmed();
    }
    // Without a case-sensitive filter the patterns match names as Windows does: *.mp3 finds A.MP3.
    addItems(QDir(m_path).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

// ---------------------------------------------------------------------------------------

void linkBrowseLists(DriveList *drives, FolderList *folders, FileList *files)
{
    QObject::connect(drives, &DriveList::driveChanged, folders, [drives, folders](const QString &root) {
        if (!folders->setPath(drives->startFolder(root)))
            drives->showDriveOf(folders->path());
    });
    // Opening an ancestor may leave the drive, as "/" does from a folder on /home.
    QObject::connect(folders, &FolderList::pathChanged, drives, [drives](const QString &path) {
        drives->showDriveOf(path);
    });
    drives->showDriveOf(folders->path());
    if (files) {
        QObject::connect(folders, &FolderList::pathChanged, files, &FileList::setPath);
        if (!folders->path().isEmpty())
            files->setPath(folders->path());
    }
}

} // namespace platform
