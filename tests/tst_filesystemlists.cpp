// The drive, folder and file lists, driven with the mouse on real folders.
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/notice.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QVBoxLayout>

#include <unistd.h>

#include <optional>

using namespace platform;
using namespace std::chrono_literals;

namespace {

const QString unreadableHint = QStringLiteral("\n请选择其他驱动器或文件夹.");
const QString musicPattern = QStringLiteral("*.mp3;*.mid;*.wav");

// Enough entries that reading them takes the lists a while, few enough to make them quickly.
constexpr int manyCount = 20000;
// AddressSanitizer pads every allocation and keeps freed memory aside, so there the memory
// a process holds says nothing about what the lists take.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool memoryTells = false;
#elif defined(__has_feature)
constexpr bool memoryTells = !__has_feature(address_sanitizer);
#else
constexpr bool memoryTells = true;
#endif

// Far more than a user notices, so a busy machine does not fail the tests; listing the
// folders of manyCount entries one item each held the window longer than this.
constexpr qint64 heldBoundMs = 300;

// The entries below a parent, top to bottom as "depth:name".
QStringList entries(const QAbstractItemModel *model, const QModelIndex &parent = {}, int depth = 0)
{
    QStringList shown;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex entry = model->index(row, 0, parent);
        shown << QStringLiteral("%1:%2").arg(depth).arg(entry.data().toString());
        shown << entries(model, entry, depth + 1);
    }
    return shown;
}

QStringList entries(FolderList *list)
{
    return entries(list->model());
}

// The names of a folder's subfolders as the list shows them.
QStringList subfolderNames(FolderList *list, const QString &folder)
{
    const QModelIndex open = list->indexFor(folder);
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(open); ++row)
        shown << list->model()->index(row, 0, open).data().toString();
    return shown;
}

QStringList fileNames(FileList *list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->model()->index(row, 0).data().toString();
    return shown;
}

} // namespace

class FileSystemListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
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
    void manyEntriesListWithoutHoldingTheWindow_data();
    void manyEntriesListWithoutHoldingTheWindow();
    void namesSortWhateverTheirCase_data();
    void namesSortWhateverTheirCase();
    void openingAnotherFolderDropsTheListingStillRunning_data();
    void openingAnotherFolderDropsTheListingStillRunning();
    void unreadableFolderWhileListingLeavesTheListingAlone();

private:
    QString tree(const QString &relative) const { return QDir::cleanPath(m_tree->path() + u'/' + relative); }
    static bool choose(FolderList *list, const QString &folder, bool twice)
    {
        return testsupport::clickFolder(list, folder, twice);
    }
    // Whether both lists have read what they show.
    bool listed() const { return testsupport::listsRead(m_host.get()); }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<QTemporaryDir> m_big; // made once: making many entries takes a while
    std::unique_ptr<testsupport::ManyEntries> m_manyFolders;
    std::unique_ptr<testsupport::ManyEntries> m_manyFiles;
    std::unique_ptr<NoticeRecorder> m_notices;
    std::unique_ptr<QWidget> m_host;
    DriveList *m_drives = nullptr;
    FolderList *m_folders = nullptr;
    FileList *m_files = nullptr;
};

void FileSystemListsTest::initTestCase()
{
    // Folders are made and removed a hundred times faster in memory than on a journalled disk.
    m_big = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/tst_filesystemlists-XXXXXX"));
    if (!m_big->isValid())
        m_big = std::make_unique<QTemporaryDir>();
    QVERIFY(m_big->isValid());
    m_manyFolders = std::make_unique<testsupport::ManyEntries>(m_big->path() + QStringLiteral("/folders"), manyCount,
                                                               testsupport::ManyEntries::Folders);
    QVERIFY(m_manyFolders->isValid());
    m_manyFiles = std::make_unique<testsupport::ManyEntries>(
        m_big->path() + QStringLiteral("/files"), manyCount, testsupport::ManyEntries::Files,
        QStringList{QStringLiteral(".MP3"), QStringLiteral(".mid"), QStringLiteral(".Wav")});
    QVERIFY(m_manyFiles->isValid());
    // Among them, files the music pattern leaves out.
    for (const char *other : {"Entry00002.txt", "entry00003.mp3.bak", ".hidden.mp3"})
        QVERIFY(testsupport::writeBytes(m_manyFiles->path() + u'/' + QLatin1String(other), "x"));
}

