// Opens folders of many entries in both browse windows and prints one line per measurement,
// <folder>_<window>_<measure>=<value>:
//   open_ms         from opening the folder until the window has painted once
//   fill_held_ms    after that, the longest the window thread stayed busy until the lists were full
//   complete_ms     from opening the folder until the lists were full
//   rss_mb          the memory the process grew by until then
//   reopen_*        the same on opening the folder again, after going back to where the window started
// It makes the folders in the temporary folder and removes them when done. Each case runs in
// a fresh process of this program, so memory freed by one case does not hide what the next
// takes.
#include "musicsetter/browsewindow.h"
#include "skinmaker/shell/folderbrowsewindow.h"

#include "platform/widgets/filesystemlists.h"

#include "environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Folder {
    const char *name;
    int entries;
    bool files; // music files rather than subfolders
};

constexpr Folder folders[] = {
    {"folders10k", 10000, false},
    {"folders100k", 100000, false},
    {"files100k", 100000, true},
};

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
    qint64 openMs = 0; // from the call until the window has painted once
    qint64 fillMs = 0; // after that, the longest the window thread stayed busy until the lists were full
    qint64 completeMs = 0; // until the lists were full
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
    hold.openMs = clock.elapsed();
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
        hold.fillMs = std::max(hold.fillMs, turn.elapsed());
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
    const double baseline = testsupport::residentMegabytes();

    QTextStream out(stdout);
    const QString prefix = caseName + u'_' + windowName + u'_';
    const Hold first = openFolder(window.get(), folders, files, path, expectedFolders, expectedFiles);
    const double grown = testsupport::residentMegabytes() - baseline;
    openFolder(window.get(), folders, files, start, -1, -1); // back where it started
    const Hold again = openFolder(window.get(), folders, files, path, expectedFolders, expectedFiles);
    const double grownAgain = testsupport::residentMegabytes() - baseline;

    out << prefix << "open_ms=" << first.openMs << '\n'
        << prefix << "fill_held_ms=" << first.fillMs << '\n'
        << prefix << "complete_ms=" << first.completeMs << '\n'
        << prefix << "rss_mb=" << QString::number(grown, 'f', 1) << '\n'
        << prefix << "reopen_ms=" << again.openMs << '\n'
        << prefix << "reopen_fill_held_ms=" << again.fillMs << '\n'
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
    std::fprintf(stderr, "making the folders in %s ...\n", qPrintable(base.path()));
    std::vector<std::unique_ptr<testsupport::ManyEntries>> made;
    for (const Folder &folder : folders) {
        made.push_back(std::make_unique<testsupport::ManyEntries>(
            base.path() + u'/' + QLatin1String(folder.name), folder.entries,
            folder.files ? testsupport::ManyEntries::Files : testsupport::ManyEntries::Folders,
            folder.files ? QStringList{QStringLiteral(".mp3"), QStringLiteral(".MID"), QStringLiteral(".wav")}
                         : QStringList()));
        if (!made.back()->isValid()) {
            std::fprintf(stderr, "could not make the folder %s\n", folder.name);
            return 1;
        }
    }

    int failures = 0;
    for (const Folder &folder : folders) {
        for (const char *window : {"skinmaker", "setter"}) {
            if (folder.files && QByteArrayView(window) == "skinmaker")
                continue; // that window has no file list
            QProcess child;
            child.setWorkingDirectory(base.path());
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(program,
                        {QStringLiteral("--measure"), QLatin1String(window), QLatin1String(folder.name),
                         base.path() + u'/' + QLatin1String(folder.name),
                         QString::number(folder.files ? 0 : folder.entries),
                         QString::number(folder.files ? folder.entries : 0)});
            if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
                ++failures;
        }
    }
    std::fprintf(stderr, "removing the folders ...\n");
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
