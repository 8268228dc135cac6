#include "musicwindow.h"

#include "formats/musicsetting.h"

#include "platform/words/filewords.h"

#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace skinmaker::music {

using platform::place;
using platform::look::twips;
using platform::look::twipsRect;

namespace {

// Options 1 to 6 run down the left; 7 and 8 head a right-hand column above the label and the button.
constexpr int leftColumn = 240;
constexpr int rightColumn = 2400;
constexpr int firstRow = 240;
constexpr int rowStep = 360;
constexpr int optionWidth = 1800;
constexpr int optionHeight = 300;

QRect optionPlace(int number)
{
    const bool left = number <= 6;
    const int row = left ? number - 1 : number - 7;
    return twipsRect(left ? leftColumn : rightColumn, firstRow + row * rowStep, optionWidth, optionHeight);
}

} // namespace

MusicWindow::MusicWindow()
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("选择音乐"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);
    setFixedSize(twips(4500), twips(2640));

    auto *group = new QButtonGroup(this);
    for (int number = 1; number <= formats::builtInTuneCount; ++number) {
        auto *option = place<QRadioButton>(this, qPrintable(QStringLiteral("Option%1").arg(number)),
                                           QStringLiteral("默认音乐%1").arg(number), optionPlace(number));
        group->addButton(option);
        m_options << option;
    }

    auto *hint = place<QLabel>(this, "Label1", QStringLiteral("音乐文件保存在music文件夹下,您可以去试听"),
                               twipsRect(rightColumn, 1020, 1920, 720));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *confirmButton =
        place<QPushButton>(this, "Command1", QStringLiteral("确定"), twipsRect(rightColumn, 1920, 1215, 420));
    confirmButton->setCursor(platform::look::pointingHand());
    connect(confirmButton, &QPushButton::clicked, this, &MusicWindow::confirm);

    // The tune the setting file names now, by exact comparison; anything else selects none.
    const int chosen = formats::builtInTuneNumber(formats::readMusicSetting().value_or(QString()));
    if (chosen > 0)
        option(chosen)->setChecked(true);

    platform::look::centreOnScreen(this);
}

QRadioButton *MusicWindow::option(int number) const
{
    return m_options.value(number - 1);
}

void MusicWindow::confirm()
{
    QString line; // no option chosen: an empty line, and the next start plays nothing
    for (int number = 1; number <= formats::builtInTuneCount; ++number) {
        if (option(number)->isChecked()) {
            line = formats::builtInTune(number);
            break;
        }
    }
    const platform::textfile::WriteOutcome outcome = formats::storeMusicSetting(line);
    if (!outcome.ok()) {
        // The choice stays on screen for the user to try again once the file can be written.
        platform::notice(platform::words::musicSettingNotice(outcome));
        return;
    }
    platform::notice(QStringLiteral("设置完成!请重新启动本程序以生效"));
    close();
}

} // namespace skinmaker::music
