#include "blockwindow.h"

#include "skinwriter.h"

#include "platform/widgets/notice.h"

namespace skinmaker::authoring {

void BlockWindow::confirm()
{
    QString warning;
    if (!appendBlock(m_location(), block(), fieldBoxes(), &warning))
        return;
    // No success notice here by design: the warning comes alone.
    if (!warning.isEmpty())
        platform::notice(warning);
    close();
}

} // namespace skinmaker::authoring
