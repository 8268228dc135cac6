#pragma once

class QWidget;

namespace platform {

// A text box takes some Ctrl keys for its own editing (on X11 Ctrl+E moves to the end of the
// line), and then the window's menu item with the same shortcut does nothing while the box has
// the focus. After this call the window's menu shortcuts work wherever its focus is, except the
// two that every text box keeps: Ctrl+C copies and Ctrl+A selects all. Covers the text boxes the
// window holds at the time of the call.
void putMenuShortcutsFirst(QWidget *window);

} // namespace platform