void FileSystemListsTest::cleanupTestCase()
{
    m_manyFolders.reset();
    m_manyFiles.reset();
    m_big.reset();
}

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
    QVERIFY(listed());

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
    const int rootX = m_folders->visualRect(m_folders->indexFor(QStringLiteral("/"))).x();
    const int openX = m_folders->visualRect(m_folders->indexFor(tree(QStringLiteral("qq")))).x();
    const int subX = m_folders->visualRect(m_folders->indexFor(tree(QStringLiteral("qq/bin")))).x();
    QVERIFY2(rootX < openX && openX < subX, qPrintable(QStringLiteral("%1 %2 %3").arg(rootX).arg(openX).arg(subX)));
    QCOMPARE(FolderList::folderOf(m_folders->currentIndex()), tree(QStringLiteral("qq")));
}

void FileSystemListsTest::doubleClickOpensAndSingleClickOnlyHighlights()
{
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QSignalSpy changes(m_folders, &FolderList::pathChanged);

    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/skins")), false));
    QCOMPARE(FolderList::folderOf(m_folders->currentIndex()), tree(QStringLiteral("qq/skins")));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(changes.count(), 0);

    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/skins")), true));
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq/skins")));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.last().first().toString(), tree(QStringLiteral("qq/skins")));
    QVERIFY(listed());
    QVERIFY(m_folders->indexFor(tree(QStringLiteral("qq/skins/a"))).isValid());
    QVERIFY(!m_folders->indexFor(tree(QStringLiteral("qq/bin"))).isValid());

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
    QVERIFY(listed());
    const QAbstractItemModel *model = m_folders->model();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("/"));
    // Its subfolders have no doubled separator either.
    const QString firstChild = FolderList::folderOf(model->index(0, 0, model->index(0, 0)));
    QVERIFY2(firstChild.startsWith(u'/') && !firstChild.startsWith(QLatin1String("//")), qPrintable(firstChild));
}

void FileSystemListsTest::folderThatVanishedKeepsTheListWhereItWas()
{
    QVERIFY(m_folders->setPath(tree(QStringLiteral("qq"))));
    QVERIFY(listed());
    const QStringList before = entries(m_folders);
    QSignalSpy changes(m_folders, &FolderList::pathChanged);

    // Listed a moment ago, gone when the user opens it: as root can't be kept out by
    // permissions, this is the unreadable folder every test run can make.
    QVERIFY(QDir(tree(QStringLiteral("qq/bin"))).removeRecursively());
    QVERIFY(choose(m_folders, tree(QStringLiteral("qq/bin")), true));

    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(entries(m_folders), before);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_notices->texts(),
             QStringList{QStringLiteral("无法读取") + tree(QStringLiteral("qq/bin")) + unreadableHint});
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
    QCOMPARE(m_notices->texts(),
             QStringList{QStringLiteral("无法读取") + tree(QStringLiteral("qq/bin")) + unreadableHint});
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
    QVERIFY(listed());
    linkBrowseLists(m_drives, m_folders);

    QTest::keyClick(m_drives, Qt::Key_Down);
    QCOMPARE(m_notices->texts(), QStringList{QStringLiteral("无法读取") + empty + unreadableHint});
    QCOMPARE(m_folders->path(), tree(QStringLiteral("qq")));
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
    QVERIFY(m_folders->indexFor(tree(QStringLiteral("qq/skins"))).isValid());
}

