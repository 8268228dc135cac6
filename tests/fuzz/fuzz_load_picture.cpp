// The preview's picture loader on any file content: it never fails hard, never makes a single
// allocation past the reader's allocation limit, refuses every picture whose header claims a
// size over the pixel limit, and a bitmap or PNG it does load is as large as its header says.
#include "fuzzinput.h"

#include "skinmaker/authoring/previewwindow.h"
#include "skinmaker/core/picturefile.h"

#include <QCoreApplication>
#include <QImageReader>

using skinmaker::authoring::loadPicture;
using skinmaker::core::backgroundPixelLimit;

namespace {

bool overLimit(const QSize &size)
{
    return size.isValid() && qint64(size.width()) * size.height() > backgroundPixelLimit;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    // QImageReader finds its format plugins through an application object; no display is
    // needed, so a core application is enough.
    static int argc = 1;
    static char name[] = "fuzz_load_picture";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    // The loader lets the reader allocate the pixel limit at the widest pixels it decodes into,
    // 8 bytes (16 bits a channel). Nothing else it does needs a block anywhere near that size.
    fuzz::refuseAllocationsOver(size_t(backgroundPixelLimit) * 8);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content = fuzz::Input(data, size).rest();
    // The name's suffix says bitmap; the loader goes by content, whatever the name says.
    const QString file = fuzz::writeScratchFile(QStringLiteral("bg.bmp"), content);

    const skinmaker::authoring::LoadedPicture loaded = loadPicture(file);
    fuzz::require(loaded.picture.isNull() != loaded.problem.isEmpty(), "either a picture or the reason why not");
    if (loaded.picture.isNull())
        return 0;
    fuzz::require(!overLimit(loaded.picture.size()), "a loaded picture is within the pixel limit");

    const QSize claimedByHeader = skinmaker::core::sizeClaimedByHeader(content.left(32));
    fuzz::require(!overLimit(claimedByHeader), "a picture whose header claims too large a size is refused");
    if (claimedByHeader != QSize())
        fuzz::require(loaded.picture.size() == claimedByHeader, "a bitmap or PNG is as large as its header says");
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    fuzz::require(!overLimit(reader.size()), "a picture whose reader claims too large a size is refused");
    return 0;
}
