#pragma once

#include <QStringList>

class QTextStream;

// morvane-check: checks or tidies a skin folder's skin.ini from the command line.
namespace skinmaker::check {

enum ExitStatus { NoFinding = 0, Findings = 1, Unreadable = 2 };

// arguments without the program's name. Findings and changes go to out, reasons to errors.
int runChecker(const QStringList &arguments, QTextStream &out, QTextStream &errors);

} // namespace skinmaker::check
