#include "musicsetter.h"

#include "setterwindow.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/words/filewords.h"

#include <QCoreApplication>

namespace musicsetter {

void start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    QCoreApplication::setApplicationVersion(QLatin1String(version));
    platform::setProgramTitle(QStringLiteral("Morvane背景音乐添加程序"));
    platform::look::applyApplicationLook();
    platform::showFirstWindow<SetterWindow>();
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

} // namespace musicsetter
