#include "skinwriter.h"

#include "platform/ansitext.h"
#include "platform/notice.h"
#include "platform/winpath.h"

namespace skinmaker::authoring {

namespace {

// Names each box whose text GBK cannot hold, with the characters, one box a line.
QString unencodableFields(const QList<LabelledText> &fields)
{
    QStringList problems;
    for (const LabelledText &field : fields) {
        const QString characters = platform::ansi::encode(field.text).unencodable;
        if (!characters.isEmpty())
            problems << QStringLiteral("“%1”中的“%2”").arg(field.label, characters);
    }
    return problems.join(u'\n');
}

} // namespace

bool appendBlock(const SkinLocation &location, const QStringList &block, const QList<LabelledText> &fields)
{
    if (location.installPath.isEmpty()) {
        platform::notice(QStringLiteral("您没有输入路径"));
        return false;
    }

    const std::optional<QString> path = skinIniPath(location);
    if (!path) {
        platform::notice(QStringLiteral("请选择版本!"));
        return false;
    }

    if (!isUsableFolderName(location.skinName)) {
        platform::notice(QStringLiteral("生成的QQ皮肤名称不能用作文件夹名称!\n"
                                        "名称不能为空,不能是\".\"或\"..\",也不能含有 \\ / : * ? \" < > | 等字符."));
        return false;
    }

    const platform::ansi::Encoded encoded = platform::ansi::encodeLines(block);
    if (!encoded.ok()) {
        const QString named = unencodableFields(fields);
        platform::notice(QStringLiteral("以下内容含有无法保存的字符,请修改后再试:\n")
                         + (named.isEmpty() ? encoded.unencodable : named));
        return false;
    }

    // The notice offers no way back: however it is closed, the write goes on.
    platform::notice(QStringLiteral("您要生成的文件为") + *path + QStringLiteral("如果确认无误请点确定"));

    const platform::ansi::WriteResult result = platform::ansi::appendBytes(platform::nativePath(*path), encoded.bytes);
    if (!result.ok()) {
        const QString reason = result.error.kind == platform::ansi::FileError::FolderMissing
            ? QStringLiteral("皮肤文件夹不存在,请先在QQ安装目录下建立与皮肤同名的文件夹")
            : platform::ansi::describe(result.error);
        platform::notice(QStringLiteral("无法写入文件") + *path + QStringLiteral("\n原因:") + reason
                         + QStringLiteral("\n文件没有被改动,请检查后再试."));
        return false;
    }
    return true;
}

} // namespace skinmaker::authoring
