#include "blocks.h"

namespace skinmaker::core {

QStringList basicBlock(const BasicFields &fields)
{
    return {
        QStringLiteral("[main]"),
        QStringLiteral("tile=") + fields.tile,
        QStringLiteral("minwidth=") + fields.minWidth,
        QStringLiteral("minheight=") + fields.minHeight,
        QStringLiteral("maxwidth=") + fields.maxWidth,
        QStringLiteral("[menu]"),
        QStringLiteral("color_red=141"),
        QStringLiteral("color_green=166"),
        QStringLiteral("color_blue=204"),
        QStringLiteral("logo=") + fields.logo,
    };
}

QStringList buttonBlock(const QStringList &boxTexts)
{
    const auto text = [&boxTexts](int number) { return boxTexts.value(number - 1); };
    QStringList lines;
    for (const ButtonSectionBoxes &boxes : buttonSections) {
        lines << u'[' + QString::fromUtf16(boxes.section) + u']' << QStringLiteral("stretch=") + text(boxes.stretch)
              << QStringLiteral("light_stretch=") + text(boxes.lightStretch)
              << QStringLiteral("down_stretch=") + text(boxes.downStretch);
    }
    lines << QStringLiteral("[folder]") << QStringLiteral("stretch=") + text(folderStretchBox);
    return lines;
}

QStringList skinInfoBlock(const SkinInfoFields &fields)
{
    return {
        QStringLiteral("[SkinInfo]"),
        QStringLiteral("SkinName=") + fields.skinName,
        QStringLiteral("Maker=") + fields.maker,
        QStringLiteral("CopyRight=") + fields.copyright,
        QStringLiteral("Time=") + fields.time,
        QStringLiteral("PreviewImage=") + fields.previewImage,
        QStringLiteral("Remark=") + fields.remark,
    };
}

} // namespace skinmaker::core
