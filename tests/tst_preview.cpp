// The preview window: the background picture found by the location rule, the fixed panel
// pictures over it, and how the menu command opens, reopens and rebuilds it.
#include "skinmaker/authoring/previewwindow.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/winpath.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "pictures.h"
#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtEndian>

using skinmaker::authoring::PreviewWindow;
using skinmaker::core::QQVersion;
using skinmaker::core::SkinLocation;
using skinmaker::shell::MainWindow;
using testsupport::appendLe16;
using testsupport::bitmapHeaderOnly;
using testsupport::encodeGif;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QString filledInNotice = QStringLiteral("确定已经将前面的内容已经填写完毕,否则无法正常预览!");

// Colours that survive every format's palette and compression: four quadrants.
QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y,
                           right ? (bottom ? qRgb(0, 0, 255) : qRgb(255, 0, 0))
                                 : (bottom ? qRgb(255, 255, 0) : qRgb(0, 160, 0)));
        }
    }
    return image;
}

bool closeTo(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) < 40 && qAbs(qGreen(a) - qGreen(b)) < 40 && qAbs(qBlue(a) - qBlue(b)) < 40;
}

struct MainFields {
    QStringList texts;
    bool option1 = false;
    bool option2 = false;
    bool operator==(const MainFields &) const = default;
};

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void picturePathFollowsTheLocationRule_data();
    void picturePathFollowsTheLocationRule();

    void showsTheBackgroundUnscaled_data();
    void showsTheBackgroundUnscaled();
    void fixedPicturesCoverTheBackground();
    void smallBackgroundLeavesTheWindowColour();

    void reopeningOnlyBringsTheWindowForward();
    void closedWindowIsRebuiltWithTheNewPicture();
    void noVersionHidesTheWindowUntilShownAgain();

    void unloadablePictureLeavesAnEmptyBackground_data();
    void unloadablePictureLeavesAnEmptyBackground();
    void hugePictureIsRefusedQuickly_data();
    void hugePictureIsRefusedQuickly();
    void pictureJustWithinTheLimitLoads_data();
    void pictureJustWithinTheLimitLoads();

private:
    MainWindow *form1() const { return m_session.form1(); }
    PreviewWindow *preview() const { return testsupport::existingWindow<PreviewWindow>(); }
    QLineEdit *box(const char *name) const { return m_session.box(name); }
    void fill(const QString &installPath, const QString &skinName, const QString &picture, const char *option);
    QString skinFolder(const char *versionFolder) const;
    MainFields mainFields() const;

    testsupport::SkinmakerSession m_session;
};

void PreviewTest::init()
{
    m_session.start();
    QVERIFY(form1());
}

void PreviewTest::cleanup()
{
    m_session.finish();
    QVERIFY(!preview());
}

void PreviewTest::fill(const QString &installPath, const QString &skinName, const QString &picture, const char *option)
{
    m_session.fillLocation(installPath, skinName, option);
    box("Text1")->setText(picture);
}

QString PreviewTest::skinFolder(const char *versionFolder) const
{
    return m_session.install() + u'/' + QLatin1String(versionFolder) + QStringLiteral("/蓝天");
}

MainFields PreviewTest::mainFields() const
{
    MainFields fields;
    for (int number = 1; number <= 8; ++number)
        fields.texts << box(qPrintable(QStringLiteral("Text%1").arg(number)))->text();
    fields.option1 = form1()->findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked();
    fields.option2 = form1()->findChild<QRadioButton *>(QStringLiteral("Option2"))->isChecked();
    return fields;
}

