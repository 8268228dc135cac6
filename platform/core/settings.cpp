#include "settings.h"

#include <QCoreApplication>

namespace platform::settings {

QString storeName()
{
    // Qt derives the application name from the executable's file name unless told otherwise.
    return QCoreApplication::applicationName();
}

} // namespace platform::settings
