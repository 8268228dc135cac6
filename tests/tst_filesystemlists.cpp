// The drive, folder and file lists, driven with the mouse on real folders.
#include "platform/filesystemlists.h"
#include "platform/notice.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <unistd.h>

using namespace platform;

namespace {

const QString unreadableHint = QStringLiteral("\n请选择其他驱动器或文件夹.");

// The middle of a folder's entry in the viewport, or a null point when it is not listed.
QPoint entryCentre(FolderList *list, const QString &folder)
{
    QTreeWidgetItem *item = list->itemFor(folder);
    if (!item)
        return {};
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

// The entries top to bottom as "depth:name".
QStringList entries(FolderList *list)
{
    QStringList shown;
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
            ++depth;
        shown << QStringLiteral("%1:%2").arg(depth).arg((*it)->text(0));
    }
    return shown;
}

} // namespace

class FileSystemListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void givesNativeFolderPaths();
    void listsAncestorsThenSubfolders();
    void doubleClickOpensAndSingleClickOnlyHighlights();
    void rootKeepsItsSeparator();
    void folderThatVanishedKeepsTheListWhereItWas();
    void folderWithoutPermissionKeepsTheListWhereItWas();
    void machineDrivesStartAtTheRoot();
    void choosingADriveMovesTheFolderList();
    void unreadableDriveGoesBackToTheShownFolder();
    void fileListShowsOnlyMatchingFilesAndFollowsTheFolder();

private:
    QString tree(const QString &relative) const { return QDir::cleanPath(m_tree->path() + u'/' + relative); }
    bool choose(FolderList *list, const QString &folder, bool twice);

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<NoticeRecorder> m_notices;
    std::unique_ptr<QWidget> m_host;
    DriveList *m_drives = nullptr;
    FolderList *m_folders = nullptr;
    FileList *m_files = nullptr;
};