void PreviewTest::picturePathFollowsTheLocationRule_data()
{
    QTest::addColumn<QString>("installPath");
    QTest::addColumn<QString>("skinName");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("expected"); // empty: no path

    const QString install = MainWindow::defaultInstallPath;
    QTest::newRow("2003") << install << QStringLiteral("蓝天") << int(QQVersion::Qq2003) << QStringLiteral("bg.bmp")
                          << QStringLiteral("C:\\Program Files\\Tencent\\qq\\skins\\蓝天\\bg.bmp");
    QTest::newRow("2004") << install << QStringLiteral("蓝天") << int(QQVersion::Qq2004) << QStringLiteral("bg.bmp")
                          << QStringLiteral("C:\\Program Files\\Tencent\\qq\\NewSkins\\蓝天\\bg.bmp");
    QTest::newRow("install path ending in a separator")
        << QStringLiteral("D:\\QQ\\") << QStringLiteral("sky") << int(QQVersion::Qq2004) << QStringLiteral("a b.JPG")
        << QStringLiteral("D:\\QQ\\\\NewSkins\\sky\\a b.JPG");
    QTest::newRow("nothing trimmed, no extension added")
        << QStringLiteral(" E:\\q ") << QString() << int(QQVersion::Qq2003) << QStringLiteral(" bg ")
        << QStringLiteral(" E:\\q \\skins\\\\ bg ");
    QTest::newRow("empty picture name ends in a separator")
        << install << QStringLiteral("蓝天") << int(QQVersion::Qq2003) << QString()
        << QStringLiteral("C:\\Program Files\\Tencent\\qq\\skins\\蓝天\\");
    QTest::newRow("no version") << install << QStringLiteral("蓝天") << int(QQVersion::NotChosen)
                                << QStringLiteral("bg.bmp") << QString();
}

void PreviewTest::picturePathFollowsTheLocationRule()
{
    QFETCH(QString, installPath);
    QFETCH(QString, skinName);
    QFETCH(int, version);
    QFETCH(QString, picture);
    QFETCH(QString, expected);

    const std::optional<QString> path =
        skinmaker::core::backgroundPicturePath(SkinLocation{installPath, skinName, QQVersion(version)}, picture);
    QCOMPARE(path.has_value(), !expected.isEmpty());
    if (path)
        QCOMPARE(*path, expected);
}

void PreviewTest::showsTheBackgroundUnscaled_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("trailingSeparator");
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<int>("width");

    QTest::newRow("bitmap, 2004") << QStringLiteral("BMP") << QStringLiteral("bg.bmp") << false << QByteArray("Option2")
                                  << 150;
    QTest::newRow("GIF, 2003") << QStringLiteral("GIF") << QStringLiteral("背景.gif") << false << QByteArray("Option1")
                               << 150;
    QTest::newRow("JPEG, install path ending in a separator")
        << QStringLiteral("JPEG") << QStringLiteral("bg.jpg") << true << QByteArray("Option2") << 150;
    QTest::newRow("PNG under a bitmap's name")
        << QStringLiteral("PNG") << QStringLiteral("bg.bmp") << false << QByteArray("Option1") << 150;
    // Wide enough that its height read as unsigned (65536 - 90) would pass the pixel limit.
    QTest::newRow("oldest bitmap header, rows top-down")
        << QStringLiteral("old top-down BMP") << QStringLiteral("bg.bmp") << false << QByteArray("Option2") << 300;
}

void PreviewTest::showsTheBackgroundUnscaled()
{
    QFETCH(QString, format);
    QFETCH(QString, fileName);
    QFETCH(bool, trailingSeparator);
    QFETCH(QByteArray, option);
    QFETCH(int, width);

    const QImage picture = quadrants(width, 90);
    const QString folder = skinFolder(option == "Option1" ? "skins" : "NewSkins");
    const QString file = folder + u'/' + fileName;
    if (format == u"GIF")
        QVERIFY(writeBytes(file, encodeGif(picture)));
    else if (format == u"old top-down BMP")
        QVERIFY(writeBytes(file, testsupport::encodeOldTopDownBitmap(picture)));
    else
        QVERIFY(picture.save(file, qPrintable(format)));

    fill(m_session.install() + (trailingSeparator ? QStringLiteral("\\") : QString()), QStringLiteral("蓝天"), fileName,
         option.constData());
    const MainFields before = mainFields();
    TRIGGER(form1(), "ASSDFGHJKL");

    QCOMPARE(m_session.notices().texts(), QStringList{filledInNotice});
    QCOMPARE(m_session.notices().records().first().title, QStringLiteral("提示"));
    QCOMPARE(m_session.notices().records().first().icon, QMessageBox::Information);
    QVERIFY(preview());
    QVERIFY(preview()->isVisible());
    QCOMPARE(mainFields(), before);

    FIND(QLabel, image1, preview(), "Image1");
    QCOMPARE(image1->geometry(), QRect(40, 32, width, 90));
    const QImage shown = image1->pixmap().toImage();
    QCOMPARE(shown.size(), QSize(width, 90));
    const int right = width - 10;
    for (const QPoint &point : {QPoint(10, 10), QPoint(right, 10), QPoint(10, 80), QPoint(right, 80)})
        QVERIFY2(
            closeTo(shown.pixel(point), picture.pixel(point)),
            qPrintable(QStringLiteral("%1 at %2,%3").arg(shown.pixel(point), 0, 16).arg(point.x()).arg(point.y())));
}

