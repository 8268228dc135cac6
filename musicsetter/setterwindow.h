#pragma once

#include <QWidget>

class QLineEdit;

namespace musicsetter {

// Form1, the setter window: the path of a music file, typed, pasted or picked in the browse
// window, stored as the main program's background tune by 确定.
class SetterWindow : public QWidget {
    Q_OBJECT
public:
    SetterWindow();

    QLineEdit *pathBox() const { return m_text1; }

private:
    void store();

    QLineEdit *m_text1 = nullptr;
};

} // namespace musicsetter
