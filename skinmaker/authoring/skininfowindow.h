#pragma once

#include "blockwindow.h"

class QLineEdit;

namespace skinmaker::authoring {

// Form5 "添加版权": the skin's description (name shown to users, author, copyright,
// time, preview image, remark). "确定" appends section SkinInfo to the skin's skin.ini at
// the place the main window names at that moment, and closes the window once it is in.
class SkinInfoWindow : public BlockWindow {
    Q_OBJECT
public:
    static constexpr int boxCount = 6;

    explicit SkinInfoWindow(LocationSource location);

    // Text1 to Text6.
    QLineEdit *box(int number) const;

protected:
    QStringList block() const override;
    QList<QLineEdit *> fieldBoxes() const override { return m_boxes; }

private:
    QList<QLineEdit *> m_boxes;
};

} // namespace skinmaker::authoring
