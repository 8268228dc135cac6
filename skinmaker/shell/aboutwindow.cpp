#include "aboutwindow.h"

#include "sysinfo.h"
#include "versiontext.h"

#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace skinmaker::shell {

using platform::place;
using platform::look::twips;
using platform::look::twipsRect;

namespace {

// Two lines at the same height, grey above white, cut into the window like an engraving.
class EtchedLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(Qt::white);
        painter.drawLine(0, 1, width() - 1, 1);
    }
};

QLabel *placeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = place<QLabel>(parent, name, text, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *placeButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *button = place<QPushButton>(parent, name, text, geometry);
    button->setCursor(platform::look::pointingHand());
    return button;
}

} // namespace

AboutWindow::AboutWindow()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于 Morvane"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);
    // The penguin itself points over the window's own background.
    setCursor(platform::look::penguinPointer());
    setFixedSize(twips(5670), twips(8490));

    // A sunken picture box whose left border lies just outside the window.
    m_picture = place<QLabel>(this, "picIcon", twipsRect(-120, 0, 5820, 5535));
    m_picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture->setLineWidth(2);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setPixmap(QPixmap(QStringLiteral(":/skinmaker/about-portrait.png")));
    m_picture->installEventFilter(this);

    placeLabel(this, "lblTitle", QStringLiteral("Morvane"), twipsRect(360, 5760, 3885, 240));
    // Filled by load(), so the label never shows a design-time text.
    m_version = placeLabel(this, "lblVersion", QString(), twipsRect(2040, 5760, 3885, 225));
    placeLabel(this, "Label1", QStringLiteral("作者:小企鹅"), twipsRect(360, 6000, 3975, 255));
    placeLabel(this, "Label2", QStringLiteral("开发平台:C++ / Qt 6"), twipsRect(1680, 6000, 3975, 255));
    placeLabel(this, "Label3", QStringLiteral("运行平台:Windows 9x\\2000\\XP\\2003"), twipsRect(360, 6360, 3975, 255));
    QLabel *description = placeLabel(this, "lblDescription", QStringLiteral("简介:一个制作QQ皮肤的东东!"),
                                     twipsRect(360, 6720, 3885, 450));
    description->setWordWrap(true);

    place<EtchedLine>(this, "Line1", QRect(0, twips(7320), width(), 2));

    placeLabel(this, "Label4", QStringLiteral("作者的样子真是有够土的哦~！"), twipsRect(1560, 7440, 2655, 375));

    QPushButton *ok = placeButton(this, "Command1", QStringLiteral("OK"), twipsRect(840, 7800, 1485, 585));
    QPushButton *systemInfo =
        placeButton(this, "cmdSysInfo", QStringLiteral("系统信息(&S)..."), twipsRect(3120, 7800, 1485, 585));

    // Hidden, not destroyed: the next "about" shows this very window again.
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    connect(systemInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });

    platform::look::centreOnScreen(this);

    load();
}

void AboutWindow::load()
{
    m_version->setText(programVersionText());
}

QString AboutWindow::contactText()
{
    return QStringLiteral("作者的邮箱:morvane@example.com");
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A click is a left press and release on the picture.
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_picture->rect().contains(mouse->position().toPoint()))
            platform::notice(contactText(), QStringLiteral("提示"), QMessageBox::Information);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace skinmaker::shell
