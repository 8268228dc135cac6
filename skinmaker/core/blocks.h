#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The blocks of lines the writing actions append to skin.ini. Each is a pure function of
// the texts typed into the boxes, taken exactly as typed.
namespace skinmaker::core {

// The main window's basic fields, named after the keys they feed. The boxes cross:
// "宽度 (小)" feeds minwidth, "宽度(大)" feeds minheight and "高度" feeds maxwidth.
struct BasicFields {
    QString tile; // Text1, background picture
    QString minWidth; // Text4
    QString minHeight; // Text3
    QString maxWidth; // Text2
    QString logo; // Text6, main-menu logo picture
};

// The ten lines of sections main and menu; the menu colour is fixed.
QStringList basicBlock(const BasicFields &fields);

// Which boxes of the button options window (Text1 to Text28, by number) feed the three
// images of one button section. The numbers cross from frame to frame, as the boxes were
// numbered when the window was laid out, so this table is the only place that knows them.
struct ButtonSectionBoxes {
    const char16_t *section;
    int stretch; // top row: the mouse is not over the button
    int lightStretch; // middle row: the mouse is over it
    int downStretch; // bottom row: it is pressed
};

inline constexpr std::array<ButtonSectionBoxes, 9> buttonSections{{
    // six buttons of the lower part of the main panel
    {u"button1", 1, 2, 3},
    {u"button2", 6, 5, 4},
    {u"button3", 9, 8, 7},
    {u"button4", 12, 11, 10},
    {u"button5", 15, 14, 13},
    {u"button6", 18, 17, 16},
    // three buttons of the title bar
    {u"buttont1", 21, 20, 19},
    {u"buttont2", 22, 23, 24},
    {u"buttont3", 25, 26, 27},
}};

// The scroll-bar button has a single image, the stretch entry of section folder.
inline constexpr int folderStretchBox = 28;

// The 38 lines of the ten button sections. boxTexts holds the texts of Text1, Text2, ...
// in that order; a missing text counts as empty.
QStringList buttonBlock(const QStringList &boxTexts);

// The skin's description, every entry optional.
struct SkinInfoFields {
    QString skinName; // Text1, the name shown to users (not the folder name)
    QString maker; // Text2
    QString copyright; // Text3
    QString time; // Text4, free text
    QString previewImage; // Text5
    QString remark; // Text6
};

// The seven lines of section SkinInfo.
QStringList skinInfoBlock(const SkinInfoFields &fields);

} // namespace skinmaker::core
