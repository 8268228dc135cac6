#include "skininfowindow.h"

#include "skinmaker/core/blocks.h"

#include "platform/widgets/fields.h"
#include "platform/widgets/look.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace skinmaker::authoring {

namespace {

// Top to bottom, each feeding the entry of the same place in the block.
constexpr const char16_t *rowCaptions[SkinInfoWindow::boxCount] = {
    u"皮肤名称", u"作者", u"版权", u"制作时间", u"预览图", u"说明",
};

// Room for a copyright line or a remark to be read whole.
constexpr int boxWidth = 260;

} // namespace

SkinInfoWindow::SkinInfoWindow(LocationSource location) : BlockWindow(std::move(location))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("添加版权"));
    platform::look::setFrameButtons(this, platform::look::FrameButtons::CloseOnly);
    platform::look::applyWindowLook(this);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    for (int row = 0; row < boxCount; ++row) {
        const int number = row + 1;
        auto *label = new QLabel(QString::fromUtf16(rowCaptions[row]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(number));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text%1").arg(number));
        edit->setMinimumWidth(boxWidth);
        platform::nameField(edit, label);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, 1, 2);
        m_boxes << edit;
    }

    auto *note = new QLabel(QStringLiteral("注:以上均为可选项"), this);
    note->setObjectName(QStringLiteral("Label7"));
    auto *confirmButton = new QPushButton(QStringLiteral("确定"), this);
    confirmButton->setObjectName(QStringLiteral("Command1"));
    confirmButton->setCursor(platform::look::pointingHand());
    confirmButton->setMinimumSize(97, 30);
    grid->setRowMinimumHeight(boxCount, 8);
    grid->addWidget(note, boxCount + 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(confirmButton, boxCount + 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    // A fixed frame at the size the contents need.
    grid->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    platform::look::centreOnScreen(this);

    connect(confirmButton, &QPushButton::clicked, this, &SkinInfoWindow::confirm);
}

QLineEdit *SkinInfoWindow::box(int number) const
{
    return m_boxes.value(number - 1);
}

QStringList SkinInfoWindow::block() const
{
    return core::skinInfoBlock(
        {box(1)->text(), box(2)->text(), box(3)->text(), box(4)->text(), box(5)->text(), box(6)->text()});
}

} // namespace skinmaker::authoring
