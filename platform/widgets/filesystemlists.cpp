#include "filesystemlists.h"

#include "notice.h"

#include "platform/core/workingfolder.h"

#include <QAbstractItemModel>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QPromise>
#include <QSemaphore>
#include <QSignalBlocker>
#include <QStyle>
#include <QThreadPool>

#include <algorithm>
#include <functional>

namespace platform {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

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

// A folder read within this time shows complete at once, with no moment of an empty list;
// waiting longer would be noticed.
constexpr std::chrono::milliseconds defaultListingWait{50};

// Compares as a.toLower().compare(b.toLower()) does, without making the lowered copies,
// which for a huge folder would cost as much memory as its names: toLower() maps each UTF-16
// unit as QChar::toLower() does, except U+0130, which becomes two units, and surrogate pairs,
// which it maps as one character; names that differ there take the slow way.
int compareLowered(const QString &a, const QString &b)
{
    const auto needsWholeName = [](char16_t unit) { return unit == 0x130 || QChar::isSurrogate(unit); };
    const auto lowered = [](char16_t unit) {
        if (unit < 0x80)
            return unit >= u'A' && unit <= u'Z' ? char16_t(unit + (u'a' - u'A')) : unit;
        return char16_t(QChar::toLower(unit));
    };
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x == y)
            continue;
        if (needsWholeName(x) || needsWholeName(y))
            return a.toLower().compare(b.toLower());
        const char16_t lowX = lowered(x);
        const char16_t lowY = lowered(y);
        if (lowX != lowY)
            return lowX < lowY ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The lists show names by name whatever the case, compared lower-cased as Windows-era lists
// did; names that differ only in case come capitals first, so the order never depends on the
// order the disk hands them out in.
bool listedBefore(const QString &a, const QString &b)
{
    const int byName = compareLowered(a, b);
    return byName != 0 ? byName < 0 : a < b;
}

// The names of a folder's entries in list order; runs on the thread pool and gives up as
// soon as the listing is no longer wanted.
QStringList readEntries(const QString &folder, QDir::Filters filters, const QStringList &nameFilters,
                        const QPromise<QStringList> &promise)
{
    QStringList names;
    QDirIterator entries(folder, nameFilters, filters);
    while (entries.hasNext()) {
        if (promise.isCanceled())
            return {};
        entries.next();
        names << entries.fileName();
    }
    std::sort(names.begin(), names.end(), listedBefore);
    return names;
}

} // namespace

QString nativeFolderPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

bool liesOn(const QString &folder, const QString &root)
{
    if (folder.compare(root, pathCase) == 0)
        return true;
    const QString prefix = root.endsWith(QDir::separator()) ? root : root + QDir::separator();
    return folder.startsWith(prefix, pathCase);
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

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    setDrives(machineDrives());
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Q_EMIT driveChanged(drive()); });
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
    const QString opening = openingFolder();
    return driveOf(opening) == root ? opening : root;
}

QString DriveList::openingFolder()
{
    const QString current = QDir::currentPath();
    const QString perUser = perUserFolder();
    const bool inPerUserFolder =
        !perUser.isEmpty() && QFileInfo(perUser).canonicalFilePath() == QFileInfo(current).canonicalFilePath();
    return nativeFolderPath(inPerUserFolder ? QDir::homePath() : current);
}

// ---------------------------------------------------------------------------------------

// One reading of a folder's entries on the thread pool. The names go to the window thread
// once read, unless the listing is dropped first: dropping it cancels the reading.
class EntryListing {
public:
    EntryListing(const QString &folder, QDir::Filters filters, const QStringList &nameFilters,
                 std::function<void(const QStringList &)> handOver)
        : m_handOver(std::move(handOver))
    {
        auto promise = std::make_shared<QPromise<QStringList>>();
        m_future = promise->future();
        promise->start();
        QThreadPool::globalInstance()->start([promise, read = m_read, folder, filters, nameFilters] {
            QStringList names = readEntries(folder, filters, nameFilters, *promise);
            if (!promise->isCanceled())
                promise->addResult(std::move(names));
            promise->finish();
            read->release();
        });
        // The watcher hands the names over on the window thread, and never once it is gone.
        QObject::connect(&m_watcher, &QFutureWatcherBase::finished, &m_watcher, [this] { deliver(); });
        m_watcher.setFuture(m_future);
    }

    ~EntryListing()
    {
        if (!m_delivered)
            m_future.cancel();
    }

    EntryListing(const EntryListing &) = delete;
    EntryListing &operator=(const EntryListing &) = delete;

