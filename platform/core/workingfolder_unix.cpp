#include "workingfolder.h"

#include "access.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString settingName = QStringLiteral("qqq.qq");
const QString tunesName = QStringLiteral("music");

// A failed file operation as the text-file code reports it.
textfile::FileError fileErrorOf(int error)
{
    textfile::FileError failure;
    failure.kind = error == EACCES || error == EPERM || error == EROFS ? textfile::FileError::FolderReadOnly
                                                                       : textfile::FileError::WriteFailed;
    failure.systemMessage = qt_error_string(error);
    return failure;
}

// Where a link points, as it is written.
QByteArray linkText(const QByteArray &name)
{
    char target[4096];
    const ssize_t length = ::readlink(name.constData(), target, sizeof target);
    return length > 0 ? QByteArray(target, length) : QByteArray();
}

// Makes the folder and every missing folder above it, as mkdir -p does; notes in the report
// why it cannot.
void makeFolder(WorkingFolderReport &report)
{
    const QByteArray path = QFile::encodeName(report.folder);
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        if (!S_ISDIR(info.st_mode))
            report.folderProblem = WorkingFolderReport::FileInTheWay;
        return;
    }
    if (::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        report.folderProblem = WorkingFolderReport::LinkToNothing;
        report.linkTarget = QDir::toNativeSeparators(QFileInfo(report.folder).symLinkTarget());
        return;
    }
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray level = slash < 0 ? path : path.left(slash);
        if (::mkdir(level.constData(), 0777) != 0 && errno != EEXIST) {
            report.folderProblem = WorkingFolderReport::CannotCreate;
            report.uncreated = QFile::decodeName(level);
            report.systemMessage = qt_error_string(errno);
            return;
        }
        if (slash < 0)
            break;
    }
}

// The default setting where the user has none; a setting of the user's own always stays.
textfile::FileError placeDefaultSetting(const QString &programFolder)
{
    const QByteArray name = QFile::encodeName(settingName);
    struct stat info {};
    textfile::FileError failure;
    if (::lstat(name.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode) || ::stat(name.constData(), &info) == 0)
            return {};
        failure.kind = textfile::FileError::LinkBroken;
        failure.linkTarget = QDir::toNativeSeparators(QFileInfo(settingName).symLinkTarget());
        return failure;
    }
    // Without a default beside the program there is nothing to copy: no tune, as designed.
    const std::optional<QByteArray> defaults =
        textfile::readStartOfFile(programFolder + u'/' + settingName, textfile::firstLineLimit);
    if (!defaults)
        return {};
    return textfile::replaceContent(settingName, *defaults).error;
}

// "music" as a link to the built-in tunes, made again when it leads elsewhere (the programs
// moved); a real folder there is the user's own and stays.
textfile::FileError linkBuiltInTunes(const QString &programFolder)
{
    const QByteArray name = QFile::encodeName(tunesName);
    const QByteArray tunes = QFile::encodeName(programFolder + u'/' + tunesName);
    struct stat info {};
    int error = 0;
    if (::lstat(name.constData(), &info) == 0 && (!S_ISLNK(info.st_mode) || linkText(name) == tunes))
        return {};
    if (!userMay(Access::Write, QStringLiteral(".")))
        error = EACCES;
    else if ((::unlink(name.constData()) != 0 && errno != ENOENT)
             || ::symlink(tunes.constData(), name.constData()) != 0)
        error = errno;
    return error == 0 ? textfile::FileError{} : fileErrorOf(error);
}

} // namespace

WorkingFolderReport enterPerUserFolder()
{
    WorkingFolderReport report;
    if (qgetenv(perUserFolderVariable) != "1")
        return report;
    qunsetenv(perUserFolderVariable);
    report.folder = QDir::toNativeSeparators(perUserFolder());
    if (report.folder.isEmpty()) {
        report.folderProblem = WorkingFolderReport::NoHome;
    } else if (makeFolder(report); report.folderProblem == WorkingFolderReport::FolderReady
               && ::chdir(QFile::encodeName(report.folder).constData()) != 0) {
        report.folderProblem = WorkingFolderReport::CannotEnter;
        report.systemMessage = qt_error_string(errno);
    }
    if (report.folderProblem != WorkingFolderReport::FolderReady) {
        report.runningIn = textfile::absoluteNativePath(QStringLiteral("."));
        return report;
    }

    const QString programFolder = QCoreApplication::applicationDirPath();
    report.settingError = placeDefaultSetting(programFolder);
    if (report.settingError.kind != textfile::FileError::None)
        report.settingPath = textfile::absoluteNativePath(settingName);
    report.tunesError = linkBuiltInTunes(programFolder);
    if (report.tunesError.kind != textfile::FileError::None)
        report.tunesPath = textfile::absoluteNativePath(tunesName);
    return report;
}

} // namespace platform
