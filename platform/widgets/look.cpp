#include "look.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>

namespace platform::look {

QColor windowBackground()
{
    return QColor(63, 197, 254);
}

QColor fieldBackground()
{
    return QColor(175, 231, 254);
}

namespace {

// 宋体 and the faces drawn like it.
const char *const songFaces[] = {"SimSun",
                                 "NSimSun",
                                 "AR PL UMing CN",
                                 "AR PL SungtiL GB",
                                 "Noto Serif CJK SC",
                                 "Source Han Serif SC",
                                 "Source Han Serif CN"};
const char *const heiFaces[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC", "Source Han Sans CN",
                                "WenQuanYi Zen Hei"};
const char *const fallbackFaces[] = {"Droid Sans Fallback", "Unifont"};

int faceRank(const QString &face)
{
    const auto indexIn = [&face](const auto &list) {
        const auto found = std::find_if(std::begin(list), std::end(list),
                                        [&face](const char *name) { return face == QLatin1String(name); });
        return found == std::end(list) ? -1 : int(found - std::begin(list));
    };
    if (const int song = indexIn(songFaces); song >= 0)
        return song;
    if (const int hei = indexIn(heiFaces); hei >= 0)
        return 100 + hei;
    if (const int fallback = indexIn(fallbackFaces); fallback >= 0)
        return 300 + fallback;
    // Faces with letters of equal width set Latin text oddly in a label.
    return face.contains(QLatin1String("Mono")) ? 250 : 200;
}

// A control placed by position, not by a layout, grows until its whole text shows: a face
// taller or wider than 宋体 would cut it. Its text stays where it is aligned.
void growToShowWholeText(QWidget *control, QSize needed, Qt::Alignment alignment)
{
    QWidget *parent = control->parentWidget();
    if (!parent || control->isWindow() || (parent->layout() && parent->layout()->indexOf(control) >= 0))
        return;
    QRect area = control->geometry();
    if (const int wider = needed.width() - area.width(); wider > 0) {
        if (alignment & Qt::AlignRight)
            area.setLeft(area.left() - wider);
        else if (alignment & Qt::AlignHCenter)
            area.adjust(-wider / 2, 0, wider - wider / 2, 0);
        else
            area.setRight(area.right() + wider);
    }
    if (const int taller = needed.height() - area.height(); taller > 0) {
        if (alignment & Qt::AlignBottom)
            area.setTop(area.top() - taller);
        else if (alignment & Qt::AlignVCenter)
            area.adjust(0, -taller / 2, 0, taller - taller / 2);
        else
            area.setBottom(area.bottom() + taller);
    }
    control->setGeometry(area);
}

// The style, with the habits of the desktop the windows were designed on: Enter presses the
// focused button, and the window's default button only while no other button has the focus;
// and no text is cut, whichever face the programs draw in.
class DesignedStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void polish(QWidget *widget) override
    {
        QProxyStyle::polish(widget);
        // A default button takes Enter anyway; as an automatic one it would stop being the
        // default once the focus leaves it.
        if (auto *button = qobject_cast<QPushButton *>(widget); button && !button->isDefault())
            button->setAutoDefault(true);
        // Wrapped texts are given their room by their window.
        if (auto *label = qobject_cast<QLabel *>(widget); label && !label->wordWrap() && !label->text().isEmpty())
            growToShowWholeText(label, label->sizeHint(), label->alignment());
        if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget))
            growToShowWholeText(widget, widget->sizeHint(), Qt::AlignLeft | Qt::AlignVCenter);
    }
    using QProxyStyle::polish;
};

} // namespace

QStringList preferredChineseFaces(QStringList faces)
{
    std::stable_sort(faces.begin(), faces.end(),
                     [](const QString &a, const QString &b) { return faceRank(a) < faceRank(b); });
    return faces;
}

QStringList chineseFontFamilies()
{
    // Looked up once: the list of a language's families is built from every installed face.
    static const QStringList families = [] {
        QStringList proportional;
        for (const QString &family : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
            if (!QFontDatabase::isFixedPitch(family))
                proportional << family;
        }
        return preferredChineseFaces(proportional);
    }();
    return families;
}

QString chineseFontFamily()
{
    if (const ChineseFaceOverride *override = ChineseFaceOverride::active())
        return override->family();
    const QStringList families = chineseFontFamilies();
    return families.isEmpty() ? QString() : families.first(); // Qt's own fallback then draws the characters
}

ChineseFaceOverride::ChineseFaceOverride(QString family) : m_family(std::move(family))
{
}

ChineseFaceOverride::~ChineseFaceOverride() = default;

// The icon and the pointers are decoded once and shared: adding a picture to an icon decodes
// it at once, and the start-up alone would otherwise decode the icon's three pictures six times.
QIcon programIcon()
{
    static const QIcon icon = [] {
        QIcon pictures;
        for (const char *size : {"16", "32", "48"})
            pictures.addFile(QStringLiteral(":/platform/penguin-%1.png").arg(QLatin1String(size)));
        return pictures;
    }();
    return icon;
}

QCursor pointingHand()
{
    // Hot spot at the tip of the index finger in the picture.
    static const QCursor cursor(QPixmap(QStringLiteral(":/platform/pointing-hand.png")), 5, 0);
    return cursor;
}

QCursor mainCursor()
{
    // Hot spot at the arrow's tip in the top-left corner.
    static const QCursor cursor(QPixmap(QStringLiteral(":/platform/main-cursor.png")), 0, 0);
    return cursor;
}

QCursor penguinPointer()
{
    static const QCursor cursor(QPixmap(QStringLiteral(":/platform/penguin-16.png")));
    return cursor;
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
    window->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid rgb(30, 120, 165); border-radius: 2px; margin-top: 7px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"
                       "QLineEdit, QAbstractItemView, QComboBox { background: %1; color: black; }"
                       "QLineEdit:disabled { color: gray; }")
            .arg(fieldBackground().name()));
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
    if (QStyleFactory::keys().contains(QStringLiteral("Fusion")))
        QApplication::setStyle(new DesignedStyle(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(programIcon());
    // Every text in the one Chinese face, Latin letters included, as the windows were designed:
    // the desktop's face would take another Chinese face for the characters it lacks.
    if (const QString family = chineseFontFamily(); !family.isEmpty())
        QApplication::setFont(QFont(family, textPoints));
}

} // namespace platform::look
