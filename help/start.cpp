#include "help.h"
#include "program.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/words/filewords.h"

#include <QCoreApplication>

namespace help {

Program::Program(QObject *parent) : QObject(parent)
{
}

void Program::start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    platform::look::applyApplicationLook();
    platform::showFirstWindow(m_help);
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

void start()
{
    // The program lives as long as the application.
    auto *program = new Program(QCoreApplication::instance());
    program->start();
}

} // namespace help
