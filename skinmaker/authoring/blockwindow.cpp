#include "blockwindow.h"

#include "skinwriter.h"

namespace skinmaker::authoring {

void BlockWindow::confirm()
{
    if (appendBlock(currentLocation(), block(), fieldBoxes()))
        close();
}

} // namespace skinmaker::authoring
