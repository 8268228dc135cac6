#include "notices.h"

#include "platform/core/ansitext.h"
#include "platform/words/filewords.h"

#include <QStringList>

namespace skinmaker::words {

using platform::textfile::FieldProblem;
using platform::textfile::FileError;
using platform::textfile::WriteOutcome;

namespace {

// One box a line: “caption”中的“characters”.
QString namedFields(const QList<FieldProblem> &fields)
{
    QStringList lines;
    for (const FieldProblem &field : fields) {
        const QString characters = platform::ansi::displayCharacters(field.characters);
        lines << (field.label.isEmpty() ? QStringLiteral("“%1”").arg(characters)
                                        : QStringLiteral("“%1”中的“%2”").arg(field.label, characters));
    }
    return lines.join(u'\n');
}

QString fileFailureNotice(const WriteOutcome &outcome)
{
    QString reason;
    switch (outcome.error.kind) {
    case FileError::FolderMissing:
        reason = platform::words::missingWineDriveReason(outcome.path);
        if (reason.isEmpty())
            reason = QStringLiteral("皮肤文件夹不存在,请先在QQ安装目录下建立与皮肤同名的文件夹");
        break;
    case FileError::IsLink:
        reason = platform::words::linkRefusal(QStringLiteral("skin.ini"), outcome.error.linkTarget);
        break;
    default:
        reason = platform::words::fileErrorReason(outcome.error);
        break;
    }
    // Another program's bytes were left alone, so the file is not as it was before.
    const QString advice = outcome.error.kind == FileError::ChangedMeanwhile
        ? QStringLiteral("请检查文件的内容后再试.")
        : QStringLiteral("文件没有被改动,请检查后再试.");
    return QStringLiteral("无法写入文件") + outcome.path + platform::words::whereOnThisSystemLine(outcome.path)
        + QStringLiteral("\n原因:") + reason + u'\n' + advice;
}

QString pictureProblemReason(const core::PictureProblem &problem)
{
    using core::PictureProblem;
    switch (problem.kind) {
    case PictureProblem::None:
        return {};
    case PictureProblem::NoName:
        return QStringLiteral("没有输入背景图片名称");
    case PictureProblem::FolderMissing:
        return QStringLiteral("皮肤文件夹不存在");
    case PictureProblem::FolderUnreachable:
        return QStringLiteral("无法进入图片所在的文件夹,没有访问它的权限");
    case PictureProblem::Missing:
        return QStringLiteral("找不到这个文件");
    case PictureProblem::NotAFile:
        return QStringLiteral("这不是一个文件");
    case PictureProblem::CannotOpen:
        return QStringLiteral("文件无法打开");
    case PictureProblem::NotAPicture:
        return QStringLiteral("这不是可以读取的图片文件(可以使用BMP、GIF、JPEG或PNG图片)");
    case PictureProblem::TooLarge:
        return QStringLiteral("图片太大(宽%1像素,高%2像素),预览最多只能显示约%3万像素的图片")
            .arg(problem.claimed.width())
            .arg(problem.claimed.height())
            .arg(core::backgroundPixelLimit / 10000);
    case PictureProblem::Damaged:
        return QStringLiteral("图片数据已损坏,无法读取");
    }
    return {};
}

} // namespace

QString writeNotice(const WriteOutcome &outcome)
{
    switch (outcome.kind) {
    case WriteOutcome::Written:
        return {};
    case WriteOutcome::NoInstallPath:
        return QStringLiteral("您没有输入路径");
    case WriteOutcome::NoVersion:
        return QStringLiteral("请选择版本!");
    case WriteOutcome::UnusableSkinName: {
        QString text = QStringLiteral("生成的QQ皮肤名称不能用作文件夹名称!\n"
                                      "名称不能为空,不能是\".\"或\"..\",也不能含有 \\ / : * ? \" < > | 等字符.");
        if (!outcome.fields.isEmpty())
            text += QStringLiteral("\n名称中含有看不见的或会改变文字顺序的字符“%1”,请删除后再试.")
                        .arg(platform::ansi::displayCharacters(outcome.fields.first().characters));
        return text;
    }
    case WriteOutcome::ControlCharacters:
        return QStringLiteral("以下内容含有换行等控制字符,写入后会破坏skin.ini,请删除后再试:\n")
            + namedFields(outcome.fields);
    case WriteOutcome::UnencodableCharacters:
        return QStringLiteral("以下内容含有无法保存的字符,请修改后再试:\n") + namedFields(outcome.fields);
    case WriteOutcome::FileFailed:
        return fileFailureNotice(outcome);
    }
    return {};
}

QString aboutToWriteNotice(const QString &skinIniPath)
{
    return QStringLiteral("您要生成的文件为") + skinIniPath + QStringLiteral("如果确认无误请点确定");
}

QString previewFailureNotice(const QString &picturePath, const core::PictureProblem &problem)
{
    QString reason = platform::words::missingWineDriveReason(picturePath);
    if (reason.isEmpty())
        reason = pictureProblemReason(problem);
    return QStringLiteral("无法显示背景图片") + picturePath + platform::words::whereOnThisSystemLine(picturePath)
        + QStringLiteral("\n原因:") + reason + QStringLiteral("\n预览中将不显示背景图片.");
}

QString backslashInFolderNameNotice(const QString &name)
{
    return QStringLiteral("文件夹的名称“%1”中含有“\\”,而QQ安装路径用“\\”分隔文件夹,"
                          "将找不到这个文件夹.\n请先给它改名,再选择.")
        .arg(name);
}

} // namespace skinmaker::words
