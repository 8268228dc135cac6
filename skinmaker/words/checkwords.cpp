#include "checkwords.h"

#include "platform/words/filewords.h"

#include <QFileInfo>

namespace skinmaker::words {

using core::Finding;
using core::TidyChange;
using core::TidyOutcome;

namespace {

QString toolPath()
{
    return QStringLiteral("工具 > 检查皮肤 > 整理");
}

// "第3行 [main] tile=bg.bmp", as much of it as the finding has.
QString place(const Finding &finding)
{
    QStringList parts;
    if (finding.line > 0)
        parts << QStringLiteral("第%1行").arg(finding.line);
    if (!finding.section.isEmpty())
        parts << u'[' + finding.section + u']';
    if (!finding.key.isEmpty())
        parts << finding.key + u'=' + finding.value;
    else if (!finding.value.isEmpty())
        parts << u'“' + finding.value + u'”';
    return parts.join(u' ');
}

} // namespace

QString findingKind(Finding::Kind kind)
{
    switch (kind) {
    case Finding::ShadowedSection:
        return QStringLiteral("重复的段");
    case Finding::ShadowedKey:
        return QStringLiteral("不起作用的设置");
    case Finding::PictureMissing:
        return QStringLiteral("图片不存在");
    case Finding::PictureOtherCase:
        return QStringLiteral("图片名称大小写不符");
    case Finding::PictureUnreadable:
        return QStringLiteral("图片无法读取");
    case Finding::PictureUndecodable:
        return QStringLiteral("图片已损坏");
    case Finding::NotANumber:
        return QStringLiteral("不是整数");
    case Finding::NumberOutOfRange:
        return QStringLiteral("数值超出范围");
    case Finding::NoEquals:
        return QStringLiteral("被忽略的行");
    case Finding::BeforeSection:
        return QStringLiteral("段之前的文字");
    case Finding::InvalidGbk:
        return QStringLiteral("无效的字符");
    case Finding::ReadLimitReached:
        return QStringLiteral("文件太大");
    }
    return {};
}

QString findingAdvice(const Finding &finding)
{
    switch (finding.kind) {
    case Finding::ShadowedSection:
        return QStringLiteral("QQ只读取第%1行的[%2]段,这一段不起作用;请用“整理”合并")
            .arg(finding.earlierLine)
            .arg(finding.section);
    case Finding::ShadowedKey:
        if (finding.earlierLine == 0)
            return QStringLiteral("QQ不读取这个值;请用“整理”合并");
        return QStringLiteral("QQ读取的是第%1行的“%2”,不是这个值;请用“整理”保留最后写入的值")
            .arg(finding.earlierLine)
            .arg(finding.earlierValue);
    case Finding::PictureMissing:
        return QStringLiteral("请把图片放到%1").arg(finding.path);
    case Finding::PictureOtherCase:
        return QStringLiteral("只找到%1,Windows下可用,但在Linux下的工具找不到;请让文件名与设置的大小写一致")
            .arg(finding.path);
    case Finding::PictureUnreadable:
        return QStringLiteral("%1不是可以读取的文件,请检查它的权限").arg(finding.path);
    case Finding::PictureUndecodable:
        return QStringLiteral("%1无法显示,请换用完好的BMP、GIF、JPEG或PNG图片").arg(finding.path);
    case Finding::NotANumber:
        return QStringLiteral("请填写整数");
    case Finding::NumberOutOfRange:
        return QStringLiteral("请填写%1到%2之间的整数").arg(finding.range.lowest).arg(finding.range.highest);
    case Finding::NoEquals:
        return QStringLiteral("这一行没有“=”,QQ不读取它;请删除或改成“名称=值”");
    case Finding::BeforeSection:
        return QStringLiteral("这一行在第一个段之前,QQ不读取它;请删除或移到段中");
    case Finding::InvalidGbk:
        return QStringLiteral("这一行含有不是GBK编码的字节,请用GBK编码保存文件");
    case Finding::ReadLimitReached:
        return QStringLiteral("只检查了前%1 MiB,后面的内容没有检查").arg(core::skinIniReadLimit / (1024 * 1024));
    }
    return {};
}

QString findingLine(const Finding &finding)
{
    const QString where = place(finding);
    return (where.isEmpty() ? QString() : where + QStringLiteral(": ")) + findingKind(finding.kind)
        + QStringLiteral(" - ") + findingAdvice(finding);
}

QString findingsSummary(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("没有发现问题");
    return QStringLiteral("发现%1处问题").arg(count);
}

QString checkProblem(const core::SkinCheck &check)
{
    switch (check.status) {
    case core::SkinCheck::Checked:
        return {};
    case core::SkinCheck::FolderMissing:
        return QStringLiteral("无法读取皮肤文件夹%1\n原因:文件夹不存在").arg(QFileInfo(check.iniPath).path());
    case core::SkinCheck::NotAFolder:
        return QStringLiteral("无法读取皮肤文件夹%1\n原因:这不是一个文件夹").arg(QFileInfo(check.iniPath).path());
    case core::SkinCheck::FolderUnreadable:
        return QStringLiteral("无法读取皮肤文件夹%1\n原因:没有读取的权限").arg(QFileInfo(check.iniPath).path());
    case core::SkinCheck::IniUnreadable:
        return QStringLiteral("无法读取文件%1(文件不存在,不是普通文件,或没有读取的权限)").arg(check.iniPath);
    }
    return {};
}

QString tidyChangeLine(const TidyChange &change)
{
    switch (change.kind) {
    case TidyChange::SectionsMerged:
        return QStringLiteral("[%1]段出现了%2次,合并为一段").arg(change.section).arg(change.count);
    case TidyChange::ValueChanged:
        if (!change.earlierRead)
            return QStringLiteral("[%1] %2=%3 开始起作用").arg(change.section, change.key, change.value);
        return QStringLiteral("[%1] %2 由“%3”改为“%4”")
            .arg(change.section, change.key, change.earlierValue, change.value);
    case TidyChange::LayoutOnly:
        return QStringLiteral("删除空行,统一换行符");
    }
    return {};
}

QString tidyQuestion(const TidyOutcome &plan)
{
    QStringList changes;
    for (const TidyChange &change : plan.changes)
        changes << tidyChangeLine(change);
    return QStringLiteral("整理将改动%1:\n%2\n原来的文件将保存为%3.是否继续?")
        .arg(plan.iniPath, changes.join(u'\n'), plan.backupPath);
}

QString tidyOutcomeLine(const TidyOutcome &outcome)
{
    switch (outcome.kind) {
    case TidyOutcome::Tidied:
        return QStringLiteral("已整理%1,原来的文件保存为%2").arg(outcome.iniPath, outcome.backupPath);
    case TidyOutcome::NothingToTidy:
        return QStringLiteral("%1不需要整理").arg(outcome.iniPath);
    case TidyOutcome::IniUnreadable:
        return QStringLiteral("无法读取文件%1(文件不存在,不是普通文件,或没有读取的权限)").arg(outcome.iniPath);
    case TidyOutcome::TooLarge:
        return QStringLiteral("%1超过%2 MiB,整理会丢失后面的内容,没有整理")
            .arg(outcome.iniPath)
            .arg(core::skinIniReadLimit / (1024 * 1024));
    case TidyOutcome::BackupFailed:
        return QStringLiteral("无法写入文件%1\n原因:%2\n%3没有被改动.")
            .arg(outcome.backupPath, platform::words::fileErrorReason(outcome.error), outcome.iniPath);
    case TidyOutcome::WriteFailed: {
        const QString text = QStringLiteral("无法写入文件%1\n原因:%2\n文件没有被改动.")
                                 .arg(outcome.iniPath, platform::words::fileErrorReason(outcome.error));
        return outcome.backupWritten ? text + QStringLiteral("原来的内容也保存在%1.").arg(outcome.backupPath) : text;
    }
    }
    return {};
}

QString repeatedSectionsWarning(const QStringList &sections)
{
    if (sections.isEmpty())
        return {};
    QStringList named;
    for (const QString &section : sections)
        named << u'[' + section + u']';
    return QStringLiteral("注意:skin.ini中原来已经有%1段,QQ只读取同名段中的第一个,这次写入的设置不会起作用."
                          "请用%2合并.")
        .arg(named.join(u'、'), toolPath());
}

QString checkerHelp()
{
    return QStringLiteral(
        "用法: morvane-check 文件夹\n"
        "      morvane-check --tidy 文件夹\n"
        "按QQ读取的方式检查皮肤文件夹中的skin.ini: 重复的段和设置、找不到或无法显示的图片、\n"
        "不是整数或超出范围的数值、QQ忽略的行和不是GBK编码的字节. 每个问题一行, 最后一行是总数.\n"
        "退出码: 0 没有问题, 1 发现问题, 2 无法读取文件夹或skin.ini.\n"
        "--tidy 整理skin.ini: 同名的段合并为一段, 每个设置保留最后写入的值, 原来的文件保存为skin.ini.bak.\n"
        "       退出码: 0 成功, 2 失败(没有改动任何文件).\n"
        "\n"
        "Usage: morvane-check FOLDER\n"
        "       morvane-check --tidy FOLDER\n"
        "Checks a skin folder's skin.ini as the QQ client reads it: repeated sections and keys, pictures\n"
        "that are missing or cannot be shown, numbers that are not whole or out of range, lines the\n"
        "client ignores and bytes that are not GBK. One finding a line, then a summary line.\n"
        "Exit status: 0 no finding, 1 findings, 2 the folder or its skin.ini cannot be read.\n"
        "--tidy rewrites skin.ini with each section once, each key holding the value written last,\n"
        "       and keeps the old file as skin.ini.bak. Exit status: 0 done, 2 failed (nothing changed).\n");
}

} // namespace skinmaker::words
