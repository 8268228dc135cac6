#include "filesystemlists.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace platform {

namespace {

// Mounts that only serve the system (kernel views, containers, snaps, per-session
// memory) are no place to keep files a user chooses; memory file systems other than
// /tmp vanish at the next start anyway.
bool isBrowsedByUsers(const QString &root, const QByteArray &type)
{
    static const QStringList systemFolders{
        QStringLiteral("/proc"), QStringLiteral("/sys"),     QStringLiteral("/dev"),      QStringLiteral("/run"),
        QStringLiteral("/snap"), QStringLiteral("/var/lib"), QStringLiteral("/var/snap"), QStringLiteral("/boot/efi"),
    };
    static const QList<QByteArray> systemTypes{
        "proc",        "sysfs",      "devpts", "devtmpfs",   "cgroup",   "cgroup2",  "mqueue",      "debugfs",
        "tracefs",     "securityfs", "pstore", "bpf",        "configfs", "fusectl",  "hugetlbfs",   "autofs",
        "binfmt_misc", "efivarfs",   "nsfs",   "rpc_pipefs", "overlay",  "squashfs", "fuse.portal", "fuse.gvfsd-fuse",
    };
    if (root.startsWith(QLatin1String("/run/media/")))
        return true; // where some desktops mount removable drives
    for (const QString &folder : systemFolders) {
        if (liesOn(root, folder))
            return false;
    }
    if (systemTypes.contains(type))
        return false;
    if ((type == "tmpfs" || type == "ramfs") && root != QLatin1String("/tmp"))
        return false;
    return QFileInfo(root).isDir(); // not a single file mounted in place
}

} // namespace

QStringList DriveList::machineDrives()
{
    QStringList roots;
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
    return roots;
}

} // namespace platform
