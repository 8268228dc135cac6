#include "previewwindow.h"

#include "platform/look.h"
#include "platform/notice.h"
#include "platform/placement.h"
#include "platform/singlewindow.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QtEndian>

#include <climits>

namespace skinmaker::authoring {

using platform::look::twips;
using platform::look::twipsRect;

namespace {

// The reader's allocation limit is shared by the whole program: hold ours only while
// the background is read.
class AllocationLimit {
public:
    explicit AllocationLimit(int megabytes) : m_previous(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_previous); }
    AllocationLimit(const AllocationLimit &) = delete;
    AllocationLimit &operator=(const AllocationLimit &) = delete;

private:
    int m_previous;
};

// The size a bitmap or PNG header claims. The reader declines to tell the size of such
// pictures when it is absurdly large, which is exactly when the user should hear so.
QSize sizeClaimedByHeader(const QByteArray &header)
{
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    if (header.startsWith("BM") && header.size() >= 26) {
        if (qFromLittleEndian<quint32>(bytes + 14) == 12)  // the oldest header has 16-bit sizes
            return QSize(qFromLittleEndian<quint16>(bytes + 18), qFromLittleEndian<quint16>(bytes + 20));
        // A negative height marks rows stored top-down.
        const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 22)));
        return QSize(qFromLittleEndian<qint32>(bytes + 18), int(qMin<qint64>(height, INT_MAX)));
    }
    if (header.startsWith("\x89PNG\r\n\x1a\n") && header.size() >= 24 && header.mid(12, 4) == "IHDR") {
        const quint32 width = qFromBigEndian<quint32>(bytes + 16);
        const quint32 height = qFromBigEndian<quint32>(bytes + 20);
        return QSize(int(qMin<quint32>(width, INT_MAX)), int(qMin<quint32>(height, INT_MAX)));
    }
    return {};
}

QLabel *placePicture(QWidget *parent, const char *name, const QString &resource, const QRect &geometry)
{
    auto *image = platform::place<QLabel>(parent, name, geometry);
    image->setPixmap(QPixmap(resource));
    return image;
}

} // namespace

std::optional<QString> backgroundPicturePath(const SkinLocation &location, const QString &pictureName)
{
    const std::optional<QString> folder = skinFolder(location);
    if (!folder)
        return std::nullopt;
    return *folder + u'\\' + pictureName;
}

LoadedPicture loadPicture(const QString &fileName)
{
    const QFileInfo file(fileName);
    if (!file.exists()) {
        if (!file.dir().exists())
            return {{}, QStringLiteral("皮肤文件夹不存在")};
        return {{}, QStringLiteral("找不到这个文件")};
    }
    // Only a plain file: a folder has no picture, and a pipe or device could block the program.
    if (!file.isFile())
        return {{}, QStringLiteral("这不是一个文件")};

    // The widest pixels the reader decodes into take 8 bytes (16 bits a channel).
    const AllocationLimit limit(int(backgroundPixelLimit * 8 / (1024 * 1024)));
    QImageReader reader(fileName);
    // By content, as the file name's extension need not match what the file holds.
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        if (reader.error() == QImageReader::DeviceError)
            return {{}, QStringLiteral("文件无法打开")};
        return {{}, QStringLiteral("这不是可以读取的图片文件(可以使用BMP、GIF、JPEG或PNG图片)")};
    }

    // Refuse by the size the header claims, before anything is decoded.
    QSize claimed = reader.size();
    if (!claimed.isValid()) {
        QFile header(fileName);
        if (header.open(QIODevice::ReadOnly))
            claimed = sizeClaimedByHeader(header.read(32));
    }
    if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > backgroundPixelLimit) {
        return {{}, QStringLiteral("图片太大(宽%1像素,高%2像素),预览最多只能显示约%3万像素的图片")
                        .arg(claimed.width())
                        .arg(claimed.height())
                        .arg(backgroundPixelLimit / 10000)};
    }

    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return {{}, QStringLiteral("图片数据已损坏,无法读取")};
    return {picture, {}};
}

PreviewWindow::PreviewWindow()
{
    setObjectName(QStringLiteral("预览"));
    setWindowTitle(QStringLiteral("预览"));
    platform::look::applyWindowLook(this);
    setCursor(Qt::ArrowCursor);
    setFixedSize(twips(5415), twips(10365));

    // Created back to front: each later control lies over the earlier ones, so the four
    // fixed pictures cover the background as the panel's own parts would.
    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(twips(600), twips(480), 0, 0);

    auto *label1 = new QLabel(this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(600, 0, 4215, 375));
    label1->setWordWrap(true);
    label1->setText(QStringLiteral("预览会与实际有一定的差异,由于QQ版本不同,所以显示的图片会有一些错位"));

    placePicture(this, "Image2", QStringLiteral(":/skinmaker/preview-titlebar.bmp"), twipsRect(600, 480, 4440, 840));
    placePicture(this, "Image3", QStringLiteral(":/skinmaker/preview-icons.bmp"), twipsRect(600, 1320, 375, 3345));
    placePicture(this, "Image4", QStringLiteral(":/skinmaker/preview-buttons.bmp"), twipsRect(600, 9600, 4425, 765));
    placePicture(this, "Image5", QStringLiteral(":/skinmaker/preview-scrollbar.bmp"), twipsRect(4800, 1320, 210, 8235));
}

bool PreviewWindow::load(const SkinLocation &location, const QString &pictureName)
{
    platform::notice(QStringLiteral("确定已经将前面的内容已经填写完毕,否则无法正常预览!"));

    const std::optional<QString> path = backgroundPicturePath(location, pictureName);
    if (!path) {
        platform::notice(QStringLiteral("请选择版本!"), platform::programTitle(), QMessageBox::NoIcon);
        hide();
        return false;
    }

    const LoadedPicture loaded = pictureName.isEmpty()
        ? LoadedPicture{{}, QStringLiteral("没有输入背景图片名称")}
        : loadPicture(platform::nativePath(*path));
    if (loaded.picture.isNull()) {
        // The window still opens, with its own background where the picture would be.
        platform::notice(QStringLiteral("无法显示背景图片") + *path + QStringLiteral("\n原因:") + loaded.problem
                         + QStringLiteral("\n预览中将不显示背景图片."));
        return true;
    }

    // Unscaled: the control takes the picture's size, anchored at its top-left corner.
    const QPixmap picture = QPixmap::fromImage(loaded.picture);
    m_image1->setPixmap(picture);
    m_image1->resize(picture.deviceIndependentSize().toSize());
    return true;
}

void showPreview(const SkinLocation &location, const QString &pictureName)
{
    using Preview = platform::SingleWindow<PreviewWindow>;
    // An existing window, shown or hidden, is only brought forward: its picture stays.
    if (Preview::existing()) {
        Preview::show();
        return;
    }
    if (Preview::get()->load(location, pictureName))
        Preview::show();
}

} // namespace skinmaker::authoring
