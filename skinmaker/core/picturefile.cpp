#include "picturefile_system.h"

#include "platform/core/access.h"

#include <QFileInfo>
#include <QtEndian>

#include <climits>

namespace skinmaker::core {

OpenedPicture openPictureFile(const QString &nativePath)
{
    const QFileInfo info(nativePath);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return {nullptr, {PictureProblem::FolderMissing, {}}};
    if (folder.isDir() && !platform::userMay(platform::Access::Enter, folder.filePath()))
        return {nullptr, {PictureProblem::FolderUnreachable, {}}};
    if (!info.exists())
        return {nullptr, {PictureProblem::Missing, {}}};
    auto file = std::make_unique<QFile>(nativePath);
    switch (openOrdinaryFile(*file, info)) {
    case OpenFailure::None:
        return {std::move(file), {}};
    case OpenFailure::Missing:
        return {nullptr, {PictureProblem::Missing, {}}};
    case OpenFailure::NotAFile:
        return {nullptr, {PictureProblem::NotAFile, {}}};
    case OpenFailure::CannotOpen:
        break;
    }
    return {nullptr, {PictureProblem::CannotOpen, {}}};
}

QSize sizeClaimedByHeader(const QByteArray &header)
{
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    if (header.startsWith("BM") && header.size() >= 26) {
        // Read as the bitmap reader reads it, since it is that reader's allocation we guard: 32-bit
        // sizes after the info headers it knows to hold them, signed 16-bit sizes after any other
        // (the oldest header's, or one it does not know). A negative height marks rows stored
        // top-down.
        const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
        if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
            const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 22)));
            return QSize(qFromLittleEndian<qint32>(bytes + 18), int(qMin<qint64>(height, INT_MAX)));
        }
        return QSize(qFromLittleEndian<qint16>(bytes + 18), qAbs(int(qFromLittleEndian<qint16>(bytes + 20))));
    }
    if (header.startsWith("\x89PNG\r\n\x1a\n") && header.size() >= 24 && header.mid(12, 4) == "IHDR") {
        const quint32 width = qFromBigEndian<quint32>(bytes + 16);
        const quint32 height = qFromBigEndian<quint32>(bytes + 20);
        return QSize(int(qMin<quint32>(width, INT_MAX)), int(qMin<quint32>(height, INT_MAX)));
    }
    return {};
}

PictureProblem pictureSizeProblem(const QSize &claimed)
{
    if (!claimed.isValid() || qint64(claimed.width()) * claimed.height() <= backgroundPixelLimit)
        return {};
    return {PictureProblem::TooLarge, claimed};
}

} // namespace skinmaker::core
