#pragma once

#include <QString>

// The two paths the setter makes up itself; everything else it stores is typed or picked.
namespace musicsetter {

// What the path box first shows: a music file in the user's music folder, in the form this
// system writes paths, so it reads as the kind of path the user is asked for.
QString examplePath(const QString &musicFolder);

// The path the browse window hands over: the folder as the folder list gives it, one "\"
// and the file's bare name. A root keeps its own separator, so it gets two in a row; the
// main program's path mapping and the file system read the pair as one.
QString pickedPath(const QString &folder, const QString &fileName);

} // namespace musicsetter
