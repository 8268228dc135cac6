#pragma once

#include <QByteArray>
#include <QImage>

// Picture files the tests build byte by byte: formats Qt cannot write, and headers that claim
// sizes no real picture of that length has.
namespace testsupport {

void appendLe16(QByteArray &bytes, int value);
void appendLe32(QByteArray &bytes, qint32 value);

// Qt reads GIF but cannot write it: a GIF of up to 128 colours, encoded here.
QByteArray encodeGif(const QImage &image);

// A 24-bit bitmap with the oldest header (12 bytes, 16-bit sizes) and a negative height, its
// rows stored top-down: the bitmap reader shows it but reports its height as negative.
QByteArray encodeOldTopDownBitmap(const QImage &image);

// The headers of a 24-bit bitmap claiming this size, with no pixels after them.
QByteArray bitmapHeaderOnly(int width, int height);

// The signature and header chunk of a PNG claiming this size, with no pixels after them.
QByteArray pngHeaderOnly(quint32 width, quint32 height);

} // namespace testsupport
