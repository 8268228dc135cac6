#include "pictures.h"

namespace testsupport {

namespace {

// The check sum that ends every PNG chunk.
quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

} // namespace

void appendLe16(QByteArray &bytes, int value)
{
    bytes.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

void appendLe32(QByteArray &bytes, qint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xff));
}

// A 128-colour palette with 8-bit codes and a clear code every 100 pixels, so the code width
// never grows.
QByteArray encodeGif(const QImage &image)
{
    QList<QRgb> palette;
    QByteArray codes;
    int sinceClear = 100;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xff000000;
            qsizetype index = palette.indexOf(colour);
            if (index < 0) {
                palette << colour;
                index = palette.size() - 1;
            }
            if (sinceClear == 100) {
                codes.append(char(128));
                sinceClear = 0;
            }
            codes.append(char(index));
            ++sinceClear;
        }
    }
    codes.append(char(129));
    Q_ASSERT(palette.size() <= 128);

    QByteArray gif("GIF89a");
    appendLe16(gif, image.width());
    appendLe16(gif, image.height());
    gif.append(char(0xf6)).append(char(0)).append(char(0));
    for (int i = 0; i < 128; ++i) {
        const QRgb colour = palette.value(i);
        gif.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    }
    gif.append(char(0x2c));
    appendLe16(gif, 0);
    appendLe16(gif, 0);
    appendLe16(gif, image.width());
    appendLe16(gif, image.height());
    gif.append(char(0));
    gif.append(char(7));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    gif.append(char(0)).append(char(0x3b));
    return gif;
}

QByteArray bitmapHeaderOnly(int width, int height)
{
    QByteArray bmp("BM");
    appendLe32(bmp, 54);
    appendLe32(bmp, 0);
    appendLe32(bmp, 54);
    appendLe32(bmp, 40);
    appendLe32(bmp, width);
    appendLe32(bmp, height);
    appendLe16(bmp, 1);
    appendLe16(bmp, 24);
    for (int i = 0; i < 6; ++i)
        appendLe32(bmp, 0);
    return bmp;
}

QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const quint32 value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png.append(char((value >> shift) & 0xff));
    }
    png.append(QByteArray("\x08\x02\0\0\0", 5)); // 8-bit RGB, no interlacing
    const quint32 crc = crc32(png.mid(12));
    for (int shift = 24; shift >= 0; shift -= 8)
        png.append(char((crc >> shift) & 0xff));
    return png;
}

QByteArray encodeOldTopDownBitmap(const QImage &image)
{
    QByteArray pixels;
    const int padding = (4 - image.width() * 3 % 4) % 4;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            pixels.append(char(qBlue(colour))).append(char(qGreen(colour))).append(char(qRed(colour)));
        }
        pixels.append(QByteArray(padding, '\0'));
    }
    QByteArray bmp("BM");
    appendLe32(bmp, 26 + qint32(pixels.size()));
    appendLe32(bmp, 0);
    appendLe32(bmp, 26);
    appendLe32(bmp, 12);
    appendLe16(bmp, image.width());
    appendLe16(bmp, -image.height());
    appendLe16(bmp, 1);
    appendLe16(bmp, 24);
    return bmp + pixels;
}

} // namespace testsupport
