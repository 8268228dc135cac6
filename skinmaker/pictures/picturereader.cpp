#include "picturereader.h"

#include "skinmaker/core/picturefile.h"

#include <QFile>
#include <QImageReader>

namespace skinmaker::pictures {

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

} // namespace

LoadedPicture loadPicture(const QString &fileName)
{
    // Opened once: what is checked is what is read.
    const core::OpenedPicture opened = core::openPictureFile(fileName);
    if (!opened.file)
        return {{}, opened.problem};

    // The widest pixels the reader decodes into take 8 bytes (16 bits a channel).
    const AllocationLimit limit(int(core::backgroundPixelLimit * 8 / (1024 * 1024)));
    QImageReader reader(opened.file.get());
    // By content, as the file name's extension need not match what the file holds.
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        if (reader.error() == QImageReader::DeviceError)
            return {{}, {core::PictureProblem::CannotOpen, {}}};
        return {{}, {core::PictureProblem::NotAPicture, {}}};
    }

    // Refuse by the size the header claims, before anything is decoded.
    QSize claimed = reader.size();
    if (!claimed.isValid()) {
        const qint64 readerAt = opened.file->pos();
        if (opened.file->seek(0))
            claimed = core::sizeClaimedByHeader(opened.file->read(32));
        opened.file->seek(readerAt);
    }
    if (const core::PictureProblem problem = core::pictureSizeProblem(claimed); !problem.isEmpty())
        return {{}, problem};

    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return {{}, {core::PictureProblem::Damaged, {}}};
    return {picture, {}};
}

bool isDecodable(const QString &fileName)
{
    return !loadPicture(fileName).picture.isNull();
}

} // namespace skinmaker::pictures