void PreviewTest::fixedPicturesCoverTheBackground()
{
    // The default install path lands in the Wine prefix; a picture wider and taller than
    // the window is cut off at its edges.
    const QString folder = platform::winePrefix() + QStringLiteral("/drive_c/Program Files/Tencent/qq/NewSkins/蓝天");
    QVERIFY(QDir().mkpath(folder));
    const QImage picture = quadrants(500, 800);
    QVERIFY(picture.save(folder + QStringLiteral("/bg.bmp")));
    fill(MainWindow::defaultInstallPath, QStringLiteral("蓝天"), QStringLiteral("bg.bmp"), "Option2");
    TRIGGER(form1(), "ASSDFGHJKL");
    QCOMPARE(m_session.notices().texts(), QStringList{filledInNotice});

    PreviewWindow *window = preview();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("预览"));
    QCOMPARE(window->windowTitle(), QStringLiteral("预览"));
    QCOMPARE(window->size(), QSize(361, 691));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->windowIcon().pixmap(16, 16).toImage(), platform::look::programIcon().pixmap(16, 16).toImage());
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->palette().color(QPalette::Window), QColor(63, 197, 254));

    FIND(QLabel, label1, window, "Label1");
    QCOMPARE(label1->text(), QStringLiteral("预览会与实际有一定的差异,由于QQ版本不同,所以显示的图片会有一些错位"));
    QCOMPARE(label1->geometry(), platform::look::twipsRect(600, 0, 4215, 480));

    FIND(QLabel, image1, window, "Image1");
    QCOMPARE(image1->geometry(), QRect(40, 32, 500, 800));

    const struct {
        const char *name;
        const char *resource;
        QRect geometry;
    } fixed[] = {
        {"Image2", ":/skinmaker/preview-titlebar.bmp", QRect(40, 32, 296, 56)},
        {"Image3", ":/skinmaker/preview-icons.bmp", QRect(40, 88, 25, 223)},
        {"Image4", ":/skinmaker/preview-buttons.bmp", QRect(40, 640, 295, 51)},
        {"Image5", ":/skinmaker/preview-scrollbar.bmp", QRect(320, 88, 14, 549)},
    };
    const QImage screen = window->grab().toImage();
    for (const auto &part : fixed) {
        auto *image = window->findChild<QLabel *>(QLatin1String(part.name));
        QVERIFY2(image, part.name);
        QCOMPARE(image->geometry(), part.geometry);
        const QImage artwork(QLatin1String(part.resource));
        QVERIFY(!artwork.isNull());
        QCOMPARE(artwork.size(), part.geometry.size());
        QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 artwork.convertToFormat(QImage::Format_RGB32));
        // In front of the background: the window shows the artwork, not the picture.
        const QPoint inside = part.geometry.center();
        QCOMPARE(window->childAt(inside), image);
        QCOMPARE(screen.pixel(inside), artwork.pixel(inside - part.geometry.topLeft()));
    }

    // Stacking order from the back: Image1, Label1, Image2 to Image5.
    QStringList order;
    for (QObject *child : window->children()) {
        if (child->isWidgetType())
            order << child->objectName();
    }
    QCOMPARE(order,
             (QStringList{QStringLiteral("Image1"), QStringLiteral("Label1"), QStringLiteral("Image2"),
                          QStringLiteral("Image3"), QStringLiteral("Image4"), QStringLiteral("Image5")}));

    // Where nothing covers it the picture shows unscaled, up to the window's edges.
    for (const QPoint &point : {QPoint(200, 300), QPoint(360, 400), QPoint(200, 639), QPoint(350, 690)}) {
        QCOMPARE(window->childAt(point), image1);
        QCOMPARE(screen.pixel(point), picture.pixel(point - QPoint(40, 32)));
    }
    QCOMPARE(screen.size(), QSize(361, 691));
}