void FileSystemListsTest::fileListShowsOnlyMatchingFilesAndFollowsTheFolder()
{
    m_files->setPattern(QStringLiteral("*.mp3;*.mid;*.wav"));
    QVERIFY(m_folders->setPath(m_tree->path()));
    linkBrowseLists(m_drives, m_folders, m_files);
    QCOMPARE(m_files->path(), m_tree->path());
    QVERIFY(listed());
    QCOMPARE(m_files->count(), 0);

    QVERIFY(choose(m_folders, tree(QStringLiteral("music")), true));
    QCOMPARE(m_files->path(), tree(QStringLiteral("music")));
    QVERIFY(listed());
    // Any case of the extension; no other files, no hidden ones, no folder named like a tune.
    QCOMPARE(fileNames(m_files),
             (QStringList{QStringLiteral("a.mp3"), QStringLiteral("B.MID"), QStringLiteral("c.wav")}));

    QCOMPARE(m_files->fileName(), QString());
    const QRect second = m_files->visualRect(m_files->model()->index(1, 0));
    QTest::mouseClick(m_files->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(m_files->fileName(), QStringLiteral("B.MID"));

    m_files->setPattern(QStringLiteral("*.txt"));
    QVERIFY(listed());
    QCOMPARE(m_files->count(), 1);
    QCOMPARE(fileNames(m_files), QStringList{QStringLiteral("d.txt")});
}

void FileSystemListsTest::manyEntriesListWithoutHoldingTheWindow_data()
{
    QTest::addColumn<bool>("files");
    QTest::addColumn<int>("waitMs"); // negative: the lists' own wait
    QTest::newRow("subfolders, shown once read") << false << 0;
    QTest::newRow("subfolders, the lists' own wait") << false << -1;
    QTest::newRow("music files, shown once read") << true << 0;
    QTest::newRow("music files, the lists' own wait") << true << -1;
}

void FileSystemListsTest::manyEntriesListWithoutHoldingTheWindow()
{
    QFETCH(bool, files);
    QFETCH(int, waitMs);
    const testsupport::ManyEntries &many = files ? *m_manyFiles : *m_manyFolders;
    m_files->setPattern(musicPattern);
    linkBrowseLists(m_drives, m_folders, m_files);
    if (waitMs >= 0) {
        m_folders->setListingWait(std::chrono::milliseconds(waitMs));
        m_files->setListingWait(std::chrono::milliseconds(waitMs));
    }
    const double megabytesBefore = testsupport::residentMegabytes();

    // From the double click until the window has painted the open folder. Told not to
    // wait, the lists show it before anything has been read, however fast the machine is.
    std::optional<testsupport::HeldThreadPool> unread;
    if (waitMs == 0)
        unread.emplace();
    QElapsedTimer held;
    held.start();
    QVERIFY(m_folders->setPath(many.path()));
    m_host->repaint();
    QVERIFY2(held.elapsed() < heldBoundMs, qPrintable(QStringLiteral("held %1 ms").arg(held.elapsed())));
    QCOMPARE(m_folders->path(), many.path());
    QCOMPARE(FolderList::folderOf(m_folders->currentIndex()), many.path());
    if (waitMs == 0)
        QVERIFY(files ? m_files->isListing() : m_folders->isListing());
    unread.reset();

    // The names arrive while the window goes on; no turn of its event loop takes long.
    qint64 longestTurn = 0;
    QElapsedTimer overall;
    overall.start();
    while (m_folders->isListing() || m_files->isListing()) {
        QVERIFY2(overall.elapsed() < 20000, "the listing never ended");
        QTest::qSleep(1);
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents();
        m_host->repaint();
        longestTurn = std::max(longestTurn, turn.elapsed());
    }
    QVERIFY2(longestTurn < heldBoundMs, qPrintable(QStringLiteral("held %1 ms").arg(longestTurn)));
    // A few hundred bytes an entry; an item object for each costs several times that.
    const double grown = testsupport::residentMegabytes() - megabytesBefore;
    if (memoryTells)
        QVERIFY2(grown < many.count() * 400.0 / (1024 * 1024), qPrintable(QStringLiteral("grew %1 MB").arg(grown)));

    // All of them, by name whatever the case, and nothing else.
    const QStringList shown = files ? fileNames(m_files) : subfolderNames(m_folders, many.path());
    QCOMPARE(shown.size(), many.count());
    for (int i = 0; i < many.count(); ++i)
        QCOMPARE(shown.at(i), many.name(i));

    // The last entries work like any other.
    const QString last = many.name(many.count() - 1);
    if (files) {
        const QModelIndex entry = m_files->model()->index(many.count() - 1, 0);
        m_files->scrollTo(entry);
        QTest::mouseClick(m_files->viewport(), Qt::LeftButton, {}, m_files->visualRect(entry).center());
        QCOMPARE(m_files->fileName(), last);
    } else {
        QVERIFY(choose(m_folders, many.path() + u'/' + last, true));
        QCOMPARE(m_folders->path(), many.path() + u'/' + last);
        QCOMPARE(m_files->path(), many.path() + u'/' + last);
    }
    QVERIFY(m_notices->records().isEmpty());
}

void FileSystemListsTest::namesSortWhateverTheirCase_data()
{
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("names equal but for case, capitals first")
        << QStringList{QStringLiteral("b"), QStringLiteral("A"),  QStringLiteral("a"),
                       QStringLiteral("B"), QStringLiteral("aB"), QStringLiteral("Ab")}
        << QStringList{QStringLiteral("A"),  QStringLiteral("a"), QStringLiteral("Ab"),
                       QStringLiteral("aB"), QStringLiteral("B"), QStringLiteral("b")};
    QTest::newRow("digits and signs by their codes, before small letters")
        << QStringList{QStringLiteral("z"), QStringLiteral("_x"), QStringLiteral("10"),
                       QStringLiteral("9"), QStringLiteral("[q"), QStringLiteral("Alpha")}
        << QStringList{QStringLiteral("10"), QStringLiteral("9"),     QStringLiteral("[q"),
                       QStringLiteral("_x"), QStringLiteral("Alpha"), QStringLiteral("z")};
    QTest::newRow("letters beyond ASCII by their small letter")
        << QStringList{QStringLiteral("Äpfel"), QStringLiteral("über"), QStringLiteral("äb"), QStringLiteral("Zebra")}
        << QStringList{QStringLiteral("Zebra"), QStringLiteral("äb"), QStringLiteral("Äpfel"), QStringLiteral("über")};
    QTest::newRow("Chinese names by their codes")
        << QStringList{QStringLiteral("音乐"), QStringLiteral("歌曲"), QStringLiteral("Music"), QStringLiteral("中文")}
        << QStringList{QStringLiteral("Music"), QStringLiteral("中文"), QStringLiteral("歌曲"), QStringLiteral("音乐")};
    // İ becomes i and a combining dot when made small; letters beyond the first plane take two
    // units each, and 𐐀 becomes 𐐨.
    QTest::newRow("dotted capital I and letters beyond the first plane")
        << QStringList{QStringLiteral("𐐀b"), QStringLiteral("İa"), QStringLiteral("jb"), QStringLiteral("𐐨a"),
                       QStringLiteral("ib")}
        << QStringList{QStringLiteral("ib"), QStringLiteral("İa"), QStringLiteral("jb"), QStringLiteral("𐐨a"),
                       QStringLiteral("𐐀b")};
}

void FileSystemListsTest::namesSortWhateverTheirCase()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, listed);
    const QString folders = tree(QStringLiteral("sorted"));
    const QString tunes = tree(QStringLiteral("tunes"));
    QVERIFY(QDir().mkpath(tunes));
    for (const QString &name : made) {
        QVERIFY(QDir().mkpath(folders + u'/' + name));
        QVERIFY(testsupport::writeBytes(tunes + u'/' + name + QStringLiteral(".mp3"), "x"));
    }

    QVERIFY(m_folders->setPath(folders));
    QVERIFY(this->listed());
    QCOMPARE(subfolderNames(m_folders, folders), listed);
    // Each is found by its path, as a double click and the tests find it.
    for (const QString &name : listed) {
        const QModelIndex entry = m_folders->indexFor(folders + u'/' + name);
        QCOMPARE(entry.data().toString(), name);
        QCOMPARE(FolderList::folderOf(entry), folders + u'/' + name);
    }

    m_files->setPattern(QStringLiteral("*.mp3"));
    m_files->setPath(tunes);
    QVERIFY(this->listed());
    QStringList tuneNames;
    for (const QString &name : listed)
        tuneNames << name + QStringLiteral(".mp3");
    QCOMPARE(fileNames(m_files), tuneNames);
}

