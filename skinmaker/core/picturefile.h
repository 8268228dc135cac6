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

// Why a background picture cannot be shown; the windows put it into words.
struct PictureProblem {
    enum Kind {
        None,
        NoName, // no picture name was typed
        FolderMissing, // the skin folder does not exist
        FolderUnreachable, // the folder may not be entered
        Missing, // no file by that name
        NotAFile, // a folder, a pipe or a device by that name
        CannotOpen, // the file cannot be opened for reading
        NotAPicture, // no picture format the preview reads
        TooLarge, // more pixels than backgroundPixelLimit, by its header
        Damaged, // the picture's data cannot be decoded
    };
    Kind kind = None;
    QSize claimed; // TooLarge: the size the header claims
    bool isEmpty() const { return kind == None; }
};

// The picture file opened for reading, or why it cannot be (file null).
// Only a plain file passes: a folder has no picture, and a pipe or device could block. That is
// judged on what was opened, without waiting on it, so a pipe or a device put in the file's
// place a moment before is refused as well.
struct OpenedPicture {
    std::unique_ptr<QFile> file;
    PictureProblem problem;
};
OpenedPicture openPictureFile(const QString &nativePath);

// The size a bitmap or PNG header claims (its first 32 bytes) as the picture reader takes it,
// invalid for other formats.
// Readers decline to tell the size of such pictures when it is absurdly large, which is
// exactly when the user should hear so.
QSize sizeClaimedByHeader(const QByteArray &header);

// Why a picture of this size is refused, none when it is within the limit.
PictureProblem pictureSizeProblem(const QSize &claimed);

} // namespace skinmaker::core