void PreviewTest::smallBackgroundLeavesTheWindowColour()
{
    QVERIFY(quadrants(50, 40).save(skinFolder("skins") + QStringLiteral("/bg.bmp")));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("bg.bmp"), "Option1");
    TRIGGER(form1(), "ASSDFGHJKL");

    const QImage screen = preview()->grab().toImage();
    QCOMPARE(preview()->childAt(QPoint(200, 300)), nullptr);
    QCOMPARE(QColor(screen.pixel(200, 300)), QColor(63, 197, 254));
    QCOMPARE(QColor(screen.pixel(10, 300)), QColor(63, 197, 254));
}

void PreviewTest::reopeningOnlyBringsTheWindowForward()
{
    QVERIFY(quadrants(120, 70).save(skinFolder("NewSkins") + QStringLiteral("/one.bmp")));
    QVERIFY(quadrants(60, 30).save(skinFolder("NewSkins") + QStringLiteral("/two.bmp")));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("one.bmp"), "Option2");
    TRIGGER(form1(), "ASSDFGHJKL");
    PreviewWindow *first = preview();
    QVERIFY(first);
    QCOMPARE(m_session.notices().texts(), QStringList{filledInNotice});
    m_session.notices().clear();

    // Open again, shown and then hidden: the same window, neither notice nor reload.
    box("Text1")->setText(QStringLiteral("two.bmp"));
    TRIGGER(form1(), "ASSDFGHJKL");
    QCOMPARE(preview(), first);
    first->hide();
    TRIGGER(form1(), "ASSDFGHJKL");
    QCOMPARE(preview(), first);
    QVERIFY(first->isVisible());
    QVERIFY(m_session.notices().records().isEmpty());
    QCOMPARE(first->background()->size(), QSize(120, 70));
}

void PreviewTest::closedWindowIsRebuiltWithTheNewPicture()
{
    QVERIFY(quadrants(120, 70).save(skinFolder("NewSkins") + QStringLiteral("/one.bmp")));
    QVERIFY(quadrants(60, 30).save(skinFolder("skins") + QStringLiteral("/two.bmp")));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("one.bmp"), "Option2");
    TRIGGER(form1(), "ASSDFGHJKL");
    QPointer<PreviewWindow> first = preview();
    QCOMPARE(first->background()->size(), QSize(120, 70));

    // The frame's close box destroys it with its picture.
    QVERIFY(first->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!preview());

    m_session.notices().clear();
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("two.bmp"), "Option1");
    TRIGGER(form1(), "ASSDFGHJKL");
    QVERIFY(preview() && preview()->isVisible());
    QCOMPARE(m_session.notices().texts(), QStringList{filledInNotice});
    QCOMPARE(preview()->background()->size(), QSize(60, 30));
}

void PreviewTest::noVersionHidesTheWindowUntilShownAgain()
{
    QVERIFY(quadrants(120, 70).save(skinFolder("NewSkins") + QStringLiteral("/bg.bmp")));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("bg.bmp"), nullptr);
    const MainFields before = mainFields();
    TRIGGER(form1(), "ASSDFGHJKL");

    QCOMPARE(m_session.notices().texts(), (QStringList{filledInNotice, QStringLiteral("请选择版本!")}));
    const platform::NoticeRecord &version = m_session.notices().records().at(1);
    QCOMPARE(version.title, QStringLiteral("Morvane"));
    QCOMPARE(version.icon, QMessageBox::NoIcon);
    QCOMPARE(version.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // Hidden, not destroyed, and empty.
    QPointer<PreviewWindow> window = preview();
    QVERIFY(window);
    QVERIFY(window->isHidden());
    QVERIFY(window->background()->pixmap().isNull());
    QCOMPARE(mainFields(), before);

    // The next command shows it as it is, without the load steps.
    m_session.notices().clear();
    form1()->findChild<QRadioButton *>(QStringLiteral("Option2"))->setChecked(true);
    TRIGGER(form1(), "ASSDFGHJKL");
    QCOMPARE(preview(), window.data());
    QVERIFY(window->isVisible());
    QVERIFY(m_session.notices().records().isEmpty());
    QVERIFY(window->background()->pixmap().isNull());
}

