#pragma once

#include <QByteArray>
#include <QFile>
#include <QSize>
#include <QString>

#include <memory>

// The checks the preview makes on a background picture before decoding it: what the file
// system says about the file, and the size its header claims.
namespace skinmaker::core {

// The most pixels a background picture may have. Skin backgrounds are a few hundred pixels
// across; this leaves room for far larger ones while keeping a picture whose header claims an
// enormous size from freezing the program or exhausting memory.
inline constexpr qint64 backgroundPixelLimit = 4096 * 4096;

// The picture file opened for reading, or why it cannot be (file null), in words for the user.
// Only a plain file passes: a folder has no picture, and a pipe or device could block. That is
// judged on what was opened, without waiting on it, so a pipe or a device put in the file's
// place a moment before is refused as well.
struct OpenedPicture {
    std::unique_ptr<QFile> file;
    QString problem;
};
OpenedPicture openPictureFile(const QString &nativePath);

// The size a bitmap or PNG header claims (its first 32 bytes) as the picture reader takes it,
// invalid for other formats.
// Readers decline to tell the size of such pictures when it is absurdly large, which is
// exactly when the user should hear so.
QSize sizeClaimedByHeader(const QByteArray &header);

// Why a picture of this size is refused, empty when it is within the limit.
QString pictureSizeProblem(const QSize &claimed);

} // namespace skinmaker::core
