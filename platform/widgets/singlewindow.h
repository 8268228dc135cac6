#pragma once

#include <QPointer>
#include <QWidget>

#include <concepts>
#include <functional>

// Every window of a program exists at most once. It is created on first use, hidden
// when only its fields are read or set, shown modeless without owner, brought to the
// front when shown again, and forgotten once its frame has destroyed it.
namespace platform {

// A window class that declares `static constexpr bool keepsFieldsWhenClosed = true;`
// is only hidden by its frame, because other windows go on reading its fields.
template <typename Window>
concept KeepsFieldsWhenClosed = requires
{
    requires Window::keepsFieldsWhenClosed;
};

// The one place of one window in the program that owns it. The program hands the window what it
// needs through the function that makes it.
template <typename Window>
class SingleWindow {
public:
    using Make = std::function<Window *()>;

    explicit SingleWindow(Make make = [] { return new Window; }) : m_make(std::move(make)) {}
    SingleWindow(const SingleWindow &) = delete;
    SingleWindow &operator=(const SingleWindow &) = delete;

    // The window, created hidden if it does not exist yet.
    Window *get()
    {
        if (!m_window) {
            m_window = m_make();
            if constexpr (!KeepsFieldsWhenClosed<Window>)
                m_window->setAttribute(Qt::WA_DeleteOnClose);
        }
        return m_window;
    }

    // The window if it exists, without creating it.
    Window *existing() const { return m_window; }

    // Shows the window (creating it first if needed) and brings it to the front.
    Window *show()
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
    void destroy() { delete m_window.data(); }

private:
    Make m_make;
    QPointer<Window> m_window;
};

} // namespace platform
