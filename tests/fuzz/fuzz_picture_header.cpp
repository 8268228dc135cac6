// The size checks the preview makes before decoding a background picture: any bytes as a
// header, any size as a claim. Nothing is read past the header's end, and a claim is refused
// exactly when it is a size over the pixel limit, with the size named.
#include "fuzzinput.h"

#include "skinmaker/core/picturefile.h"

using namespace skinmaker::core;

namespace {

void checkClaim(const QSize &claimed)
{
    const PictureProblem problem = pictureSizeProblem(claimed);
    const bool overLimit = claimed.isValid() && qint64(claimed.width()) * claimed.height() > backgroundPixelLimit;
    fuzz::require(problem.isEmpty() != overLimit, "a size is refused exactly when it is over the limit");
    if (overLimit)
        fuzz::require(problem.claimed == claimed, "the refusal names the size claimed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The whole input is the header: the check itself must stop at its end.
    const QByteArray header = fuzz::Input(data, size).rest();
    const QSize claimed = sizeClaimedByHeader(header);
    // A header names a size only when it is a bitmap's or a PNG's, and then never a negative height.
    if (claimed != QSize()) {
        fuzz::require(header.startsWith("BM") || header.startsWith("\x89PNG"), "only bitmaps and PNGs claim a size");
        fuzz::require(claimed.height() >= 0, "a height stored as negative is claimed as positive");
    }
    checkClaim(claimed);

    fuzz::Input input(data, size);
    const int width = input.takeInt();
    checkClaim(QSize(width, input.takeInt()));
    return 0;
}
