#include "shell/window_manager_hints.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The fields of _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr std::uint32_t hintsFunctions = 1u << 0;
constexpr std::uint32_t hintsDecorations = 1u << 1;
constexpr std::uint32_t functionResize = 1u << 1;
constexpr std::uint32_t functionMove = 1u << 2;
constexpr std::uint32_t decorationBorder = 1u << 1;
constexpr std::uint32_t decorationResize = 1u << 2;
constexpr std::uint32_t decorationTitle = 1u << 3;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

void setText(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
             const QByteArray& text) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<std::uint32_t>(text.size()), text.constData());
}

// A window's property, at most `longs` 32-bit units of it, as bytes; empty when absent.
QByteArray readProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                        std::uint32_t longs) {
    const auto cookie =
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longs);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (reply == nullptr) return {};
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window) {
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (reply == nullptr) return XCB_WINDOW_NONE;
    const xcb_window_t root = reply->root;
    std::free(reply);
    return root;
}

// The name the running window manager gives itself on its check window (EWMH), empty when unknown.
QByteArray windowManagerName(xcb_connection_t* connection, xcb_window_t root) {
    if (root == XCB_WINDOW_NONE) return {};
    const QByteArray check =
        readProperty(connection, root, internAtom(connection, "_NET_SUPPORTING_WM_CHECK"), 1);
    if (check.size() != sizeof(xcb_window_t)) return {};
    xcb_window_t manager = 0;
    std::memcpy(&manager, check.constData(), sizeof manager);
    return readProperty(connection, manager, internAtom(connection, "_NET_WM_NAME"), 64);
}

// Openbox keeps minimise and maximise on every dialog whatever the Motif hints say, and drops them
// only from toolbar windows, which it still gives a caption and a close box. So under openbox the
// dialog is declared a toolbar first and a dialog second; window managers that follow the hints
// keep the dialog type, as some of them draw toolbars without a caption.
void preferToolbarType(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_atom_t types[] = {internAtom(connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                internAtom(connection, "_NET_WM_WINDOW_TYPE_DIALOG")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        internAtom(connection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 2, types);
}

void restrictDialog(QWidget* dialog, const QString& caption) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(dialog->winId());
    // A dialog the user may resize (a file prompt) keeps its border for that.
    const bool resizable = dialog->minimumSize() != dialog->maximumSize();
    const std::uint32_t hints[5] = {
        hintsFunctions | hintsDecorations, functionMove | (resizable ? functionResize : 0),
        decorationBorder | decorationTitle | (resizable ? decorationResize : 0), 0, 0};
    const xcb_atom_t motifHints = internAtom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, motifHints, motifHints, 32, 5, hints);
    setText(connection, window, internAtom(connection, "_NET_WM_NAME"), internAtom(connection, "UTF8_STRING"),
            caption.toUtf8());
    setText(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, caption.toLatin1());
    if (windowManagerName(connection, rootOf(connection, window)) == "Openbox")
        preferToolbarType(connection, window);
    xcb_flush(connection);
}

} // namespace

#else

namespace {
void restrictDialog(QWidget*, const QString&) {}
} // namespace

#endif

namespace {

// Sees every window the program shows before the window manager does.
class DialogGuard : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->windowType() == Qt::Dialog &&
            !widget->windowFlags().testFlag(Qt::FramelessWindowHint))
            restrictDialog(widget, widget->windowTitle());
        return false;
    }
};

} // namespace

void guardDialogWindows(QApplication& application) {
    application.installEventFilter(new DialogGuard(&application));
}
