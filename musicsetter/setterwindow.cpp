#include "setterwindow.h"

#include "musicpaths.h"

#include "formats/musicsetting.h"

#include "platform/words/filewords.h"

#include "platform/widgets/fields.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

namespace musicsetter {

using platform::place;
using platform::look::twips;
using platform::look::twipsRect;

namespace {

QString musicFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace

SetterWindow::SetterWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Morvane背景音乐添加程序"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::MinimiseAndClose);
    platform::look::applyWindowLook(this);
    setFixedSize(twips(6480), twips(2910));

    auto *frame1 = place<QGroupBox>(this, "Frame1", twipsRect(120, 120, 6240, 1095));
    frame1->setTitle(QStringLiteral("使用方法"));
    // One sentence, wrapped by the label where the frame ends.
    auto *label1 = place<QLabel>(
        frame1, "Label1",
        QStringLiteral("在下面的输入框中输入你要添加的背景音乐的完整路径,单击\"确定\"后,再次运行程序将会改变音乐."),
        twipsRect(120, 300, 6000, 660));
    label1->setTextFormat(Qt::PlainText);
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *frame2 = place<QGroupBox>(this, "Frame2", twipsRect(120, 1335, 6240, 1455));
    frame2->setTitle(QStringLiteral("选项"));
    m_pathBox = place<QLineEdit>(frame2, "Text1", examplePath(musicFolder()), twipsRect(120, 345, 5280, 345));
    platform::keepWholeText(m_pathBox);
    // Small, at the box's right end; it keeps the ordinary pointer.
    auto *command2 = place<QPushButton>(frame2, "Command2", QStringLiteral("浏览"), twipsRect(5460, 330, 660, 375));
    auto *command1 = place<QPushButton>(frame2, "Command1", QStringLiteral("确定"), twipsRect(5040, 900, 1080, 405));
    command1->setCursor(platform::look::pointingHand());

    connect(command1, &QPushButton::clicked, this, &SetterWindow::store);
    connect(command2, &QPushButton::clicked, this, &SetterWindow::browseRequested);

    platform::look::centreOnScreen(this);
}

void SetterWindow::store()
{
    // The box is stored exactly as it stands. A refusal names what stood in the way; the file
    // and the box then hold what they held before, so the user can correct and try again.
    const platform::textfile::WriteOutcome outcome = formats::storeMusicSetting(m_pathBox->text());
    if (outcome.ok())
        platform::notice(QStringLiteral("设置成功!!"));
    else
        platform::notice(platform::words::musicSettingNotice(outcome));
}

} // namespace musicsetter
