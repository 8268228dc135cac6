#include "winpath.h"

#include <QDir>
#include <QtGlobal>

namespace platform {

QString winePrefix()
{
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : configured;
}

} // namespace platform
