#pragma once

#include <QWidget>

class QLabel;

namespace help {

// Form1, the help window: a frame of topic buttons on the left and, beside it, the text
// area that shows the last chosen topic.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow();

private:
    QLabel *m_topicText = nullptr; // Label1
};

} // namespace help
