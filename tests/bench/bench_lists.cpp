// Opens folders of many entries in both browse windows and prints, one name=value line per
// measurement, how long the window thread is held and how much memory the lists take.
//
//   bench_lists             makes the folders, measures every case, removes the folders
//
// Each case runs in a fresh process of this program, so memory freed by one case does not
// hide what the next takes.
#include "musicsetter/browsewindow.h"
#include "skinmaker/shell/folderbrowsewindow.h"

#include "platform/filesystemlists.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

struct Folder {
    const char *name;
    int entries;
    bool files;  // music files rather than subfolders
};

constexpr Folder folders[] = {
    {"folders10k", 10000, false},
    {"folders100k", 100000, false},
    {"files100k", 100000, true},
};

// Names of both cases and all three music extensions, so sorting and matching have work.
QByteArray entryName(const Folder &folder, int i)
{
    static const char *const extensions[] = {".mp3", ".MID", ".wav"};
    const QByteArray stem = (i % 2 ? "entry" : "Entry") + QByteArray::number(i).rightJustified(6, '0');
    return folder.files ? stem + extensions[i % 3] : stem;
}

bool makeEntries(const QByteArray &path, const Folder &folder)
{
    if (::mkdir(path.constData(), 0755) != 0)
        return false;
    for (int i = 0; i < folder.entries; ++i) {
        const QByteArray entry = path + '/' + entryName(folder, i);
        if (folder.files) {
            const int fd = ::open(entry.constData(), O_CREAT | O_WRONLY, 0644);
            if (fd < 0)
                return false;
            ::close(fd);
        } else if (::mkdir(entry.constData(), 0755) != 0) {
            return false;
        }
    }
    return true;
}

// By name, as made: far faster than removing recursively, which looks at each entry first.
void removeEntries(const QByteArray &path, const Folder &folder)
{
    for (int i = 0; i < folder.entries; ++i) {
        const QByteArray entry = path + '/' + entryName(folder, i);
        if (folder.files)
            ::unlink(entry.constData());
        else
            ::rmdir(entry.constData());
    }
    ::rmdir(path.constData());
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1024 * 1024) : 0;
}

// How many subfolders the folder list shows below its open folder.
int listedFolders(const platform::FolderList *list)
{
    const QAbstractItemModel *model = list->model();
    QModelIndex at;
    while (model->rowCount(at) > 0) {
        at = model->index(0, 0, at);
        if (at.data(Qt::UserRole).toString() == list->path())
            return model->rowCount(at);
    }
    return -1;
}

struct Hold {
    qint64 openMs = 0;      // from the call until the window has painted once
    qint64 longestMs = 0;   // the longest the window thread stayed busy until the lists were full
    qint64 completeMs = 0;  // until the lists were full
    bool complete = false;
};

// Opens the folder and lets the window run until its lists show the expected counts (a
// negative count: any); time the window spends waiting for events is not counted as held.
Hold openFolder(QWidget *window, platform::FolderList *folders, platform::FileList *files, const QString &path,
                int expectedFolders, int expectedFiles)
{
    const auto shown = [&] {
        return (expectedFolders < 0 || listedFolders(folders) == expectedFolders)
            && (!files || expectedFiles < 0 || files->model()->rowCount() == expectedFiles);
    };
    Hold hold;
    QElapsedTimer clock;
    clock.start();
    folders->setPath(path);
    window->repaint();
    QCoreApplication::processEvents();
    hold.openMs = hold.longestMs = clock.elapsed();
    int lastCount = listedFolders(folders);
    while (!(hold.complete = shown()) && clock.elapsed() < 120000) {
        QThread::msleep(1);
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents();
        // New entries are painted as soon as they arrive; that paint belongs to the same hold.
        const int count = listedFolders(folders) + (files ? files->model()->rowCount() : 0);
        if (count != lastCount) {
            window->repaint();
            lastCount = count;
        }
        hold.longestMs = std::max(hold.longestMs, turn.elapsed());
    }
    hold.completeMs = clock.elapsed();
    return hold;
}

int measure(const QString &windowName, const QString &caseName, const QString &path, int expectedFolders,
            int expectedFiles)
{
    std::unique_ptr<QWidget> window;
    platform::FolderList *folders = nullptr;
    platform::FileList *files = nullptr;
    if (windowName == u"skinmaker") {
        auto *browse = new skinmaker::shell::FolderBrowseWindow;
        folders = browse->folderList();
        window.reset(browse);
    } else {
        auto *browse = new musicsetter::BrowseWindow;
        folders = browse->folderList();
        files = browse->fileList();
        window.reset(browse);
    }
    window->show();
    QCoreApplication::processEvents();
    const QString start = folders->path();
    const double baseline = residentMegabytes();

    QTextStream out(stdout);
    const QString prefix = caseName + u'_' + windowName + u'_';
    const Hold first = openFolder(window.get(), folders, files, path, expectedFolders, expectedFiles);
    const double grown = residentMegabytes() - baseline;
    openFolder(window.get(), folders, files, start, -1, -1);  // back where it started
    const Hold again = openFolder(window.get(), folders, files, path, expectedFolders, expectedFiles);
    const double grownAgain = residentMegabytes() - baseline;

    out << prefix << "open_ms=" << first.openMs << '\n'
        << prefix << "held_ms=" << first.longestMs << '\n'
        << prefix << "complete_ms=" << first.completeMs << '\n'
        << prefix << "rss_mb=" << QString::number(grown, 'f', 1) << '\n'
        << prefix << "reopen_ms=" << again.openMs << '\n'
        << prefix << "reopen_held_ms=" << again.longestMs << '\n'
        << prefix << "reopen_complete_ms=" << again.completeMs << '\n'
        << prefix << "reopen_rss_mb=" << QString::number(grownAgain, 'f', 1) << '\n';
    out.flush();
    if (!first.complete || !again.complete) {
        std::fprintf(stderr, "%s: the lists never showed every entry\n", qPrintable(prefix));
        return 1;
    }
    return 0;
}

int runAll(const QString &program)
{
    QTemporaryDir base;
    if (!base.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QByteArray basePath = QFile::encodeName(base.path());
    std::fprintf(stderr, "making the folders in %s ...\n", basePath.constData());
    bool made = true;
    for (const Folder &folder : folders)
        made = made && makeEntries(basePath + '/' + folder.name, folder);

    int failures = made ? 0 : 1;
    if (made) {
        for (const Folder &folder : folders) {
            for (const char *window : {"skinmaker", "setter"}) {
                if (folder.files && QByteArrayView(window) == "skinmaker")
                    continue;  // that window has no file list
                QProcess child;
                child.setWorkingDirectory(base.path());
                child.setProcessChannelMode(QProcess::ForwardedChannels);
                child.start(program, {QStringLiteral("--measure"), QLatin1String(window), QLatin1String(folder.name),
                                      base.path() + u'/' + QLatin1String(folder.name),
                                      QString::number(folder.files ? 0 : folder.entries),
                                      QString::number(folder.files ? folder.entries : 0)});
                if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
                    ++failures;
            }
        }
    } else {
        std::fprintf(stderr, "could not make the folders\n");
    }
    std::fprintf(stderr, "removing the folders ...\n");
    for (const Folder &folder : folders)
        removeEntries(basePath + '/' + folder.name, folder);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Headless unless told otherwise, so the numbers do not depend on a desktop being there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 7 && arguments.at(1) == u"--measure")
        return measure(arguments.at(2), arguments.at(3), arguments.at(4), arguments.at(5).toInt(),
                       arguments.at(6).toInt());
    return runAll(QCoreApplication::applicationFilePath());
}
