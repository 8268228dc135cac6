#include "checkedwrite.h"

#include "ansitext.h"

namespace platform::textfile {

namespace {

// The texts holding characters that the given test picks out, each with its characters.
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

WriteOutcome written(const PreparedText &prepared, const WriteResult &result)
{
    WriteOutcome outcome = prepared.outcome;
    if (!result.ok()) {
        outcome.kind = WriteOutcome::FileFailed;
        outcome.error = result.error;
    }
    return outcome;
}

} // namespace

PreparedText refused(WriteOutcome::Kind kind, const QString &path)
{
    PreparedText prepared;
    prepared.outcome.kind = kind;
    prepared.outcome.path = path;
    return prepared;
}

PreparedText prepareLines(const QString &path, const QString &nativePath, const QStringList &lines,
                          const QList<LabelledText> &fields)
{
    PreparedText prepared = refused(WriteOutcome::ControlCharacters, path);
    prepared.outcome.fields = problemFields(fields, ansi::controlCharacters);
    if (!prepared.outcome.fields.isEmpty())
        return prepared;

    const ansi::Encoded encoded = ansi::encodeLines(lines);
    if (!encoded.ok()) {
        prepared.outcome.kind = WriteOutcome::UnencodableCharacters;
        prepared.outcome.fields =
            problemFields(fields, [](const QString &text) { return ansi::encode(text).unencodable; });
        // Should a fixed part of the lines be at fault, name the characters without a text.
        if (prepared.outcome.fields.isEmpty())
            prepared.outcome.fields << FieldProblem{{}, encoded.unencodable};
        return prepared;
    }
    prepared.outcome.kind = WriteOutcome::Written;
    prepared.nativePath = nativePath;
    prepared.bytes = encoded.bytes;
    return prepared;
}

WriteOutcome appendPrepared(const PreparedText &prepared)
{
    if (!prepared.ready())
        return prepared.outcome;
    return written(prepared, appendBytes(prepared.nativePath, prepared.bytes));
}

WriteOutcome replaceWithPrepared(const PreparedText &prepared)
{
    if (!prepared.ready())
        return prepared.outcome;
    return written(prepared, replaceContent(prepared.nativePath, prepared.bytes));
}

} // namespace platform::textfile
