#include "buttonoptionswindow.h"

#include "skinmaker/core/blocks.h"

#include "platform/widgets/fields.h"
#include "platform/widgets/look.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace skinmaker::authoring {

namespace {

// The inner frames of one outer frame, top to bottom, with the section each one feeds.
struct InnerFrame {
    const char *name;
    const char16_t *caption;
    int section; // index into buttonSections
};

constexpr InnerFrame panelButtons[] = {
    {"Frame2", u"第一个按钮", 0}, {"Frame3", u"第二个按钮", 1}, {"Frame4", u"第三个按钮", 2},
    {"Frame5", u"第四个按钮", 3}, {"Frame6", u"第五个按钮", 4}, {"Frame7", u"第六个按钮", 5},
};

constexpr InnerFrame titleBarButtons[] = {
    {"Frame9", u"第一个按钮", 6},
    {"Frame10", u"第二个按钮", 7},
    {"Frame11", u"第三个按钮", 8},
};

// Every inner frame reads top to bottom: mouse away, mouse over, pressed.
constexpr const char16_t *rowCaptions[] = {
    u"鼠标未放上去时的图片名称",
    u"鼠标放上去时的图片名称",
    u"鼠标按下时的图片名称",
};

// Wide enough for a file name to be read whole.
constexpr int boxWidth = 170;

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &title)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

} // namespace

ButtonOptionsWindow::ButtonOptionsWindow(LocationSource location) : BlockWindow(std::move(location))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("按钮选项"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);

    m_boxes.resize(boxCount);
    int labelNumber = 0;

    // One labelled box on a row of a frame's grid. The row captions repeat from frame to
    // frame, so the frames' captions are part of the box's name, e.g.
    // "面板下部按钮图片 第二个按钮 鼠标按下时的图片名称".
    auto addRow = [&](QGroupBox *frame, QGridLayout *grid, int row, const QString &rowCaption, int boxNumber,
                      const QStringList &frames) {
        auto *label = new QLabel(rowCaption, frame);
        label->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
        auto *edit = new QLineEdit(frame);
        edit->setObjectName(QStringLiteral("Text%1").arg(boxNumber));
        edit->setMinimumWidth(boxWidth);
        platform::nameField(edit, label, frames);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        m_boxes[boxNumber - 1] = edit;
        m_readingOrder << edit;
    };

    auto addInnerFrames = [&](QGroupBox *outer, const InnerFrame *first, const InnerFrame *last) {
        auto *column = new QVBoxLayout(outer);
        for (const InnerFrame *inner = first; inner != last; ++inner) {
            const QString caption = QString::fromUtf16(inner->caption);
            QGroupBox *frame = makeFrame(outer, inner->name, caption);
            auto *grid = new QGridLayout(frame);
            grid->setVerticalSpacing(4);
            const core::ButtonSectionBoxes &boxes = core::buttonSections.at(inner->section);
            const int rowBoxes[] = {boxes.stretch, boxes.lightStretch, boxes.downStretch};
            for (int row = 0; row < 3; ++row) {
                const QString rowCaption = QString::fromUtf16(rowCaptions[row]);
                addRow(frame, grid, row, rowCaption, rowBoxes[row], {outer->title(), caption});
            }
            column->addWidget(frame);
        }
    };

    QGroupBox *frame1 = makeFrame(this, "Frame1", QStringLiteral("面板下部按钮图片"));
    addInnerFrames(frame1, std::begin(panelButtons), std::end(panelButtons));

    QGroupBox *frame8 = makeFrame(this, "Frame8", QStringLiteral("标题栏按钮图片"));
    addInnerFrames(frame8, std::begin(titleBarButtons), std::end(titleBarButtons));

    QGroupBox *frame12 = makeFrame(this, "Frame12", QStringLiteral("滚动条按钮图片"));
    auto *scrollBarGrid = new QGridLayout(frame12);
    addRow(frame12, scrollBarGrid, 0, QStringLiteral("图片名称"), core::folderStretchBox, {frame12->title()});
    scrollBarGrid->setColumnStretch(1, 1);

    auto *confirmButton = new QPushButton(QStringLiteral("确定"), this);
    confirmButton->setObjectName(QStringLiteral("Command1"));
    confirmButton->setCursor(platform::look::pointingHand());
    confirmButton->setMinimumSize(97, 30);

    auto *right = new QVBoxLayout;
    right->addWidget(frame8);
    right->addWidget(frame12);
    right->addStretch(1);
    right->addWidget(confirmButton, 0, Qt::AlignRight);

    auto *columns = new QHBoxLayout(this);
    columns->addWidget(frame1, 1);
    columns->addLayout(right, 1);
    // A fixed frame at the size the contents need.
    columns->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    platform::look::centreOnScreen(this);

    connect(confirmButton, &QPushButton::clicked, this, &ButtonOptionsWindow::confirm);
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

QStringList ButtonOptionsWindow::block() const
{
    QStringList texts;
    for (const QLineEdit *edit : m_boxes)
        texts << edit->text();
    return core::buttonBlock(texts);
}

} // namespace skinmaker::authoring
