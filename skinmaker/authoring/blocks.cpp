#include "blocks.h"

namespace skinmaker::authoring {

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

} // namespace skinmaker::authoring
