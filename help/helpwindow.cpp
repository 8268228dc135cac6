#include "helpwindow.h"

#include "topics.h"

#include "platform/widgets/look.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace help {

using platform::look::twips;
using platform::look::twipsRect;

namespace {

// The buttons stand in one column, equal in size, at equal steps below the frame's caption.
constexpr int buttonLeft = 180;
constexpr int firstButtonTop = 420;
constexpr int buttonStep = 870;
constexpr int buttonWidth = 1455;
constexpr int buttonHeight = 495;

} // namespace

HelpWindow::HelpWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("帮助"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::MinimiseAndClose);
    platform::look::applyWindowLook(this);
    // Fixed frame, sized so the longest topic fits the text area without scrolling.
    setFixedSize(twips(8280), twips(5040));

    auto *frame1 = new QGroupBox(QStringLiteral("选项"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twipsRect(120, 120, 1815, 4800));

    m_topicText = new QLabel(this);
    m_topicText->setObjectName(QStringLiteral("Label1"));
    m_topicText->setGeometry(twipsRect(2115, 240, 6045, 4620));
    m_topicText->setTextFormat(Qt::PlainText);
    m_topicText->setWordWrap(true);
    m_topicText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_topicText->setTextInteractionFlags(Qt::NoTextInteraction);

    int top = firstButtonTop;
    for (const Topic &topic : topics()) {
        auto *button = new QPushButton(topic.caption, frame1);
        button->setObjectName(QLatin1String(topic.buttonName));
        button->setGeometry(twipsRect(buttonLeft, top, buttonWidth, buttonHeight));
        button->setCursor(platform::look::pointingHand());
        // Each click replaces what the text area showed; nothing else happens.
        const QString text = topic.text;
        connect(button, &QPushButton::clicked, m_topicText, [this, text] { m_topicText->setText(text); });
        top += buttonStep;
    }
}

} // namespace help
