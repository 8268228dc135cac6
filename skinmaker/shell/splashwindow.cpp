#include "splashwindow.h"

#include "versiontext.h"

#include "platform/widgets/look.h"
#include "platform/widgets/placement.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <qdrawutil.h>

namespace skinmaker::shell {

using platform::place;
using platform::look::twips;
using platform::look::twipsRect;

namespace {

QLabel *placeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry, int points,
                   bool bold = false, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *label = place<QLabel>(parent, name, text, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    QFont font(platform::look::chineseFontFamily(), points);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// A right-aligned label that grows to the left with its text, its right edge staying put.
void setTextGrowingLeft(QLabel *label, const QString &text)
{
    const int right = label->geometry().right();
    label->setText(text);
    const int width = qMax(label->width(), label->sizeHint().width());
    label->setGeometry(right - width + 1, label->y(), width, label->height());
}

} // namespace

SplashWindow::SplashWindow()
{
    setObjectName(QStringLiteral("frmSplash"));
    // The border is drawn by paintEvent.
    platform::look::makeSplash(this);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);
    setWindowIcon(platform::look::programIcon());
    setCursor(Qt::WaitCursor);
    setFixedSize(twips(7380), twips(4245));

    m_frame = place<QFrame>(this, "Frame1", twipsRect(120, 60, 7080, 4050));
    m_frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_frame->installEventFilter(this);

    // The program's own icon, stretched as designed.
    QLabel *logo = place<QLabel>(m_frame, "imgLogo", twipsRect(240, 720, 1815, 2385));
    logo->setScaledContents(true);
    logo->setPixmap(platform::look::programIcon().pixmap(logo->size()));

    placeLabel(m_frame, "lblCompanyProduct", QStringLiteral("小企鹅 作品"), twipsRect(2280, 240, 4560, 480), 18, true);
    m_productName =
        placeLabel(m_frame, "lblProductName", QStringLiteral("Morvane"), twipsRect(2280, 780, 4560, 840), 32, true);
    placeLabel(m_frame, "lblPlatform", QStringLiteral("运行平台:Windows 9X/2000/XP/2003"),
               twipsRect(2280, 1740, 4560, 270), 9);
    placeLabel(m_frame, "Label1", QStringLiteral("开发平台:C++ / Qt 6"), twipsRect(2280, 2070, 4560, 270), 9);
    m_version = placeLabel(m_frame, "lblVersion", QStringLiteral("版本"), twipsRect(5640, 2400, 1200, 330), 12, true,
                           Qt::AlignRight);
    placeLabel(m_frame, "lblCopyright", QStringLiteral("版权所有 (C) 小企鹅"), twipsRect(2280, 2880, 4560, 270), 9);

    placeLabel(m_frame, "Label2", QStringLiteral("正在加载"), twipsRect(5040, 3600, 1080, 270), 9, false,
               Qt::AlignRight);
    m_counter =
        placeLabel(m_frame, "Label3", QStringLiteral("0"), twipsRect(6120, 3600, 480, 270), 9, false, Qt::AlignRight);
    placeLabel(m_frame, "Label4", QStringLiteral("%"), twipsRect(6600, 3600, 240, 270), 9);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::tick);
    m_timer->start();

    platform::look::centreOnScreen(this);
}

void SplashWindow::fillLabels(const QString &productName)
{
    setTextGrowingLeft(m_version, programVersionText());
    m_productName->setText(productName);
}

void SplashWindow::tick()
{
    comeForwardOverTheOthers();
    // The counter is the label's text and nothing else.
    m_counter->setText(QString::number(m_counter->text().toInt() + 1));
    if (m_counter->text() == u"100") {
        m_timer->stop();
        close();
    }
}

void SplashWindow::comeForwardOverTheOthers()
{
    if (m_requestsLeft == 0)
        return;
    // Each window shown after the splash asks the desktop for the focus once it is first
    // exposed; asking before that would be overruled.
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        const QWindow *handle = window->windowHandle();
        if (window != this && window->isVisible() && !window->isMinimized() && !(handle && handle->isExposed()))
            return;
    }
    // Active after asking: done. Otherwise asked again on the next ticks, should the desktop
    // be slow, but only a few times: some desktops do not let programs move the focus.
    if (m_requestsLeft < requestsToComeForward && isActiveWindow()) {
        m_requestsLeft = 0;
        return;
    }
    raise();
    activateWindow();
    --m_requestsLeft;
}

bool SplashWindow::event(QEvent *event)
{
    // Any key closes the window, before Tab or a shortcut could take it elsewhere.
    if (event->type() == QEvent::KeyPress) {
        close();
        return true;
    }
    return QWidget::event(event);
}

bool SplashWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the frame's free area closes the window; one on a label or the logo does not,
    // though the label passes it on to the frame.
    if (watched == m_frame && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && m_frame->rect().contains(at) && !m_frame->childAt(at))
            close();
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    // The raised edge of a dialog frame, without its title bar.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closed();
    QWidget::closeEvent(event);
}

} // namespace skinmaker::shell
