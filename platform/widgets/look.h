#pragma once

#include "platform/core/scopedoverride.h"

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// The programs' shared look: two background colours, black text, the penguin icon and
// the pointers. Sizes are given in twips as the windows were designed.
namespace platform::look {

QColor windowBackground(); // windows, frames, labels, option buttons
QColor fieldBackground(); // text boxes and file-system lists

// 15 twips are one pixel at 96 dpi; Qt scales device-independent pixels on denser screens.
// Rounds to the nearest pixel, halves away from zero, so -120 twips lie 8 pixels left as 120 lie 8 right.
constexpr int twips(int value)
{
    return value >= 0 ? (value + 7) / 15 : -((-value + 7) / 15);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// The given faces that cover Chinese, best first: the windows were designed in 宋体, so Song
// faces come first, then plain Hei faces that read well at small sizes, then any other face,
// and last the faces made only to fill gaps in others (Droid Sans Fallback).
QStringList preferredChineseFaces(QStringList faces);
// The proportional faces installed here that cover Simplified Chinese, best first.
QStringList chineseFontFamilies();
// The first of them, the programs' face (empty where none is installed).
QString chineseFontFamily();
// The size of every text the windows do not size themselves, as they were designed.
constexpr int textPoints = 9;

// While one exists, the programs take this face instead (the layout test walks every face).
class ChineseFaceOverride : public ScopedOverride<ChineseFaceOverride> {
public:
    explicit ChineseFaceOverride(QString family);
    ~ChineseFaceOverride();

    const QString &family() const { return m_family; }

private:
    QString m_family;
};

QIcon programIcon();
QCursor pointingHand(); // a hand whose hot spot is the fingertip
QCursor mainCursor(); // the main window's own 32 x 32 pointer
QCursor penguinPointer(); // the program's 16 x 16 icon as the pointer, over the about and tip windows

// The colours and the icon on a top-level window; every child inherits them.
void applyWindowLook(QWidget *window);

// The buttons of a window's title bar. None of our windows can be maximised: they keep the
// size they were designed at.
enum class FrameButtons { CloseOnly, MinimiseAndClose };
void setFrameButtons(QWidget *window, FrameButtons buttons);

// A splash window: no title bar, no place in the task bar. Such a window closes by itself, so
// notices never take it as their parent.
void makeSplash(QWidget *window);
bool isSplash(const QWidget *window);

// Centres a window of fixed size on its screen.
void centreOnScreen(QWidget *window);

// The application-wide style, face and icon, once per program start.
void applyApplicationLook();

} // namespace platform::look
