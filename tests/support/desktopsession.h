#pragma once

#include <QHash>
#include <QList>
#include <QProcess>
#include <QRect>

#include <memory>

struct xcb_connection_t;

namespace testsupport {

// A desktop of the test's own: an X server (Xvfb, on a display no one else uses) with the
// openbox window manager, read as a person sees it and driven with real keys and clicks
// (XTest, through xdotool).
class DesktopSession {
public:
    DesktopSession() = default;
    ~DesktopSession();
    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    // Starts both and waits until the window manager runs; the reason when that failed.
    QString start();
    QProcessEnvironment environment() const; // for programs on this desktop

    // The managed windows from the bottom of the stack to the top; the active one (0: none).
    QList<quint32> stacking() const;
    quint32 activeWindow() const { return property(m_root, "_NET_ACTIVE_WINDOW").value(0); }
    // The managed window with this title, shown or minimised, the top one of several (0: none).
    quint32 window(const QString &title) const;
    QString title(quint32 window) const;
    qint64 processOf(quint32 window) const { return property(window, "_NET_WM_PID").value(0); }
    QRect geometry(quint32 window) const; // on the screen, without the frame
    QRect screen() const { return geometry(m_root); }
    bool isIconic(quint32 window) const { return property(window, "WM_STATE").value(0) == 3; }
    bool isViewable(quint32 window) const;
    quint32 transientFor(quint32 window) const { return property(window, "WM_TRANSIENT_FOR").value(0); }
    // Whether _NET_WM_STATE holds this state, such as "_NET_WM_STATE_MODAL".
    bool hasState(quint32 window, const char *state) const;

    // The windows whose activation was asked of the window manager since the last call, in order.
    QList<quint32> takeActivationRequests();
    // Returns once the window manager has handled everything sent to it before the call.
    bool windowManagerCaughtUp() const;

    void press(const QString &keys) const; // xdotool's names, such as "ctrl+e"
    void click(QPoint at) const; // on the screen

private:
    QByteArray rawProperty(quint32 window, const char *name) const;
    QList<quint32> property(quint32 window, const char *name) const;
    quint32 atom(const char *name) const;
    void xdotool(const QStringList &arguments) const;

    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    QString m_display;
    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_probe = 0; // an unmapped window, for questions to the window manager
    mutable QHash<QByteArray, quint32> m_atoms;
};

} // namespace testsupport
