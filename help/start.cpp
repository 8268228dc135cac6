#include "help.h"

#include "helpwindow.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/words/filewords.h"

namespace help {

void start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    platform::setProgramTitle(QStringLiteral("帮助"));
    platform::look::applyApplicationLook();
    platform::showFirstWindow<HelpWindow>();
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

} // namespace help
