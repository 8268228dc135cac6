#include "filewords.h"

#include "platform/core/ansitext.h"
#include "platform/core/winpath.h"

#include <QDir>
#include <QStringList>

namespace platform::words {

using textfile::FileError;

namespace {

QString thisFile()
{
    return QStringLiteral("这个文件");
}

// "<what>是一个链接,指向<target>": how every notice about a link begins.
QString linkTo(const QString &what, const QString &target)
{
    return what + QStringLiteral("是一个链接,指向") + QDir::toNativeSeparators(target);
}

QString reasonOf(const FileError &error)
{
    switch (error.kind) {
    case FileError::None:
        return {};
    case FileError::FolderMissing:
        return QStringLiteral("文件夹不存在");
    case FileError::FolderUnreachable:
        return QStringLiteral("无法进入文件所在的文件夹,没有访问它的权限");
    case FileError::NameTooLong:
        return QStringLiteral("文件夹或文件的名称太长,系统不允许");
    case FileError::ReadOnly:
        return QStringLiteral("文件是只读的,或没有写入的权限");
    case FileError::FolderReadOnly:
        // Said of the folder: the file the notice names does not exist yet.
        return QStringLiteral("文件还不存在,而它所在的文件夹是只读的,或没有在其中新建文件的权限");
    case FileError::Unreadable:
        return QStringLiteral("文件不允许读取,写入后无法核对内容");
    case FileError::NotAFile:
        return QStringLiteral("同名的文件夹已经存在,无法作为文件写入");
    case FileError::NotRegular:
        return QStringLiteral("这不是一个普通的文件(而是设备或管道等),无法写入");
    case FileError::IsLink:
        return linkRefusal(thisFile(), error.linkTarget);
    case FileError::DiskFull:
        return QStringLiteral("磁盘已满(%1)").arg(error.systemMessage);
    case FileError::TooLarge:
        return QStringLiteral("文件超过了系统允许的大小(%1)").arg(error.systemMessage);
    case FileError::WriteFailed:
        return QStringLiteral("写入失败(%1)").arg(error.systemMessage);
    case FileError::NotVerified:
        return QStringLiteral("写入后读回的内容与写入的不一致");
    case FileError::ChangedMeanwhile:
        return QStringLiteral("写入时有其他程序同时改动了这个文件,为了不删除它写入的内容,文件保持现状");
    case FileError::LinkBroken:
        return linkTo(thisFile(), error.linkTarget)
            + QStringLiteral(",而那里没有文件,为了不在别处新建文件,不会通过它写入");
    case FileError::LinkLoop:
        return linkTo(thisFile(), error.linkTarget) + QStringLiteral(",它经过的链接最后又指回了自己,找不到真正的文件");
    case FileError::LinkToNonFile:
        return linkTo(thisFile(), error.linkTarget)
            + QStringLiteral(",那里不是一个普通的文件(而是文件夹、设备或管道等),无法写入");
    case FileError::FolderRemoved:
        return QStringLiteral("文件所在的文件夹已经不存在了,它在程序运行时被删除了");
    }
    return {};
}

bool isAboutTheLink(FileError::Kind kind)
{
    return kind == FileError::IsLink || kind == FileError::LinkBroken || kind == FileError::LinkLoop
        || kind == FileError::LinkToNonFile;
}

QString folderProblemReason(const WorkingFolderReport &report)
{
    switch (report.folderProblem) {
    case WorkingFolderReport::FolderReady:
        return {};
    case WorkingFolderReport::NoHome:
        return QStringLiteral("找不到用户的主文件夹(环境变量HOME没有设置)");
    case WorkingFolderReport::FileInTheWay:
        return QStringLiteral("这里已经有一个同名的文件,它不是文件夹");
    case WorkingFolderReport::LinkToNothing:
        return linkTo(QStringLiteral("这"), report.linkTarget) + QStringLiteral(",而那里没有文件夹");
    case WorkingFolderReport::CannotCreate:
        return QStringLiteral("无法新建文件夹%1(%2)").arg(report.uncreated, report.systemMessage);
    case WorkingFolderReport::CannotEnter:
        return QStringLiteral("无法进入这个文件夹(%1)").arg(report.systemMessage);
    }
    return {};
}

} // namespace

QString linkRefusal(const QString &what, const QString &target)
{
    return linkTo(what, target) + QStringLiteral(",为了不改动别处的文件,不会通过它写入");
}

QString fileErrorReason(const FileError &error)
{
    if (error.linkTarget.isEmpty() || isAboutTheLink(error.kind))
        return reasonOf(error);
    return reasonOf(error) + u'(' + linkTo(thisFile(), error.linkTarget) + u')';
}

QString whereOnThisSystemLine(const QString &windowsPath)
{
    const QString shown = shownOnThisSystem(windowsPath);
    if (shown.isEmpty())
        return {};
    return QStringLiteral("\n(在本机上的位置:%1)").arg(shown);
}

QString missingWineDriveReason(const QString &windowsPath)
{
    const std::optional<MissingWineDrive> drive = missingWineDrive(windowsPath);
    if (!drive)
        return {};
    return QStringLiteral("找不到Wine的%1盘(%2),本机上没有安装Wine时,请在“QQ安装路径”中填写QQ在本机上所在的文件夹")
        .arg(drive->letter, drive->folder);
}

QString workingFolderNotice(const WorkingFolderReport &report)
{
    if (report.folderProblem != WorkingFolderReport::FolderReady)
        return QStringLiteral("无法准备工作文件夹%1\n原因:%2\n程序照常运行,音乐设置qqq.qq保存在%3中.")
            .arg(report.folder, folderProblemReason(report), report.runningIn);
    QStringList problems;
    if (report.settingError.kind != FileError::None)
        problems << QStringLiteral("无法把默认的音乐设置放进工作文件夹:%1\n原因:%2\n程序照常运行,只是没有背景音乐.")
                        .arg(report.settingPath, fileErrorReason(report.settingError));
    if (report.tunesError.kind != FileError::None)
        problems << QStringLiteral("无法在工作文件夹中建立指向自带音乐的链接%1\n原因:%2\n自带的音乐music\\1."
                                   "mid到music\\8.mid将无法播放.")
                        .arg(report.tunesPath, fileErrorReason(report.tunesError));
    return problems.join(QStringLiteral("\n\n"));
}

QString musicSettingNotice(const textfile::WriteOutcome &outcome)
{
    const QString characters =
        outcome.fields.isEmpty() ? QString() : ansi::displayCharacters(outcome.fields.first().characters);
    switch (outcome.kind) {
    case textfile::WriteOutcome::Written:
        return {};
    case textfile::WriteOutcome::ControlCharacters:
        return QStringLiteral("音乐文件的路径中含有换行等控制字符,无法保存,请删除后再试:\n“%1”").arg(characters);
    case textfile::WriteOutcome::UnencodableCharacters:
        return QStringLiteral("音乐文件的路径中含有无法保存的字符,请修改后再试:\n“%1”").arg(characters);
    case textfile::WriteOutcome::FileFailed:
        return QStringLiteral("无法保存音乐设置到文件") + outcome.path + QStringLiteral("\n原因:")
            + fileErrorReason(outcome.error) + QStringLiteral("\n文件没有被改动,请检查后再试.");
    default:
        // The music setting is refused by no check of skin.ini's.
        return {};
    }
}

} // namespace platform::words
