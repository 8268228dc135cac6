#include "skinwrite.h"

#include "platform/core/ansitext.h"
#include "platform/core/winpath.h"

namespace skinmaker::core {

namespace {

WriteOutcome stopped(WriteOutcome::Kind kind, const QString &path = {})
{
    WriteOutcome outcome;
    outcome.kind = kind;
    outcome.path = path;
    return outcome;
}

// The boxes holding characters that the given test picks out, each box with its characters.
template <typename Pick>
QList<FieldProblem> problemFields(const QList<LabelledText> &fields, Pick pick)
{
    QList<FieldProblem> problems;
    for (const LabelledText &field : fields) {
        const QList<char32_t> characters = pick(field.text);
        if (!characters.isEmpty())
            problems << FieldProblem{field.label, characters};
    }
    return problems;
}

} // namespace

PreparedBlock prepareBlock(const SkinLocation &location, const QStringList &block, const QList<LabelledText> &fields)
{
    if (location.installPath.isEmpty())
        return {stopped(WriteOutcome::NoInstallPath), {}};

    const std::optional<QString> path = skinIniPath(location);
    if (!path)
        return {stopped(WriteOutcome::NoVersion), {}};

    if (!isUsableFolderName(location.skinName)) {
        WriteOutcome outcome = stopped(WriteOutcome::UnusableSkinName, *path);
        // The notice names what cannot be seen; the rule it states shows only what can.
        if (const QList<char32_t> hidden = hiddenCharacters(location.skinName); !hidden.isEmpty())
            outcome.fields << FieldProblem{{}, hidden};
        return {outcome, {}};
    }

    // A line break in a value would end its line early and could start a section of its own.
    WriteOutcome outcome = stopped(WriteOutcome::ControlCharacters, *path);
    outcome.fields = problemFields(fields, platform::ansi::controlCharacters);
    if (!outcome.fields.isEmpty())
        return {outcome, {}};

    const platform::ansi::Encoded encoded = platform::ansi::encodeLines(block);
    if (!encoded.ok()) {
        outcome.kind = WriteOutcome::UnencodableCharacters;
        outcome.fields =
            problemFields(fields, [](const QString &text) { return platform::ansi::encode(text).unencodable; });
        // Should a fixed part of the block be at fault, name the characters without a box.
        if (outcome.fields.isEmpty())
            outcome.fields << FieldProblem{{}, encoded.unencodable};
        return {outcome, {}};
    }
    return {stopped(WriteOutcome::Written, *path), encoded.bytes};
}

WriteOutcome appendPrepared(const PreparedBlock &prepared)
{
    if (!prepared.ready())
        return prepared.outcome;
    const platform::ansi::WriteResult result =
        platform::ansi::appendBytes(platform::nativePath(prepared.outcome.path), prepared.bytes);
    WriteOutcome outcome = prepared.outcome;
    if (!result.ok()) {
        outcome.kind = WriteOutcome::FileFailed;
        outcome.error = result.error;
    }
    return outcome;
}

} // namespace skinmaker::core
