#include "skinwriter.h"

#include "platform/core/ansitext.h"
#include "platform/core/winpath.h"
#include "platform/widgets/fields.h"
#include "platform/widgets/notice.h"

#include <QLineEdit>

namespace skinmaker::authoring {

using core::WriteOutcome;

namespace {

// One box a line: “caption”中的“characters”.
QString namedFields(const QList<core::FieldProblem> &fields)
{
    QStringList lines;
    for (const core::FieldProblem &field : fields) {
        const QString characters = platform::ansi::displayCharacters(field.characters);
        lines << (field.label.isEmpty() ? QStringLiteral("“%1”").arg(characters)
                                        : QStringLiteral("“%1”中的“%2”").arg(field.label, characters));
    }
    return lines.join(u'\n');
}

QString fileFailureNotice(const WriteOutcome &outcome)
{
    using platform::ansi::FileError;
    QString reason;
    switch (outcome.error.kind) {
    case FileError::FolderMissing:
        reason = platform::missingWineDriveReason(outcome.path);
        if (reason.isEmpty())
            reason = QStringLiteral("皮肤文件夹不存在,请先在QQ安装目录下建立与皮肤同名的文件夹");
        break;
    case FileError::IsLink:
        reason = QStringLiteral("skin.ini是一个链接,指向%1,为了不改动别处的文件,不会通过它写入")
                     .arg(outcome.error.linkTarget);
        break;
    default:
        reason = platform::ansi::describe(outcome.error);
        break;
    }
    // Another program's bytes were left alone, so the file is not as it was before.
    const QString advice = outcome.error.kind == FileError::ChangedMeanwhile
        ? QStringLiteral("请检查文件的内容后再试.")
        : QStringLiteral("文件没有被改动,请检查后再试.");
    return QStringLiteral("无法写入文件") + outcome.path + platform::whereOnThisSystemLine(outcome.path) + QStringLiteral("\n原因:")
        + reason + u'\n' + advice;
}

} // namespace

QString outcomeNotice(const WriteOutcome &outcome)
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

bool appendBlock(const core::SkinLocation &location, const QStringList &block, const QList<QLineEdit *> &boxes)
{
    QList<core::LabelledText> fields;
    for (const QLineEdit *box : boxes)
        fields << core::LabelledText{platform::fieldName(box), box->text()};

    const core::PreparedBlock prepared = core::prepareBlock(location, block, fields);
    if (!prepared.ready()) {
        platform::notice(outcomeNotice(prepared.outcome));
        return false;
    }

    // The notice offers no way back: however it is closed, the write goes on.
    platform::notice(QStringLiteral("您要生成的文件为") + prepared.outcome.path + QStringLiteral("如果确认无误请点确定"));

    const WriteOutcome outcome = core::appendPrepared(prepared);
    if (!outcome.ok()) {
        platform::notice(outcomeNotice(outcome));
        return false;
    }
    return true;
}

} // namespace skinmaker::authoring
