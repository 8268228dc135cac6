#include "buttonoptionswindow.h"

#include "platform/look.h"

#include <QFormLayout>
#include <QLineEdit>

namespace skinmaker::authoring {

ButtonOptionsWindow::ButtonOptionsWindow()
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("按钮选项"));
    platform::look::applyWindowLook(this);

    auto *layout = new QFormLayout(this);
    for (int number = 1; number <= boxCount; ++number) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text%1").arg(number));
        m_boxes << edit;
        layout->addRow(edit);
    }
}

QLineEdit *ButtonOptionsWindow::box(int number) const
{
    return m_boxes.value(number - 1);
}

void ButtonOptionsWindow::clearBoxes()
{
    for (QLineEdit *edit : m_boxes)
        edit->clear();
}

} // namespace skinmaker::authoring
