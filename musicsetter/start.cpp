#include "musicsetter.h"
#include "program.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/words/filewords.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace musicsetter {

Program::Program(QObject *parent) : QObject(parent)
{
}

void Program::start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    QCoreApplication::setApplicationVersion(QLatin1String(version));
    platform::look::applyApplicationLook();
    platform::showFirstWindow(m_setter);
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

SetterWindow *Program::makeSetterWindow()
{
    auto *setter = new SetterWindow;
    connect(setter, &SetterWindow::browseRequested, this, [this] { m_browse.show(); });
    return setter;
}

BrowseWindow *Program::makeBrowseWindow()
{
    auto *browse = new BrowseWindow(m_setter.existing());
    // A pick lands in the path box, also when the setter window was closed meanwhile.
    connect(browse, &BrowseWindow::picked, this,
            [this](const QString &path) { m_setter.get()->pathBox()->setText(path); });
    return browse;
}

void start()
{
    // The program lives as long as the application.
    auto *program = new Program(QCoreApplication::instance());
    program->start();
}

} // namespace musicsetter