    // Hands the names over now if they are read before the deadline; true when they have been.
    bool waitUntil(QDeadlineTimer deadline)
    {
        if (!m_delivered && m_read->tryAcquire(1, int(std::max<qint64>(0, deadline.remainingTime()))))
            deliver();
        return m_delivered;
    }

    bool isDelivered() const { return m_delivered; }

private:
    void deliver()
    {
        if (m_delivered || !m_future.isFinished() || m_future.isCanceled() || m_future.resultCount() == 0)
            return;
        m_delivered = true;
        m_handOver(m_future.takeResult());
    }

    std::function<void(const QStringList &)> m_handOver;
    std::shared_ptr<QSemaphore> m_read = std::make_shared<QSemaphore>();
    QFuture<QStringList> m_future;
    QFutureWatcher<QStringList> m_watcher;
    bool m_delivered = false;
};

// The folder list's entries: a chain of folders, each the only child of the one before, from
// a root down to the open folder, whose children are its subfolders. Only the names are
// kept; paths are made when asked for, so a huge folder costs little more than its names.
class FolderListModel : public QAbstractItemModel {
public:
    explicit FolderListModel(QObject *parent) : QAbstractItemModel(parent) {}

    // Shows the chain alone; the subfolders follow by showSubfolders().
    void showChain(const QStringList &chain, const QIcon &openIcon, const QIcon &closedIcon)
    {
        beginResetModel();
        m_chain = chain;
        m_subfolders.clear();
        m_openIcon = openIcon;
        m_closedIcon = closedIcon;
        endResetModel();
    }

    void showSubfolders(const QStringList &names)
    {
        if (m_chain.isEmpty() || names.isEmpty())
            return;
        beginInsertRows(chainIndex(m_chain.size() - 1), 0, int(names.size()) - 1);
        m_subfolders = names;
        endInsertRows();
    }

    QModelIndex chainIndex(qsizetype depth) const { return createIndex(0, 0, quintptr(depth)); }

    QString folder(const QModelIndex &index) const
    {
        if (!index.isValid())
            return {};
        const qsizetype depth = qsizetype(index.internalId());
        return isSubfolder(index) ? childOf(m_chain.last(), m_subfolders.at(index.row())) : m_chain.at(depth);
    }

    QModelIndex indexOf(const QString &folder) const
    {
        if (const qsizetype depth = m_chain.indexOf(folder); depth >= 0)
            return chainIndex(depth);
        if (m_chain.isEmpty() || parentOf(folder) != m_chain.last())
            return {};
        const QString name = QFileInfo(folder).fileName();
        const auto found = std::lower_bound(m_subfolders.begin(), m_subfolders.end(), name, listedBefore);
        if (found == m_subfolders.end() || *found != name)
            return {};
        return createIndex(int(found - m_subfolders.begin()), 0, quintptr(m_chain.size()));
    }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override
    {
        if (column != 0 || row < 0 || row >= rowCount(parent))
            return {};
        return parent.isValid() ? createIndex(row, 0, parent.internalId() + 1) : chainIndex(0);
    }

    QModelIndex parent(const QModelIndex &child) const override
    {
        if (!child.isValid() || child.internalId() == 0)
            return {};
        return chainIndex(qsizetype(child.internalId()) - 1);
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (!parent.isValid())
            return m_chain.isEmpty() ? 0 : 1;
        if (parent.column() != 0 || isSubfolder(parent))
            return 0;
        const qsizetype depth = qsizetype(parent.internalId());
        return depth < m_chain.size() - 1 ? 1 : int(m_subfolders.size());
    }

    int columnCount(const QModelIndex & = {}) const override { return 1; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const bool subfolder = isSubfolder(index);
        switch (role) {
        case Qt::DisplayRole:
            return subfolder ? m_subfolders.at(index.row()) : entryName(m_chain.at(qsizetype(index.internalId())));
        case Qt::DecorationRole:
            return subfolder ? m_closedIcon : m_openIcon;
        case Qt::UserRole:
            return folder(index);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return isSubfolder(index) ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                                  : Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    }

private:
    // Chain entries carry their depth, subfolders one more than the open folder's.
    bool isSubfolder(const QModelIndex &index) const { return qsizetype(index.internalId()) == m_chain.size(); }

    QStringList m_chain; // native paths, root first
    QStringList m_subfolders; // names in list order
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

// The file list's entries: names only, one row each.
class FileListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void showNames(const QStringList &names)
    {
        beginResetModel();
        m_names = names;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_names.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_names.size())
            return {};
        return m_names.at(index.row());
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

private:
    QStringList m_names;
};

// ---------------------------------------------------------------------------------------

FolderList::FolderList(QWidget *parent)
    : QTreeView(parent)
    , m_model(new FolderListModel(this))
    , m_listingWait(defaultListingWait)
{
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(8);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::doubleClicked, this, &FolderList::openIndex);
}

