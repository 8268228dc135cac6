#include "desktopsession.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>

namespace testsupport {

namespace {

// Long enough for a loaded machine: the server and the window manager need well under a second.
constexpr int startSeconds = 30;

QByteArray rawProperty(xcb_connection_t *connection, quint32 window, quint32 atom)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr);
    QByteArray value;
    if (reply) {
        value =
            QByteArray(static_cast<const char *>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        std::free(reply);
    }
    return value;
}

}  // namespace

DesktopSession::~DesktopSession()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    for (QProcess *process : {m_windowManager.get(), m_server.get()}) {
        if (process) {
            process->terminate();
            process->waitForFinished(5000);
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
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    while (!m_server->canReadLine() && m_server->waitForReadyRead(startSeconds * 1000)) {}
    const QByteArray number = m_server->readLine().trimmed();
    if (number.isEmpty())
        return QStringLiteral("Xvfb gave no display: ") + QString::fromLocal8Bit(m_server->readAllStandardError());
    m_display = u':' + QString::fromLatin1(number);
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
    m_windowManager->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    // Running once it has named the window that shows it supports the desktop standards.
    const QDeadlineTimer deadline(startSeconds * 1000);
    while (property(m_root, "_NET_SUPPORTING_WM_CHECK").isEmpty()) {
        if (deadline.hasExpired() || m_windowManager->state() == QProcess::NotRunning)
            return QStringLiteral("openbox did not start: ")
                + QString::fromLocal8Bit(m_windowManager->readAllStandardError());
        QThread::msleep(10);
    }
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
    if (const auto known = m_atoms.constFind(name); known != m_atoms.constEnd())
        return *known;
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, quint16(qstrlen(name)), name), nullptr);
    const quint32 atom = reply ? reply->atom : 0;
    std::free(reply);
    m_atoms.insert(name, atom);
    return atom;
}

QList<quint32> DesktopSession::takeActivationRequests()
{
    QList<quint32> requests;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == atom("_NET_ACTIVE_WINDOW"))
            requests << message->window;
        std::free(event);
    }
    return requests;
}

bool DesktopSession::windowManagerCaughtUp() const
{
    // It answers a request for the frame it would give a window by writing that on the window.
    const quint32 extents = atom("_NET_FRAME_EXTENTS");
    xcb_delete_property(m_connection, m_probe, extents);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = m_probe;
    request.type = atom("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(m_connection);
    const QDeadlineTimer deadline(startSeconds * 1000);
    while (rawProperty(m_connection, m_probe, extents).isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

QList<quint32> DesktopSession::property(quint32 window, const char *name) const
{
    const QByteArray raw = rawProperty(m_connection, window, atom(name));
    QList<quint32> values(raw.size() / 4);
    memcpy(values.data(), raw.constData(), size_t(values.size()) * 4);
    return values;
}

QList<quint32> DesktopSession::stacking() const
{
    return property(m_root, "_NET_CLIENT_LIST_STACKING");
}

quint32 DesktopSession::activeWindow() const
{
    const QList<quint32> active = property(m_root, "_NET_ACTIVE_WINDOW");
    return active.value(0);
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

qint64 DesktopSession::processOf(quint32 window) const
{
    return property(window, "_NET_WM_PID").value(0);
}

QString DesktopSession::title(quint32 window) const
{
    // Qt names an untitled window after the program for the desktop's lists; only the old
    // name, in Latin-1 or compound text, stays empty then.
    if (rawProperty(m_connection, window, XCB_ATOM_WM_NAME).isEmpty())
        return {};
    return QString::fromUtf8(rawProperty(m_connection, window, atom("_NET_WM_NAME")));
}

QRect DesktopSession::geometry(quint32 window) const
{
    xcb_get_geometry_reply_t *size =
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
    xcb_translate_coordinates_reply_t *origin = xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr);
    const QRect area = size && origin ? QRect(origin->dst_x, origin->dst_y, size->width, size->height) : QRect();
    std::free(size);
    std::free(origin);
    return area;
}

QRect DesktopSession::screen() const
{
    return geometry(m_root);
}

bool DesktopSession::isIconic(quint32 window) const
{
    constexpr quint32 iconicState = 3;  // ICCCM's WM_STATE
    return property(window, "WM_STATE").value(0) == iconicState;
}

bool DesktopSession::isViewable(quint32 window) const
{
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return viewable;
}

quint32 DesktopSession::transientFor(quint32 window) const
{
    return property(window, "WM_TRANSIENT_FOR").value(0);
}

bool DesktopSession::hasState(quint32 window, const char *state) const
{
    return property(window, "_NET_WM_STATE").contains(atom(state));
}

QColor DesktopSession::pixel(QPoint at) const
{
    xcb_get_image_reply_t *image = xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, qint16(at.x()), qint16(at.y()), 1, 1, ~0u),
        nullptr);
    QColor colour;
    if (image && xcb_get_image_data_length(image) >= 3) {
        const uint8_t *bgr = xcb_get_image_data(image);  // 24-bit depth: blue, green, red, unused
        colour = QColor(bgr[2], bgr[1], bgr[0]);
    }
    std::free(image);
    return colour;
}

void DesktopSession::press(const QString &keys) const
{
    QProcess xdotool;
    xdotool.setProcessEnvironment(environment());
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    xdotool.waitForFinished();
}

void DesktopSession::click(QPoint at) const
{
    QProcess xdotool;
    xdotool.setProcessEnvironment(environment());
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                   QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    xdotool.waitForFinished();
}

}  // namespace testsupport
