#include "folderbrowsewindow.h"

#include "skinmaker/words/notices.h"

#include "platform/core/winpath.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QDir>
#include <QPushButton>

namespace skinmaker::shell {

using platform::look::twips;
using platform::look::twipsRect;

FolderBrowseWindow::FolderBrowseWindow()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("浏览"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);
    setCursor(platform::look::mainCursor());
    setFixedSize(twips(2655), twips(4440));

    m_driveList = platform::place<platform::DriveList>(this, "Drive1", twipsRect(0, 0, 2655, 300));
    m_folderList = platform::place<platform::FolderList>(this, "Dir1", twipsRect(0, 330, 2655, 3660));
    m_confirm = platform::place<QPushButton>(this, "Command1", QStringLiteral("确定"),
                                             twipsRect((2655 - 975) / 2, 4035, 975, 375));
    // Like the main window's buttons, 确定 shows the window's own pointer.
    m_confirm->setCursor(platform::look::mainCursor());

    // Both lists open where the process is (see openingFolder); the process's own current
    // folder is never changed. Should that folder have become unreadable, its drive's root
    // will do.
    const QString start = platform::DriveList::openingFolder();
    if (!m_folderList->setPath(start)) {
        const QString root = m_driveList->driveOf(start);
        m_folderList->setPath(root.isEmpty() ? QDir::rootPath() : root);
    }
    platform::linkBrowseLists(m_driveList, m_folderList);

    connect(m_confirm, &QPushButton::clicked, this, &FolderBrowseWindow::confirm);

    platform::look::centreOnScreen(this);
}

void FolderBrowseWindow::confirm()
{
    // The installation path is read with "\" as its separator: a name holding one would lead
    // the skin elsewhere, so the box keeps what it holds.
    if (const QString name = platform::nameHoldingBackslash(m_folderList->path()); !name.isEmpty()) {
        platform::notice(words::backslashInFolderNameNotice(name));
        return;
    }
    // The open folder, not a merely highlighted one, exactly as the list gives it.
    Q_EMIT folderChosen(m_folderList->path());
    close();
}

} // namespace skinmaker::shell
