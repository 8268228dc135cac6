#include "workingfolder.h"

#include "access.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString settingName = QStringLiteral("qqq.qq");
const QString tunesName = QStringLiteral("music");

// The reason a file operation failed, as the text-file notices word it.
QString reasonOf(int error)
{
    textfile::FileError failure;
    failure.kind = error == EACCES || error == EPERM || error == EROFS ? textfile::FileError::FolderReadOnly
                                                                       : textfile::FileError::WriteFailed;
    failure.systemMessage = qt_error_string(error);
    return textfile::describe(failure);
}

// Where a link points, as it is written.
QByteArray linkText(const QByteArray &name)
{
    char target[4096];
    const ssize_t length = ::readlink(name.constData(), target, sizeof target);
    return length > 0 ? QByteArray(target, length) : QByteArray();
}

// Makes the folder and every missing folder above it, as mkdir -p does; the reason when it
// cannot.
QString makeFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? QString() : QStringLiteral("这里已经有一个同名的文件,它不是文件夹");
    if (::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode))
        return QStringLiteral("这是一个链接,指向%1,而那里没有文件夹")
            .arg(QDir::toNativeSeparators(QFileInfo(folder).symLinkTarget()));
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray level = slash < 0 ? path : path.left(slash);
        if (::mkdir(level.constData(), 0777) != 0 && errno != EEXIST)
            return QStringLiteral("无法新建文件夹%1(%2)").arg(QFile::decodeName(level), qt_error_string(errno));
        if (slash < 0)
            break;
    }
    return {};
}

// The default setting where the user has none; a setting of the user's own always stays.
QString placeDefaultSetting(const QString &programFolder)
{
    const QByteArray name = QFile::encodeName(settingName);
    struct stat info {};
    textfile::FileError failure;
    if (::lstat(name.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode) || ::stat(name.constData(), &info) == 0)
            return {};
        failure.kind = textfile::FileError::LinkBroken;
        failure.linkTarget = QDir::toNativeSeparators(QFileInfo(settingName).symLinkTarget());
    } else {
        // Without a default beside the program there is nothing to copy: no tune, as designed.
        const std::optional<QByteArray> defaults =
            textfile::readStartOfFile(programFolder + u'/' + settingName, textfile::firstLineLimit);
        if (!defaults)
            return {};
        failure = textfile::replaceContent(settingName, *defaults).error;
        if (failure.kind == textfile::FileError::None)
            return {};
    }
    return QStringLiteral("无法把默认的音乐设置放进工作文件夹:%1\n原因:%2\n程序照常运行,只是没有背景音乐.")
        .arg(textfile::absoluteNativePath(settingName), textfile::describe(failure));
}

// "music" as a link to the built-in tunes, made again when it leads elsewhere (the programs
// moved); a real folder there is the user's own and stays.
QString linkBuiltInTunes(const QString &programFolder)
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
    if (error == 0)
        return {};
    return QStringLiteral(
               "无法在工作文件夹中建立指向自带音乐的链接%1\n原因:%2\n自带的音乐music\\1.mid到music\\8.mid将无法播放.")
        .arg(textfile::absoluteNativePath(tunesName), reasonOf(error));
}

}  // namespace

QString enterPerUserFolder()
{
    if (qgetenv(perUserFolderVariable) != "1")
        return {};
    qunsetenv(perUserFolderVariable);
    const QString folder = perUserFolder();
    QString reason;
    if (folder.isEmpty())
        reason = QStringLiteral("找不到用户的主文件夹(环境变量HOME没有设置)");
    else if (reason = makeFolder(folder); reason.isEmpty() && ::chdir(QFile::encodeName(folder).constData()) != 0)
        reason = QStringLiteral("无法进入这个文件夹(%1)").arg(qt_error_string(errno));
    if (!reason.isEmpty())
        return QStringLiteral("无法准备工作文件夹%1\n原因:%2\n程序照常运行,音乐设置qqq.qq保存在%3中.")
            .arg(QDir::toNativeSeparators(folder), reason, textfile::absoluteNativePath(QStringLiteral(".")));

    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList problems{placeDefaultSetting(programFolder), linkBuiltInTunes(programFolder)};
    problems.removeAll(QString());
    return problems.join(QStringLiteral("\n\n"));
}

}  // namespace platform
