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

    QLineEdit *pathBox() const { return m_pathBox; }

Q_SIGNALS:
    // 浏览: the program opens the browse window.
    void browseRequested();

private:
    void store();

    QLineEdit *m_pathBox = nullptr; // Text1
};

} // namespace musicsetter
