#include "musicsetter.h"

#include "setterwindow.h"

#include "platform/core/process.h"
#include "platform/launcher.h"
#include "platform/look.h"
#include "platform/notice.h"

#include <QCoreApplication>

namespace musicsetter {

void start()
{
    platform::failWritesPastFileSizeLimit();
    QCoreApplication::setApplicationVersion(QLatin1String(version));
    platform::setProgramTitle(QStringLiteral("Morvane背景音乐添加程序"));
    platform::look::applyApplicationLook();
    platform::showFirstWindow<SetterWindow>();
}

} // namespace musicsetter