FolderList::~FolderList() = default;

bool FolderList::setPath(const QString &folder)
{
    const QString target = nativeFolderPath(folder);
    if (!isBrowsableFolder(target)) {
        notice(QStringLiteral("无法读取") + target + QStringLiteral("\n请选择其他驱动器或文件夹."));
        return false;
    }
    const QDeadlineTimer deadline(m_listingWait);

    // Each step up must shorten the path, so an odd root cannot keep the walk going.
    QStringList chain{target};
    while (!QDir(chain.first()).isRoot()) {
        const QString up = parentOf(chain.first());
        if (up.size() >= chain.first().size())
            break;
        chain.prepend(up);
    }

    // Whatever was still being read for the folder shown before is no longer wanted.
    m_listing.reset();
    m_model->showChain(chain, style()->standardIcon(QStyle::SP_DirOpenIcon),
                       style()->standardIcon(QStyle::SP_DirClosedIcon));
    for (qsizetype depth = 0; depth < chain.size(); ++depth)
        setExpanded(m_model->chainIndex(depth), true);
    const QModelIndex open = m_model->chainIndex(chain.size() - 1);
    setCurrentIndex(open);
    scrollTo(open, QAbstractItemView::PositionAtTop);

    viewport()->setCursor(Qt::BusyCursor);
    m_listing = std::make_unique<EntryListing>(target, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QStringList(),
                                               [this](const QStringList &names) { showSubfolders(names); });

    // Announced before waiting, so the file list reads its folder alongside.
    const bool changed = target != m_path;
    m_path = target;
    if (changed)
        Q_EMIT pathChanged(m_path);
    m_listing->waitUntil(deadline);
    return true;
}

bool FolderList::isListing() const
{
    return m_listing && !m_listing->isDelivered();
}

void FolderList::showSubfolders(const QStringList &names)
{
    m_model->showSubfolders(names);
    viewport()->unsetCursor();
}

QString FolderList::folderOf(const QModelIndex &index)
{
    return index.data(Qt::UserRole).toString();
}

QModelIndex FolderList::indexFor(const QString &folder) const
{
    return m_model->indexOf(nativeFolderPath(folder));
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openIndex(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderList::openIndex(const QModelIndex &index)
{
    if (index.isValid())
        setPath(folderOf(index));
}

// ---------------------------------------------------------------------------------------

FileList::FileList(QWidget *parent)
    : QListView(parent)
    , m_model(new FileListModel(this))
    , m_listingWait(defaultListingWait)
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

FileList::~FileList() = default;

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

int FileList::count() const
{
    return m_model->rowCount();
}

QString FileList::fileName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

bool FileList::isListing() const
{
    return m_listing && !m_listing->isDelivered();
}

void FileList::reload()
{
    const QDeadlineTimer deadline(m_listingWait);
    m_listing.reset();
    m_model->showNames({});
    viewport()->unsetCursor();
    if (m_path.isEmpty())
        return;
    QStringList patterns;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            patterns << part.trimmed();
    }
    viewport()->setCursor(Qt::BusyCursor);
    // Without a case-sensitive filter the patterns match names as Windows does: *.mp3 finds A.MP3.
    m_listing = std::make_unique<EntryListing>(m_path, QDir::Files, patterns, [this](const QStringList &names) {
        m_model->showNames(names);
        viewport()->unsetCursor();
    });
    m_listing->waitUntil(deadline);
}

// ---------------------------------------------------------------------------------------

void linkBrowseLists(DriveList *drives, FolderList *folders, FileList *files)
{
    QObject::connect(drives, &DriveList::driveChanged, folders, [drives, folders](const QString &root) {
        if (!folders->setPath(drives->startFolder(root)))
            drives->showDriveOf(folders->path());
    });
    // Opening an ancestor may leave the drive, as "/" does from a folder on /home.
    QObject::connect(folders, &FolderList::pathChanged, drives,
                     [drives](const QString &path) { drives->showDriveOf(path); });
    drives->showDriveOf(folders->path());
    if (files) {
        QObject::connect(folders, &FolderList::pathChanged, files, &FileList::setPath);
        if (!folders->path().isEmpty())
            files->setPath(folders->path());
    }
}

} // namespace platform
