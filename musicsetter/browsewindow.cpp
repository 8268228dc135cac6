#include "browsewindow.h"

#include "musicpaths.h"
#include "notices.h"

#include "platform/core/winpath.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace musicsetter {

using platform::look::twips;
using platform::look::twipsRect;

BrowseWindow::BrowseWindow(const QWidget *setter)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("浏览"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);
    setFixedSize(twips(5160), twips(3720));

    // Drive and folder on the left, the music files of that folder on the right.
    m_driveList = platform::place<platform::DriveList>(this, "Drive1", twipsRect(120, 120, 2400, 300));
    m_folderList = platform::place<platform::FolderList>(this, "Dir1", twipsRect(120, 540, 2400, 3060));
    m_fileList = platform::place<platform::FileList>(this, "File1", twipsRect(2640, 120, 2400, 2985));
    m_fileList->setPattern(QStringLiteral("*.mp3;*.mid;*.wav"));
    auto *command1 = platform::place<QPushButton>(this, "Command1", QStringLiteral("确定"),
                                                  twipsRect(2640 + (2400 - 975) / 2, 3225, 975, 375));
    command1->setCursor(platform::look::pointingHand());

    // All three lists open where the process is (see openingFolder); the process's own current
    // folder is never changed. Should that folder have become unreadable, its drive's root
    // will do.
    const QString start = platform::DriveList::openingFolder();
    if (!m_folderList->setPath(start)) {
        const QString root = m_driveList->driveOf(start);
        m_folderList->setPath(root.isEmpty() ? QDir::rootPath() : root);
    }
    platform::linkBrowseLists(m_driveList, m_folderList, m_fileList);

    connect(command1, &QPushButton::clicked, this, &BrowseWindow::takeOver);

    placeBelow(setter);
}

void BrowseWindow::takeOver()
{
    // The main program reads every "\" of the stored path as a separator: a name holding one
    // would lead it elsewhere, so the path box keeps what it holds.
    const QString name = platform::nameHoldingBackslash(m_folderList->path() + u'/' + m_fileList->fileName());
    if (!name.isEmpty()) {
        platform::notice(backslashInNameNotice(name));
        return;
    }
    // The open folder and the highlighted file, or the folder alone when none is highlighted.
    const QString path = pickedPath(m_folderList->path(), m_fileList->fileName());
    Q_EMIT picked(path);
}

void BrowseWindow::placeBelow(const QWidget *setter)
{
    // Below the setter window, so the path box stays in sight when a pick lands in it;
    // centred on the screen when there is no room there.
    platform::look::centreOnScreen(this);
    const QScreen *screen = this->screen();
    if (!setter || !setter->isVisible() || !screen)
        return;
    // With its frame: the desktop draws it only once the window shows, like the setter's.
    const QRect setterFrame = setter->frameGeometry();
    const QRect setterInside = setter->geometry();
    const QMargins frame(setterInside.left() - setterFrame.left(), setterInside.top() - setterFrame.top(),
                         setterFrame.right() - setterInside.right(), setterFrame.bottom() - setterInside.bottom());
    const QSize framed = size().grownBy(frame);
    const QRect wanted(QPoint(setterFrame.center().x() - framed.width() / 2, setterFrame.bottom() + twips(120)),
                       framed);
    if (screen->availableGeometry().contains(wanted))
        move(wanted.topLeft());
}

} // namespace musicsetter