void FileSystemListsTest::init()
{
    m_tree = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tree->isValid());
    for (const char *folder : {"qq/skins/a", "qq/NewSkins", "qq/bin", "qq/.hidden", "qq/Alpha", "music/x.mid"})
        QVERIFY(QDir(m_tree->path()).mkpath(QLatin1String(folder)));
    for (const char *file : {"qq/readme.txt", "music/a.mp3", "music/B.MID", "music/c.wav", "music/d.txt",
                             "music/e.mp3.bak", "music/.f.mp3"})
        QVERIFY(testsupport::writeBytes(tree(QLatin1String(file)), "x"));

    m_notices = std::make_unique<NoticeRecorder>();
    m_host = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_host.get());
    m_drives = new DriveList;
    m_folders = new FolderList;
    m_files = new FileList;
    layout->addWidget(m_drives);
    layout->addWidget(m_folders);
    layout->addWidget(m_files);
    m_host->resize(300, 700);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void FileSystemListsTest::cleanup()
{
    m_host.reset();
    m_notices.reset();
    if (m_tree) {
        // Give back what a test took away, so the folder can be removed.
        QFile::setPermissions(tree(QStringLiteral("qq/bin")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_tree.reset();
    }
}

bool FileSystemListsTest::choose(FolderList *list, const QString &folder, bool twice)
{
    const QPoint centre = entryCentre(list, folder);
    if (centre.isNull())
        return false;
    // A real double click arrives as a click and then the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return true;
}

void FileSystemListsTest::givesNativeFolderPaths()
{
    QCOMPARE(nativeFolderPath(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(nativeFolderPath(tree(QStringLiteral("qq")) + QStringLiteral("/")), tree(QStringLiteral("qq")));
    QCOMPARE(nativeFolderPath(tree(QStringLiteral("qq/./bin/../skins//a"))), tree(QStringLiteral("qq/skins/a")));

    QVERIFY(isBrowsableFolder(tree(QStringLiteral("qq"))));
    QVERIFY(!isBrowsableFolder(tree(QStringLiteral("qq/readme.txt"))));
    QVERIFY(!isBrowsableFolder(tree(QStringLiteral("missing"))));
}

void FileSystemListsTest::listsAncestorsThenSubfolders()
{
    QSignalSpy changes(m_folders, &FolderList::pathChanged);
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(changes.count(), 1);

    // Every ancestor one level deeper than the last, from the root down to the current
    // folder; then its subfolders, hidden ones too, by name whatever the case; no files.
    const QStringList ancestors = tree(QStringLiteral("qq")).split(u'/', Qt::SkipEmptyParts);
    QStringList expected{QStringLiteral("0:/")};
    for (int i = 0; i < ancestors.size(); ++i)
        expected << QStringLiteral("%1:%2").arg(i + 1).arg(ancestors.at(i));
    const int below = ancestors.size() + 1;
    for (const char *name : {".hidden", "Alpha", "bin", "NewSkins", "skins"})
        expected << QStringLiteral("%1:%2").arg(below).arg(QLatin1String(name));
    QCOMPARE(entries(m_folders), expected);

    // Each level is drawn further right, and the open folder is the highlighted entry.
    const int rootX = m_folders->visualItemRect(m_folders->itemFor(QStringLiteral("/"))).x();
    const int openX = m_folders->visualItemRect(m_folders->itemFor(tree(QStringLiteral("qq")))).x();
    const int subX = m_folders->visualItemRect(m_folders->itemFor(tree(QStringLiteral("qq/bin")))).x();
    QVERIFY2(rootX < openX && openX < subX, qPrintable(QStringLiteral("%1 %2 %3").arg(rootX).arg(openX).arg(subX)));
    QCOMPARE(FolderList::folderOf(m_folders->currentItem()), tree(QStringLiteral("qq")));
}

void FileSystemListsTest::doubleClickOpensAndSingleClickOnlyHighlights()
{
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QSignalSpy changes(m_folders, &FolderList::pathChanged);

    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/skins")), false));
    QCOMPARE(FolderList::folderOf(m_folders->currentItem()), tree(QStringLiteral("qq/skins")));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(changes.count(), 0);

    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/skins")), true));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq/skins")));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.last().first().toString(), tree(QStringLiteral("qq/skins")));
    QVERIFY(m_folders->itemFor(tree(QStringLiteral("qq/skins/a"))));
    QVERIFY(!m_folders->itemFor(tree(QStringLiteral("qq/bin"))));

    // Ancestors open too, and Enter opens the highlighted entry like a double click.
    QVERIFY(choose(m_folders, m_tree->path(), true));
    QCOMPARE(m_folders->path(), m_tree->path());
    QVERIFY(choose(m_folders, tree(QStringLiteral("music")), false));
    QTest::keyClick(m_folders, Qt::Key_Return);
    QCOMPARE(m_folders->path(), tree(QStringLiteral("music")));
    QVERIFY(m_notices->records().isEmpty());
}

void FileSystemListsTest::rootKeepsItsSeparator()
{
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QVERIFY(choose(m_folders, QStringLiteral("/"), true));
    QCOMPARE(m_folders->path(), QStringLiteral("/"));
    QCOMPARE(m_folders->topLevelItemCount(), 1);
    QCOMPARE(m_folders->topLevelItem(0)->text(0), QStringLiteral("/"));
    // Its subfolders have no doubled separator either.
    const QString firstChild = FolderList::folderOf(m_folders->topLevelItem(0)->child(0));
    QVERIFY2(firstChild.startsWith(u'/') && !firstChild.startsWith(QLatin1String("//")), qPrintable(firstChild));
}

void FileSystemListsTest::folderThatVanishedKeepsTheListWhereItWas()
{
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    const QStringList before = entries(m_folders);
    QSignalSpy changes(m_folders, &FolderList::pathChanged);

    // Listed a moment ago, gone when the user opens it: as root can't be kept out by
    // permissions, this is the unreadable folder every test run can make.
    QVERIFY(QDir(tree(QStringLiteral("qq/bin"))).removeRecursively());
    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/bin")), true));

    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(entries(m_folders), before);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_notices->texts(), QStringList{QStringLiteral("无法读取") + tree(QStringLiteral("qq/bin")) + unreadableHint});
    QCOMPARE(m_notices->records().first().title, QStringLiteral("提示"));

    // The list goes on working.
    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/skins")), true));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq/skins")));
}

