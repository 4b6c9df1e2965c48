#include "shell/window_manager_hints.h"

#include <QGuiApplication>
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
constexpr std::uint32_t functionMove = 1u << 2;
constexpr std::uint32_t decorationBorder = 1u << 1;
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

} // namespace

void restrictCaptionedDialog(QWidget* dialog, const QString& caption) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(dialog->winId());
    const std::uint32_t hints[5] = {hintsFunctions | hintsDecorations, functionMove,
                                    decorationBorder | decorationTitle, 0, 0};
    const xcb_atom_t motifHints = internAtom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, motifHints, motifHints, 32, 5, hints);
    setText(connection, window, internAtom(connection, "_NET_WM_NAME"), internAtom(connection, "UTF8_STRING"),
            caption.toUtf8());
    setText(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, caption.toLatin1());
    xcb_flush(connection);
}

#else

void restrictCaptionedDialog(QWidget*, const QString&) {}

#endif
