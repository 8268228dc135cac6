#include "look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>
#include <QWidget>

namespace platform::look {

QColor windowBackground()
{
    return QColor(63, 197, 254);
}

QColor fieldBackground()
{
    return QColor(175, 231, 254);
}

QString chineseFontFamily()
{
    // Looked up once. The installed families are listed by their own names, 宋体 as SimSun;
    // asking for each name in turn would look up every one as an alias as well.
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char *song : {"SimSun", "NSimSun", "AR PL UMing CN", "Noto Serif CJK SC", "Source Han Serif SC"}) {
            if (installed.contains(QLatin1String(song)))
                return QString::fromLatin1(song);
        }
        for (const QString &candidate : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
            if (!QFontDatabase::isFixedPitch(candidate))
                return candidate;
        }
        return QString();  // Qt's own fallback then finds whatever draws the characters
    }();
    return family;
}

QIcon programIcon()
{
    QIcon icon;
    for (const char *size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/platform/penguin-%1.png").arg(QLatin1String(size)));
    return icon;
}

QCursor pointingHand()
{
    // Hot spot at the tip of the index finger in the picture.
    return QCursor(QPixmap(QStringLiteral(":/platform/pointing-hand.png")), 5, 0);
}

QCursor mainCursor()
{
    // Hot spot at the arrow's tip in the top-left corner.
    return QCursor(QPixmap(QStringLiteral(":/platform/main-cursor.png")), 0, 0);
}

QCursor penguinPointer()
{
    return QCursor(QPixmap(QStringLiteral(":/platform/penguin-16.png")));
}

void applyWindowLook(QWidget *window)
{
    QPalette palette = window->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, windowBackground());
        palette.setColor(group, QPalette::Base, fieldBackground());
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, windowBackground());
    palette.setColor(QPalette::Disabled, QPalette::Base, windowBackground());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    // Frames draw their line in a darker shade of the window colour, with the caption set
    // into it: the style's own frame line vanishes on this blue. A style sheet overrides the
    // palette, so it names the field colour for the boxes and lists as well.
    window->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid rgb(30, 120, 165); border-radius: 2px; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"
        "QLineEdit, QAbstractItemView, QComboBox { background: %1; color: black; }"
        "QLineEdit:disabled { color: gray; }").arg(fieldBackground().name()));
    window->setWindowIcon(programIcon());
}

void setFrameButtons(QWidget *window, FrameButtons buttons)
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint;
    if (buttons == FrameButtons::MinimiseAndClose)
        flags |= Qt::WindowMinimizeButtonHint;
    window->setWindowFlags(flags);
}

void makeSplash(QWidget *window)
{
    // A tool window leaves the task bar alone on every desktop. Qt's own splash-screen type
    // would do as well, but showing one before the event loop runs processes pending events
    // in the middle of the start-up steps.
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    window->setProperty("morvaneSplash", true);
}

bool isSplash(const QWidget *window)
{
    return window->property("morvaneSplash").toBool();
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void applyApplicationLook()
{
    // One style everywhere, so the designed geometry looks the same on every desktop.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setWindowIcon(programIcon());
}

} // namespace platform::look
