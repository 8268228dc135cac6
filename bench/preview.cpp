// The preview's background: a 1920 x 1080 JPEG made for the run, loaded into Image1 by the
// preview window's own load steps (the checks, the reader, the pixmap set on the control),
// beside the same file read by a plain QImageReader, alternately in one process.
#include "measure.h"

#include "environment.h"

#include "skinmaker/authoring/previewwindow.h"

#include "platform/widgets/notice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int runs = 41;
const QSize pictureSize(1920, 1080);

// Gradients with fine noise over them, so the file is as large as a photograph's would be.
QImage photograph()
{
    QImage image(pictureSize, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, pictureSize.height());
    sky.setColorAt(0, QColor(40, 90, 200));
    sky.setColorAt(1, QColor(230, 200, 150));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(30, 120, 60));
    painter.drawEllipse(QRect(-300, 600, 2600, 1000));
    painter.end();
    QRandomGenerator noise(42);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(noise.bounded(24)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d, 255));
        }
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    testsupport::IsolatedEnvironment environment;
    QApplication application(argc, argv);
    const platform::NoticeRecorder notices;

    const QTemporaryDir install;
    QDir(install.path()).mkpath(QStringLiteral("NewSkins/蓝天"));
    const QString name = QStringLiteral("背景.jpg");
    const QString path = install.filePath(QStringLiteral("NewSkins/蓝天/") + name);
    if (!photograph().save(path, "JPEG", 90)) {
        std::fprintf(stderr, "bench_preview: could not write %s\n", qPrintable(path));
        return 1;
    }
    const skinmaker::core::SkinLocation location{install.path(), QStringLiteral("蓝天"),
                                                 skinmaker::core::QQVersion::Qq2004};

    // One unmeasured round first, so that neither side pays for loading the JPEG plug-in.
    QList<double> preview;
    QList<double> reader;
    for (int run = -1; run < runs; ++run) {
        for (int side = 0; side < 2; ++side) {
            // Alternating which goes first, so that neither always finds the file freshly read.
            if ((side == 0) == (run % 2 == 0)) {
                const auto window = std::make_unique<skinmaker::authoring::PreviewWindow>();
                QElapsedTimer timer;
                timer.start();
                window->load(location, name);
                const double ms = bench::elapsedMs(timer);
                if (window->background()->pixmap().size() != pictureSize) {
                    std::fprintf(stderr, "bench_preview: Image1 shows no picture\n");
                    return 1;
                }
                if (run >= 0)
                    preview << ms;
            } else {
                QElapsedTimer timer;
                timer.start();
                QImageReader plain(path);
                const QImage image = plain.read();
                const double ms = bench::elapsedMs(timer);
                if (image.size() != pictureSize) {
                    std::fprintf(stderr, "bench_preview: the plain reader read no picture\n");
                    return 1;
                }
                if (run >= 0)
                    reader << ms;
            }
        }
    }
    bench::printSummary("preview", preview);
    bench::printSummary("reader", reader);
    bench::print("file_kb", double(QFileInfo(path).size()) / 1024);
    return 0;
}
