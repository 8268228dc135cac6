#pragma once

#include <QWidget>

class QLineEdit;

namespace skinmaker::authoring {

// Form3 "按钮选项": the image names of the skin's buttons.
class ButtonOptionsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int boxCount = 28;

    ButtonOptionsWindow();

    // Text1 to Text28, numbered as the boxes are named.
    QLineEdit *box(int number) const;
    void clearBoxes();

private:
    QList<QLineEdit *> m_boxes;
};

} // namespace skinmaker::authoring
