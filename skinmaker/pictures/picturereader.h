#pragma once

#include "skinmaker/core/picturefile.h"

#include <QImage>
#include <QString>

// Reading a skin's picture file the way the preview shows it.
namespace skinmaker::pictures {

struct LoadedPicture {
    QImage picture; // null when the picture could not be loaded
    core::PictureProblem problem; // why not; none on success
};

// Reads a picture file by its content (bitmap, GIF, JPEG, PNG), refusing anything that is
// not a plain file and any picture larger than the allocation limit before decoding it.
LoadedPicture loadPicture(const QString &fileName);

// Whether loadPicture shows the picture; the checker's picture decoder.
bool isDecodable(const QString &fileName);

} // namespace skinmaker::pictures
