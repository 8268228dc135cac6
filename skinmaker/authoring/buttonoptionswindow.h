#pragma once

#include "blockwindow.h"

class QLineEdit;

namespace skinmaker::authoring {

// Form3 "按钮选项": the image names of the skin's buttons, three a button (mouse away,
// mouse over, pressed). "确定" appends the button sections to the skin's skin.ini at the
// place the main window names at that moment, and closes the window once they are in.
class ButtonOptionsWindow : public BlockWindow {
    Q_OBJECT
public:
    static constexpr int boxCount = 28;

    explicit ButtonOptionsWindow(LocationSource location);

    // Text1 to Text28, numbered as the boxes are named.
    QLineEdit *box(int number) const;
    void clearBoxes();

protected:
    QStringList block() const override;
    QList<QLineEdit *> fieldBoxes() const override { return m_readingOrder; }

private:
    QList<QLineEdit *> m_boxes; // by number - 1
    QList<QLineEdit *> m_readingOrder; // frame by frame, top to bottom
};

} // namespace skinmaker::authoring
