#include "desktopsession.h"

#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>

namespace testsupport {

namespace {

// Long enough for a loaded machine: the server and the window manager need well under a second.
constexpr int patience = 30000;

// An xcb reply, freed with the C library as xcb asks.
template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> owned(Reply *reply)
{
    return {reply, &std::free};
}

} // namespace

DesktopSession::~DesktopSession()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    for (QProcess *process : {m_windowManager.get(), m_server.get()}) {
        if (process) {
            process->terminate();
            process->waitForFinished(patience);
        }
    }
}

QString DesktopSession::start()
{
    for (const char *tool : {"Xvfb", "openbox", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return QStringLiteral("%1 is not installed (scripts/install-deps installs it)").arg(QLatin1String(tool));
    }
    // The server picks a free display itself and writes its number on standard output.
    m_server = std::make_unique<QProcess>();
    m_server->start(QStringLiteral("Xvfb"),
                    QStringList{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp")});
    if (!QTest::qWaitFor([&] { return m_server->canReadLine() || m_server->state() == QProcess::NotRunning; }, patience)
        || !m_server->canReadLine())
        return QStringLiteral("Xvfb gave no display: ") + QString::fromLocal8Bit(m_server->readAllStandardError());
    m_display = u':' + QString::fromLatin1(m_server->readLine().trimmed());
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection))
        return QStringLiteral("cannot connect to ") + m_display;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_root = screen->root;
    // Programs ask the window manager for the focus by messages to the root window, which
    // reach every client that listens to the root window's structure.
    const quint32 rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &rootEvents);
    m_probe = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_probe, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);

    m_windowManager = std::make_unique<QProcess>();
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->start(QStringLiteral("openbox"), QStringList{QStringLiteral("--sm-disable")});
    // Running once it names the window that shows it follows the desktop standards.
    if (!QTest::qWaitFor([&] { return !property(m_root, "_NET_SUPPORTING_WM_CHECK").isEmpty(); }, patience))
        return QStringLiteral("openbox did not start: ")
            + QString::fromLocal8Bit(m_windowManager->readAllStandardError());
    return {};
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

quint32 DesktopSession::atom(const char *name) const
{
    if (!m_atoms.contains(name)) {
        const auto reply = owned(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, quint16(qstrlen(name)), name), nullptr));
        m_atoms.insert(name, reply ? reply->atom : 0);
    }
    return m_atoms.value(name);
}

QByteArray DesktopSession::rawProperty(quint32 window, const char *name) const
{
    const auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
        nullptr));
    if (!reply)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QList<quint32> DesktopSession::property(quint32 window, const char *name) const
{
    const QByteArray raw = rawProperty(window, name);
    QList<quint32> values(raw.size() / 4);
    memcpy(values.data(), raw.constData(), size_t(values.size()) * 4);
    return values;
}

QList<quint32> DesktopSession::stacking() const
{
    return property(m_root, "_NET_CLIENT_LIST_STACKING");
}

quint32 DesktopSession::window(const QString &title) const
{
    const QList<quint32> windows = stacking();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        if (this->title(*window) == title && (isViewable(*window) || isIconic(*window)))
            return *window;
    }
    return 0;
}

QString DesktopSession::title(quint32 window) const
{
    // Qt names an untitled window after the program for the desktop's lists; only the old
    // name, in Latin-1 or compound text, stays empty then.
    if (rawProperty(window, "WM_NAME").isEmpty())
        return {};
    return QString::fromUtf8(rawProperty(window, "_NET_WM_NAME"));
}

QRect DesktopSession::geometry(quint32 window) const
{
    const auto size = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    const auto origin = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
    return size && origin ? QRect(origin->dst_x, origin->dst_y, size->width, size->height) : QRect();
}

bool DesktopSession::isViewable(quint32 window) const
{
    const auto attributes =
        owned(xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool DesktopSession::hasState(quint32 window, const char *state) const
{
    return property(window, "_NET_WM_STATE").contains(atom(state));
}

QList<quint32> DesktopSession::takeActivationRequests()
{
    QList<quint32> requests;
    while (const auto event = owned(xcb_poll_for_event(m_connection))) {
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == atom("_NET_ACTIVE_WINDOW"))
            requests << message->window;
    }
    return requests;
}

bool DesktopSession::windowManagerCaughtUp() const
{
    // It answers a request for the frame it would give a window by writing that on the window.
    xcb_delete_property(m_connection, m_probe, atom("_NET_FRAME_EXTENTS"));
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = m_probe;
    request.type = atom("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(m_connection);
    return QTest::qWaitFor([&] { return !rawProperty(m_probe, "_NET_FRAME_EXTENTS").isEmpty(); }, patience);
}

void DesktopSession::press(const QString &keys) const
{
    xdotool({QStringLiteral("key"), keys});
}

void DesktopSession::click(QPoint at) const
{
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void DesktopSession::xdotool(const QStringList &arguments) const
{
    QProcess xdotool;
    xdotool.setProcessEnvironment(environment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(patience);
}

} // namespace testsupport