void FileSystemListsTest::openingAnotherFolderDropsTheListingStillRunning_data()
{
    QTest::addColumn<bool>("files");
    QTest::newRow("subfolders still being read") << false;
    QTest::newRow("music files still being read") << true;
}

void FileSystemListsTest::openingAnotherFolderDropsTheListingStillRunning()
{
    QFETCH(bool, files);
    const testsupport::ManyEntries &many = files ? *m_manyFiles : *m_manyFolders;
    m_files->setPattern(musicPattern);
    linkBrowseLists(m_drives, m_folders, m_files);
    m_folders->setListingWait(0ms);
    m_files->setListingWait(0ms);

    // The user opens a small folder before the huge one has been read.
    std::optional<testsupport::HeldThreadPool> unread(std::in_place);
    QVERIFY(m_folders->setPath(many.path()));
    QVERIFY(files ? m_files->isListing() : m_folders->isListing());
    QVERIFY(m_folders->setPath(tree(QStringLiteral("music"))));
    unread.reset();

    // Until every reading, the dropped one too, is over, the lists show the small folder's
    // entries or, while it is read, none.
    const QStringList subfolders{QStringLiteral("x.mid")};
    const QStringList music{QStringLiteral("a.mp3"), QStringLiteral("B.MID"), QStringLiteral("c.wav")};
    QElapsedTimer watched;
    watched.start();
    while (QThreadPool::globalInstance()->activeThreadCount() > 0 || m_folders->isListing() || m_files->isListing()) {
        QVERIFY2(watched.elapsed() < 20000, "the readings never ended");
        QTest::qWait(1);
        const QStringList shownFolders = subfolderNames(m_folders, tree(QStringLiteral("music")));
        const QStringList shownFiles = fileNames(m_files);
        QVERIFY2(shownFolders.isEmpty() || shownFolders == subfolders, qPrintable(shownFolders.mid(0, 3).join(u' ')));
        QVERIFY2(shownFiles.isEmpty() || shownFiles == music, qPrintable(shownFiles.mid(0, 3).join(u' ')));
    }
    QCOMPARE(m_folders->path(), tree(QStringLiteral("music")));
    QCOMPARE(subfolderNames(m_folders, tree(QStringLiteral("music"))), subfolders);
    QCOMPARE(m_files->path(), tree(QStringLiteral("music")));
    QCOMPARE(fileNames(m_files), music);

    // The window may close while a folder is being read; its names then go nowhere.
    unread.emplace();
    QVERIFY(m_folders->setPath(many.path()));
    QVERIFY(files ? m_files->isListing() : m_folders->isListing());
    unread.reset();
    m_host.reset();
    QVERIFY(QThreadPool::globalInstance()->waitForDone(20000));
    QCoreApplication::processEvents();
    QVERIFY(m_notices->records().isEmpty());
}