void PreviewTest::unloadablePictureLeavesAnEmptyBackground_data()
{
    QTest::addColumn<QString>("skinName");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("content"); // written as the picture unless empty
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << QStringLiteral("蓝天") << QStringLiteral("bg.bmp") << QByteArray()
                                  << QStringLiteral("找不到这个文件");
    QTest::newRow("missing skin folder") << QStringLiteral("白云") << QStringLiteral("bg.bmp") << QByteArray()
                                         << QStringLiteral("皮肤文件夹不存在");
    QTest::newRow("empty picture name") << QStringLiteral("蓝天") << QString() << QByteArray()
                                        << QStringLiteral("没有输入背景图片名称");
    QTest::newRow("folder under the picture's name") << QStringLiteral("蓝天") << QStringLiteral("bg.bmp")
                                                     << QByteArray("<folder>") << QStringLiteral("这不是一个文件");
    QTest::newRow("text file") << QStringLiteral("蓝天") << QStringLiteral("bg.bmp")
                               << QByteArray("[main]\r\ntile=bg.bmp\r\n")
                               << QStringLiteral("这不是可以读取的图片文件(可以使用BMP、GIF、JPEG或PNG图片)");
    QByteArray badBitmap = bitmapHeaderOnly(100, 100);
    badBitmap[28] = 7; // no such colour depth
    badBitmap.append(QByteArray(30000, '\x55'));
    QTest::newRow("corrupt bitmap") << QStringLiteral("蓝天") << QStringLiteral("bg.bmp") << badBitmap
                                    << QStringLiteral("图片数据已损坏,无法读取");
    QTest::newRow("corrupt JPEG") << QStringLiteral("蓝天") << QStringLiteral("bg.jpg")
                                  << (QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(4000, '\x13'))
                                  << QStringLiteral("图片数据已损坏,无法读取");
}

void PreviewTest::unloadablePictureLeavesAnEmptyBackground()
{
    QFETCH(QString, skinName);
    QFETCH(QString, picture);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);

    const QString file = skinFolder("skins") + u'/' + picture;
    if (content == "<folder>")
        QVERIFY(QDir().mkpath(file));
    else if (!content.isEmpty())
        QVERIFY(writeBytes(file, content));
    const QByteArray bytesBefore = QFileInfo(file).isFile() ? readBytes(file) : QByteArray();

    fill(m_session.install(), skinName, picture, "Option1");
    const MainFields before = mainFields();
    TRIGGER(form1(), "ASSDFGHJKL");

    const QString windowsPath = m_session.install() + QStringLiteral("\\skins\\") + skinName + u'\\' + picture;
    QCOMPARE(m_session.notices().texts(),
             (QStringList{filledInNotice,
                          QStringLiteral("无法显示背景图片") + windowsPath + QStringLiteral("\n原因:") + reason
                              + QStringLiteral("\n预览中将不显示背景图片.")}));
    QCOMPARE(m_session.notices().records().at(1).title, QStringLiteral("提示"));
    QCOMPARE(m_session.notices().records().at(1).icon, QMessageBox::Information);

    QVERIFY(preview() && preview()->isVisible());
    QVERIFY(preview()->background()->pixmap().isNull());
    QCOMPARE(preview()->background()->size(), QSize(0, 0));
    QCOMPARE(QColor(preview()->grab().toImage().pixel(200, 300)), QColor(63, 197, 254));
    QCOMPARE(mainFields(), before);
    QVERIFY(form1()->isVisible());
    if (!bytesBefore.isEmpty())
        QCOMPARE(readBytes(file), bytesBefore);
    QVERIFY(!QFileInfo::exists(skinFolder("skins") + QStringLiteral("/skin.ini")));
}

