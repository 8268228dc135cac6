#pragma once

#include <QString>
#include <QStringList>

// The blocks of lines the writing actions append to skin.ini. Each is a pure function of
// the texts typed into the boxes, taken exactly as typed.
namespace skinmaker::authoring {

// The main window's basic fields, named after the keys they feed. The boxes cross:
// "宽度 (小)" feeds minwidth, "宽度(大)" feeds minheight and "高度" feeds maxwidth.
struct BasicFields {
    QString tile;       // Text1, background picture
    QString minWidth;   // Text4
    QString minHeight;  // Text3
    QString maxWidth;   // Text2
    QString logo;       // Text6, main-menu logo picture
};

// The ten lines of sections main and menu; the menu colour is fixed.
QStringList basicBlock(const BasicFields &fields);

} // namespace skinmaker::authoring