void FileSystemListsTest::folderWithoutPermissionKeepsTheListWhereItWas()
{
    if (::geteuid() == 0)
        QSKIP("root reads every folder whatever its permissions; the vanished folder covers this case");
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QVERIFY(QFile::setPermissions(tree(QStringLiteral("qq/bin")), QFile::WriteOwner));
    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/bin")), true));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(m_notices->texts(), QStringList{QStringLiteral("无法读取") + tree(QStringLiteral("qq/bin")) + unreadableHint});
}

void FileSystemListsTest::machineDrivesStartAtTheRoot()
{
    const QStringList drives = DriveList::machineDrives();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.first(), QStringLiteral("/"));
    QCOMPARE(drives.count(QStringLiteral("/")), 1);
    for (const QString &root : drives) {
        QVERIFY2(QFileInfo(root).isDir(), qPrintable(root));
        for (const char *system : {"/proc", "/sys", "/dev", "/run/user"})
            QVERIFY2(!root.startsWith(QLatin1String(system)), qPrintable(root));
    }
    QCOMPARE(m_drives->drives(), drives);
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
}

void FileSystemListsTest::choosingADriveMovesTheFolderList()
{
    // A second drive mounted at our tree; the process works elsewhere on "/".
    const QString second = tree(QStringLiteral("qq"));
    m_drives->setDrives({QStringLiteral("/"), second});
    QCOMPARE(m_drives->driveOf(tree(QStringLiteral("qq/skins/a"))), second);
    QCOMPARE(m_drives->driveOf(tree(QStringLiteral("music"))), QStringLiteral("/"));

    QVERIFY(m_folders->setPath(tree(QStringLiteral("music"))));
    linkBrowseLists(m_drives, m_folders, m_files);
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));

    QTest::keyClick(m_drives, Qt::Key_Down);
    QCOMPARE(m_drives->drive(), second);
    QCOMPARE(m_folders->path(), second);

    // Back on "/", the list opens at the folder the process works in there.
    QTest::keyClick(m_drives, Qt::Key_Up);
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
    QCOMPARE(m_folders->path(), nativeFolderPath(QDir::currentPath()));

    // Opening a folder on another drive moves the drive list along.
    m_drives->setCurrentIndex(1);
    QCOMPARE(m_folders->path(), second);
    QVERIFY(choose(m_folders, m_tree->path(), true));
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
    QVERIFY(m_notices->records().isEmpty());
}

void FileSystemListsTest::unreadableDriveGoesBackToTheShownFolder()
{
    const QString empty = tree(QStringLiteral("no-medium"));
    m_drives->setDrives({QStringLiteral("/"), empty});
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    linkBrowseLists(m_drives, m_folders);

    QTest::keyClick(m_drives, Qt::Key_Down);
    QCOMPARE(m_notices->texts(), QStringList{QStringLiteral("无法读取") + empty + unreadableHint});
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
    QVERIFY(m_folders->itemFor(tree(QStringLiteral("qq/skins"))));
}

void FileSystemListsTest::fileListShowsOnlyMatchingFilesAndFollowsTheFolder()
{
    m_files->setPattern(QStringLiteral("*.mp3;*.mid;*.wav"));
    QVERIFY(m_folders->setPath(m_tree->path()));
    linkBrowseLists(m_drives, m_folders, m_files);
    QCOMPARE(m_files->path(), m_tree->path());
    QCOMPARE(m_files->count(), 0);

    QVERIFY(choose(m_folders, tree(QStringLiteral("music")), true));
    QCOMPARE(m_files->path(), tree(QStringLiteral("music")));
    QStringList shown;
    for (int i = 0; i < m_files->count(); ++i)
        shown << m_files->item(i)->text();
    // Any case of the extension; no other files, no hidden ones, no folder named like a tune.
    QCOMPARE(shown, (QStringList{QStringLiteral("a.mp3"), QStringLiteral("B.MID"), QStringLiteral("c.wav")}));

    QCOMPARE(m_files->fileName(), QString());
    const QRect second = m_files->visualItemRect(m_files->item(1));
    QTest::mouseClick(m_files->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(m_files->fileName(), QStringLiteral("B.MID"));

    m_files->setPattern(QStringLiteral("*.txt"));
    QCOMPARE(m_files->count(), 1);
    QCOMPARE(m_files->item(0)->text(), QStringLiteral("d.txt"));
}

MORVANE_TEST_MAIN(FileSystemListsTest)
#include "tst_filesystemlists.moc"
