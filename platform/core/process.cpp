#include "process.h"

#include <QLoggingCategory>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

Q_LOGGING_CATEGORY(processLog, "morvane.process", QtInfoMsg)

QtMessageHandler passOn = nullptr;

void withoutSetUpNotices(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return passOn(type, context, message);
    // Passed on as the log's own: a message logged from within a handler would reach the
    // terminal as it is.
    if (processLog().isDebugEnabled())
        passOn(QtDebugMsg,
               QMessageLogContext(context.file, context.line, context.function, processLog().categoryName()), message);
}

} // namespace

void failWritesPastFileSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void keepQtSetUpNoticesOffTheTerminal()
{
    passOn = qInstallMessageHandler(withoutSetUpNotices);
}

void endProcessNow(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace platform
