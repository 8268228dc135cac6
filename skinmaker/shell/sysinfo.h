#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace skinmaker::shell {

// Programs of the common Linux desktops that show what the Windows system information
// tool shows, best first. Empty on Windows, where the registry names the real tool.
QStringList equivalentSystemInfoTools();

// The file to start as the system information tool, as a file name of the running system:
// the registry's full file name (not tested for existence), else the registry's tool folder
// when it holds MSINFO32.EXE, else the first equivalent tool on the program search path.
// nullopt when none of these gives one.
std::optional<QString> findSystemInfoTool();

// Starts the system information tool without waiting for it. When there is none or it
// does not start, tells the user so; returns whether it started.
bool StartSysInfo();

} // namespace skinmaker::shell
