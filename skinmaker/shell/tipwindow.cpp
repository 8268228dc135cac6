#include "tipwindow.h"

#include "startupsteps.h"

#include "skinmaker/core/tips.h"

#include "platform/core/random.h"
#include "platform/widgets/look.h"
#include "platform/widgets/placement.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace skinmaker::shell {

using platform::place;
using platform::look::twips;
using platform::look::twipsRect;

TipWindow::TipWindow()
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Morvane"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);
    // The penguin points over the window's own background and, inherited, over the buttons.
    setCursor(platform::look::penguinPointer());
    setFixedSize(twips(5685), twips(3285));

    // The white panel with the light bulb in its corner; the arrow points over it.
    auto *panel = place<QLabel>(this, "Picture1", twipsRect(120, 120, 3735, 2715));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel->setPixmap(QPixmap(QStringLiteral(":/skinmaker/tip-bulb.png")));
    panel->setStyleSheet(QStringLiteral("#Picture1 { background: white; }"));
    panel->setCursor(Qt::ArrowCursor);

    auto *heading = place<QLabel>(panel, "Label1", QStringLiteral("您知道吗..."), twipsRect(540, 180, 2655, 255));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_tipText = place<QLabel>(panel, "lblTipText", twipsRect(180, 840, 3255, 1635));
    m_tipText->setTextFormat(Qt::PlainText);
    m_tipText->setWordWrap(true);
    m_tipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_ok = place<QPushButton>(this, "cmdOK", QStringLiteral("确定"), twipsRect(4080, 120, 1455, 375));
    m_ok->setDefault(true);
    auto *next =
        place<QPushButton>(this, "cmdNextTip", QStringLiteral("下一条提示(&N)"), twipsRect(4080, 600, 1455, 375));
    m_loadAtStartup = place<QCheckBox>(this, "chkLoadTipsAtStartup", QStringLiteral("在启动时显示提示(&S)"),
                                       twipsRect(120, 2940, 2055, 315));
    m_loadAtStartup->setCursor(Qt::ArrowCursor);

    connect(m_ok, &QPushButton::clicked, this, &QWidget::close);
    connect(next, &QPushButton::clicked, this, &TipWindow::ShowRandomTip);
    // Written the moment the box changes, also when the load steps tick it. A store that
    // cannot be written leaves the box as the user set it and says nothing; the next start
    // goes by whatever the store still holds.
    connect(m_loadAtStartup, &QCheckBox::toggled, this, [](bool checked) { core::storeTipsAtStartup(checked); });

    platform::look::centreOnScreen(this);
}

bool TipWindow::load()
{
    const bool tipsAtStart = core::tipsAtStartup();
    markStartUpStep("tips setting read");
    if (!tipsAtStart)
        return false;
    m_loadAtStartup->setChecked(true);
    markStartUpStep("tips box ticked");
    platform::random::seedFromClock();
    // Without a file the window shows an empty tip area and no message.
    LoadTips(QDir(QCoreApplication::applicationDirPath()).filePath(core::tipsFileName()));
    return true;
}

bool TipWindow::LoadTips(const QString &path)
{
    std::optional<platform::textfile::TextLines> tips = core::readTips(path);
    if (!tips)
        return false;
    m_tips = std::move(*tips);
    markStartUpStep("tips read");
    ShowRandomTip();
    return true;
}

void TipWindow::ShowRandomTip()
{
    m_current = core::tipNumber(platform::random::next(), m_tips.size());
    markStartUpStep("random tip");
    DisplayCurrentTip();
}

void TipWindow::DisplayCurrentTip()
{
    if (!m_tips.isEmpty())
        m_tipText->setText(m_tips.at(m_current - 1));
}

void TipWindow::keyPressEvent(QKeyEvent *event)
{
    // 确定 is both the default and the cancel button: Enter and Esc press it from anywhere in
    // the window. The other controls pass these keys on to here.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        m_ok->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace skinmaker::shell
