#include "previewwindow.h"

#include "skinmaker/core/picturefile.h"
#include "skinmaker/words/notices.h"

#include "platform/core/winpath.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

namespace skinmaker::authoring {

using platform::look::twips;
using platform::look::twipsRect;

namespace {

QLabel *placePicture(QWidget *parent, const char *name, const QString &resource, const QRect &geometry)
{
    auto *image = platform::place<QLabel>(parent, name, geometry);
    image->setPixmap(QPixmap(resource));
    return image;
}

// A wrapped text that needs more height than its label has, in a face with wide line spacing,
// is set a point smaller at a time rather than cut.
void shrinkUntilItFits(QLabel *label)
{
    constexpr int smallestPoints = 7;
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pointSize() > smallestPoints) {
        font.setPointSize(font.pointSize() - 1);
        label->setFont(font);
    }
}

} // namespace

PreviewWindow::PreviewWindow()
{
    setObjectName(QStringLiteral("预览"));
    setWindowTitle(QStringLiteral("预览"));
    platform::look::applyWindowLook(this);
    setCursor(Qt::ArrowCursor);
    setFixedSize(twips(5415), twips(10365));

    // Created back to front: each later control lies over the earlier ones, so the four
    // fixed pictures cover the background as the panel's own parts would.
    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("Image1"));
    m_background->setGeometry(twips(600), twips(480), 0, 0);

    // Its two lines take the whole band above the title bar: most faces leave more room between
    // lines than 宋体, for which the design made the band a little higher than the notice.
    auto *label1 = new QLabel(this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(600, 0, 4215, 480));
    label1->setWordWrap(true);
    label1->setText(QStringLiteral("预览会与实际有一定的差异,由于QQ版本不同,所以显示的图片会有一些错位"));
    shrinkUntilItFits(label1);

    placePicture(this, "Image2", QStringLiteral(":/skinmaker/preview-titlebar.bmp"), twipsRect(600, 480, 4440, 840));
    placePicture(this, "Image3", QStringLiteral(":/skinmaker/preview-icons.bmp"), twipsRect(600, 1320, 375, 3345));
    placePicture(this, "Image4", QStringLiteral(":/skinmaker/preview-buttons.bmp"), twipsRect(600, 9600, 4425, 765));
    placePicture(this, "Image5", QStringLiteral(":/skinmaker/preview-scrollbar.bmp"), twipsRect(4800, 1320, 210, 8235));
}

bool PreviewWindow::load(const core::SkinLocation &location, const QString &pictureName)
{
    platform::notice(QStringLiteral("确定已经将前面的内容已经填写完毕,否则无法正常预览!"));

    const std::optional<QString> path = core::backgroundPicturePath(location, pictureName);
    if (!path) {
        platform::notice(QStringLiteral("请选择版本!"), platform::programTitle(), QMessageBox::NoIcon);
        hide();
        return false;
    }

    const LoadedPicture loaded = pictureName.isEmpty() ? LoadedPicture{{}, {core::PictureProblem::NoName, {}}}
                                                       : loadPicture(platform::nativePath(*path));
    if (loaded.picture.isNull()) {
        // The window still opens, with its own background where the picture would be.
        platform::notice(words::previewFailureNotice(*path, loaded.problem));
        return true;
    }

    // Unscaled: the control takes the picture's size, anchored at its top-left corner.
    const QPixmap picture = QPixmap::fromImage(loaded.picture);
    m_background->setPixmap(picture);
    m_background->resize(picture.deviceIndependentSize().toSize());
    return true;
}

} // namespace skinmaker::authoring