void FileSystemListsTest::unreadableFolderWhileListingLeavesTheListingAlone()
{
    const QString gone = tree(QStringLiteral("no-medium"));
    m_drives->setDrives({QStringLiteral("/"), gone});
    m_folders->setListingWait(0ms);
    std::optional<testsupport::HeldThreadPool> unread(std::in_place);
    QVERIFY(m_folders->setPath(m_manyFolders->path()));
    linkBrowseLists(m_drives, m_folders);
    QVERIFY(m_folders->isListing());

    // Told at once, by path and by drive, not once the folder shown has been read.
    QVERIFY(!m_folders->setPath(gone));
    QTest::keyClick(m_drives, Qt::Key_Down);
    const QString told = QStringLiteral("无法读取") + gone + unreadableHint;
    QCOMPARE(m_notices->texts(), (QStringList{told, told}));
    QCOMPARE(m_drives->drive(), QStringLiteral("/"));
    QCOMPARE(m_folders->path(), m_manyFolders->path());
    QVERIFY(m_folders->isListing());

    // The folder shown goes on being read.
    unread.reset();
    QVERIFY(listed());
    QCOMPARE(subfolderNames(m_folders, m_manyFolders->path()).size(), manyCount);
}

MORVANE_TEST_MAIN(FileSystemListsTest)
#include "tst_filesystemlists.moc"
