#include "blockwindow.h"

#include "skinwriter.h"

namespace skinmaker::authoring {

void BlockWindow::confirm()
{
    if (appendBlock(m_location(), block(), fieldBoxes()))
        close();
}

} // namespace skinmaker::authoring
