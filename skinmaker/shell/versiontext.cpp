#include "versiontext.h"

#include "skinmaker/shell/version.h"

namespace skinmaker::shell {

ProgramVersion programVersion()
{
    return {MORVANE_VERSION_MAJOR, MORVANE_VERSION_MINOR, MORVANE_VERSION_PATCH, MORVANE_VERSION_TWEAK};
}

QString versionText(const ProgramVersion &version)
{
    return QStringLiteral("版本 %1.%2.%3").arg(version.majorNumber).arg(version.minorNumber).arg(version.revision);
}

QString programVersionText()
{
    return versionText(programVersion());
}

} // namespace skinmaker::shell
