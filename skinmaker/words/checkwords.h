#pragma once

#include "skinmaker/core/skincheck.h"

#include <QString>
#include <QStringList>

// The skin checker's words: the findings, the tidy changes and the warning of a repeated
// section, for the window and the command line alike.
namespace skinmaker::words {

// The kind of a finding in a few words, for the table's first column.
QString findingKind(core::Finding::Kind kind);
// What the user can do about it.
QString findingAdvice(const core::Finding &finding);
// The whole finding on one line: where, what, what to do.
QString findingLine(const core::Finding &finding);
// "N处问题" or that there is none.
QString findingsSummary(qsizetype count);

// Why a folder could not be checked, empty when it was.
QString checkProblem(const core::SkinCheck &check);

QString tidyChangeLine(const core::TidyChange &change);
// The question 整理 asks before it writes, naming every change.
QString tidyQuestion(const core::TidyOutcome &plan);
// What became of a tidy: the reason when it failed, else a line saying it was done.
QString tidyOutcomeLine(const core::TidyOutcome &outcome);

// The line a writing window adds after a write whose sections the file already held; empty
// for none.
QString repeatedSectionsWarning(const QStringList &sections);

// morvane-check --help, in Chinese and English.
QString checkerHelp();

} // namespace skinmaker::words
