#include "notices.h"

namespace musicsetter {

QString backslashInNameNotice(const QString &name)
{
    return QStringLiteral("文件或文件夹的名称“%1”中含有“\\”,而音乐文件的路径用“\\”分隔文件夹,"
                          "Morvane将找不到这个文件.\n请先给它改名,再选择.")
        .arg(name);
}

} // namespace musicsetter
