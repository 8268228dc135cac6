#include "sysinfo.h"

#include "platform/core/registry.h"
#include "platform/core/winpath.h"
#include "platform/widgets/notice.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace skinmaker::shell {

using platform::registry::GetKeyValue;
using platform::registry::Root;

QStringList equivalentSystemInfoTools()
{
#ifdef Q_OS_WIN
    return {};
#else
    // Hardware and system overviews first, then the desktops' own information centres,
    // then the system monitors, which at least show the machine's load and resources.
    return {
        QStringLiteral("hardinfo2"),
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("lshw-gtk"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("xfce4-taskmanager"),
        QStringLiteral("lxtask"),
    };
#endif
}

std::optional<QString> findSystemInfoTool()
{
    QString text;
    const QString toolFileKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    if (GetKeyValue(Root::LocalMachine, toolFileKey, QStringLiteral("PATH"), text))
        return platform::nativePath(text);

    const QString toolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
    if (GetKeyValue(Root::LocalMachine, toolFolderKey, QStringLiteral("MSINFO"), text)) {
        const QString tool = platform::nativePath(text + QStringLiteral("\\MSINFO32.EXE"));
        if (QFileInfo(tool).isFile())
            return tool;
    }

    for (const QString &name : equivalentSystemInfoTools()) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return std::nullopt;
}

bool StartSysInfo()
{
    const std::optional<QString> tool = findSystemInfoTool();
    // An empty name (a registry value of an unexpected type) cannot start either.
    if (tool && !tool->isEmpty() && QProcess::startDetached(*tool, {}))
        return true;
    platform::notice(QStringLiteral("此时系统信息不可用"));
    return false;
}

} // namespace skinmaker::shell
