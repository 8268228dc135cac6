#include "checkcommand.h"

#include "skinmaker/pictures/picturereader.h"
#include "skinmaker/words/checkwords.h"

#include <QTextStream>

namespace skinmaker::check {

namespace {

int check(const QString &folder, QTextStream &out, QTextStream &errors)
{
    const core::SkinCheck checked = core::checkSkinFolder(folder, pictures::isDecodable);
    if (checked.status != core::SkinCheck::Checked) {
        errors << words::checkProblem(checked) << Qt::endl;
        return Unreadable;
    }
    for (const core::Finding &finding : checked.findings)
        out << words::findingLine(finding) << u'\n';
    out << words::findingsSummary(checked.findings.size()) << Qt::endl;
    return checked.findings.isEmpty() ? NoFinding : Findings;
}

int tidy(const QString &folder, QTextStream &out, QTextStream &errors)
{
    const core::TidyOutcome outcome = core::tidySkinFolder(folder);
    if (!outcome.ok()) {
        errors << words::tidyOutcomeLine(outcome) << Qt::endl;
        return Unreadable;
    }
    if (outcome.kind == core::TidyOutcome::Tidied) {
        for (const core::TidyChange &change : outcome.changes)
            out << words::tidyChangeLine(change) << u'\n';
    }
    out << words::tidyOutcomeLine(outcome) << Qt::endl;
    return NoFinding;
}

} // namespace

int runChecker(const QStringList &arguments, QTextStream &out, QTextStream &errors)
{
    if (arguments == QStringList{QStringLiteral("--help")} || arguments == QStringList{QStringLiteral("-h")}) {
        out << words::checkerHelp() << Qt::flush;
        return NoFinding;
    }
    if (arguments.size() == 1 && !arguments.first().startsWith(u'-'))
        return check(arguments.first(), out, errors);
    if (arguments.size() == 2 && arguments.first() == QStringLiteral("--tidy"))
        return tidy(arguments.at(1), out, errors);
    errors << words::checkerHelp() << Qt::flush;
    return Unreadable;
}

} // namespace skinmaker::check