void PreviewTest::hugePictureIsRefusedQuickly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("claimed");

    // A few bytes whose header claims a picture of gigabytes once decoded.
    QTest::newRow("bitmap") << bitmapHeaderOnly(30000, 30000) << QStringLiteral("宽30000像素,高30000像素");
    QTest::newRow("bitmap stored top-down")
        << bitmapHeaderOnly(20000, -20000) << QStringLiteral("宽20000像素,高20000像素");
    QTest::newRow("bitmap the reader still sizes")
        << bitmapHeaderOnly(16000, 16000) << QStringLiteral("宽16000像素,高16000像素");
    QTest::newRow("PNG") << testsupport::pngHeaderOnly(30000, 30000) << QStringLiteral("宽30000像素,高30000像素");
    QByteArray gif("GIF89a");
    appendLe16(gif, 60000);
    appendLe16(gif, 60000);
    gif.append(QByteArray(3, '\0')).append(char(0x2c));
    for (int value : {0, 0, 60000, 60000})
        appendLe16(gif, value);
    gif.append(char(0)).append(char(7));
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(small.save(&buffer, "JPEG"));
    QByteArray jpeg = buffer.data();
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    QVERIFY(frame > 0);
    jpeg[frame + 5] = char(0x75); // height 30000, big-endian
    jpeg[frame + 6] = char(0x30);
    jpeg[frame + 7] = char(0x75); // width 30000
    jpeg[frame + 8] = char(0x30);
    QTest::newRow("JPEG") << jpeg << QStringLiteral("宽30000像素,高30000像素");
    QTest::newRow("GIF") << gif << QStringLiteral("宽60000像素,高60000像素");
}

void PreviewTest::hugePictureIsRefusedQuickly()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, claimed);

    QVERIFY(writeBytes(skinFolder("NewSkins") + QStringLiteral("/huge.bmp"), content));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("huge.bmp"), "Option2");
    const int limitBefore = QImageReader::allocationLimit();

    QElapsedTimer timer;
    timer.start();
    TRIGGER(form1(), "ASSDFGHJKL");
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));

    QCOMPARE(m_session.notices().texts().size(), 2);
    const QString refusal = m_session.notices().texts().at(1);
    QVERIFY2(refusal.startsWith(QStringLiteral("无法显示背景图片") + m_session.install()
                                + QStringLiteral("\\NewSkins\\蓝天\\huge.bmp\n原因:图片太大(") + claimed + u')'),
             qPrintable(refusal));
    QVERIFY(preview() && preview()->isVisible());
    QVERIFY(preview()->background()->pixmap().isNull());
    // The program's other pictures keep the reader's usual limit.
    QCOMPARE(QImageReader::allocationLimit(), limitBefore);
}

void PreviewTest::pictureJustWithinTheLimitLoads_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("imageFormat");
    QTest::addColumn<int>("side");

    QTest::newRow("bitmap, 4000 x 4000") << QStringLiteral("BMP") << int(QImage::Format_RGB32) << 4000;
    // Decodes into 8 bytes a pixel, twice what the pixel count allows for.
    QTest::newRow("16-bit PNG, 3000 x 3000") << QStringLiteral("PNG") << int(QImage::Format_RGBA64) << 3000;
}

void PreviewTest::pictureJustWithinTheLimitLoads()
{
    QFETCH(QString, format);
    QFETCH(int, imageFormat);
    QFETCH(int, side);

    QImage large(side, side, QImage::Format(imageFormat));
    large.fill(QColor(10, 20, 30));
    QVERIFY(large.save(skinFolder("NewSkins") + QStringLiteral("/large.pic"), qPrintable(format), 100));
    fill(m_session.install(), QStringLiteral("蓝天"), QStringLiteral("large.pic"), "Option2");
    TRIGGER(form1(), "ASSDFGHJKL");
    QCOMPARE(m_session.notices().texts(), QStringList{filledInNotice});
    QCOMPARE(preview()->background()->size(), QSize(side, side));
    QCOMPARE(QColor(preview()->grab().toImage().pixel(200, 300)), QColor(10, 20, 30));
}

MORVANE_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"
