#pragma once

#include "launcher.h"

class QProcess;

// The seam between launcher.cpp and the half each system has of its own (launcher_unix.cpp,
// launcher_win.cpp).
namespace platform {

// Whether the name names no folder, so that it can only be looked for.
bool isBareName(const QString &fileName);

// The name as given, and where programs carry no ".exe", the name without it.
QStringList candidateNames(const QString &fileName);

// A file of the name in the folders that the system will not run because it lacks the
// permission; empty when there is none.
QString companionWithoutPermission(const QString &fileName, const QStringList &folders);

// Asks the system to show the process's first window minimised, where the system has a way
// to ask; the companions also read the environment for it.
void askForMinimizedWindow(QProcess &process);

} // namespace platform
