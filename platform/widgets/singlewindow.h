#pragma once

#include <QPointer>
#include <QWidget>

#include <concepts>

// Every window of a program exists at most once. It is created on first use, hidden
// when only its fields are read or set, shown modeless without owner, brought to the
// front when shown again, and forgotten once its frame has destroyed it.
namespace platform {

// A window class that declares `static constexpr bool keepsFieldsWhenClosed = true;`
// is only hidden by its frame, because other windows go on reading its fields.
template <typename Window>
concept KeepsFieldsWhenClosed = requires { requires Window::keepsFieldsWhenClosed; };

template <typename Window>
class SingleWindow {
public:
    // The window, created hidden if it does not exist yet.
    static Window *get()
    {
        if (!s_window) {
            s_window = new Window;
            if constexpr (!KeepsFieldsWhenClosed<Window>)
                s_window->setAttribute(Qt::WA_DeleteOnClose);
        }
        return s_window;
    }

    // The window if it exists, without creating it.
    static Window *existing() { return s_window; }

    // Shows the window (creating it first if needed) and brings it to the front.
    static Window *show()
    {
        Window *window = get();
        // Bringing a window forward includes taking it back from the task bar.
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }

    // Destroys the window at once; the next use creates a new one.
    static void destroy() { delete s_window.data(); }

private:
    static inline QPointer<Window> s_window;
};

} // namespace platform
