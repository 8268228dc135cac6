#pragma once

#include "skinwriter.h"

#include <QWidget>

class QLineEdit;

namespace skinmaker::authoring {

// Form3 "按钮选项": the image names of the skin's buttons, three a button (mouse away,
// mouse over, pressed). "确定" appends the button sections to the skin's skin.ini at the
// place the main window names at that moment, and closes the window once they are in.
class ButtonOptionsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int boxCount = 28;

    ButtonOptionsWindow();

    // Text1 to Text28, numbered as the boxes are named.
    QLineEdit *box(int number) const;
    void clearBoxes();

private:
    void confirm();

    // How notices name a box: its frames' captions and its row, e.g.
    // "面板下部按钮图片 第二个按钮 鼠标按下时的图片名称".
    struct NamedBox {
        QString caption;
        QLineEdit *edit;
    };

    QList<QLineEdit *> m_boxes;   // by number - 1
    QList<NamedBox> m_namedBoxes; // in reading order
};

} // namespace skinmaker::authoring
