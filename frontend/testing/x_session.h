// A private X server for the tests that start the built program on a real
// display, and what they read back from it: windows found by name through
// xdotool, and (with the X11 client library) the geometry of the frames a
// window manager draws, window properties, the clipboard and the close
// request a window manager sends. Everything is read from the X server,
// never from Qt, and every wait polls up to a generous timeout.
#ifndef FRONTEND_TESTING_X_SESSION_H_
#define FRONTEND_TESTING_X_SESSION_H_

#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>
#include <functional>

#ifdef FRONTEND_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace frontend {

// An X server of the test's own, on a display number that Xvfb picks free.
// It never resets: an X server left without clients (between two xdotool
// runs, say) otherwise resets itself, and a client that connects meanwhile
// may be refused.
class XServer {
 public:
  ~XServer() {
    server_.kill();
    server_.waitForFinished(5000);
  }
  // False when Xvfb could not be started or reported no display.
  bool start(const QString& xvfb, const QString& screen = QStringLiteral("800x600x24")) {
    server_.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", screen});
    if (!server_.waitForStarted(5000)) return false;
    for (int waited = 0; waited < 10000 && !server_.canReadLine(); waited += 50)
      server_.waitForReadyRead(50);
    bool ok = false;
    const int number = server_.readLine().trimmed().toInt(&ok);
    if (ok) display_ = QStringLiteral(":%1").arg(number);
    return ok;
  }
  const QString& display() const { return display_; }

 private:
  QProcess server_;
  QString display_;
};

// Runs xdotool with `arguments` on the current DISPLAY and returns what it
// printed; its own exit status ends an empty search.
inline QString runXdotool(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStandardPaths::findExecutable("xdotool"), arguments);
  if (!xdotool.waitForFinished(10000)) xdotool.kill();
  return QString::fromUtf8(xdotool.readAllStandardOutput());
}

// The visible windows whose name matches the regular expression `name`.
inline QStringList visibleWindows(const QString& name) {
  return runXdotool({"search", "--onlyvisible", "--name", name}).split(u'\n', Qt::SkipEmptyParts);
}

// The first visible window of `name`, waited for up to `milliseconds`;
// empty when none came.
inline QString waitForWindow(const QString& name, int milliseconds = 20000) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    const QStringList ids = visibleWindows(name);
    if (!ids.isEmpty()) return ids.first();
    QTest::qWait(100);
  }
  return QString();
}

// Waits up to `milliseconds` for `condition`; true when it came.
inline bool waitFor(const std::function<bool()>& condition, int milliseconds = 20000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (condition()) return true;
    QTest::qWait(50);
  }
  return condition();
}

#ifdef FRONTEND_HAVE_XCB
// A client connection to the display, for reading what the server knows.
class XConnection {
 public:
  explicit XConnection(const QString& display)
      : connection_(xcb_connect(display.toUtf8().constData(), nullptr)) {
    if (!xcb_connection_has_error(connection_))
      root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }
  ~XConnection() { xcb_disconnect(connection_); }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  bool ok() const { return root_ != 0; }
  uint32_t root() const { return root_; }

  uint32_t atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name), nullptr);
    const uint32_t value = reply ? reply->atom : 0;
    std::free(reply);
    return value;
  }

  // The 32-bit items of a property (atoms, cardinals, size hints); empty
  // when the window has none.
  std::vector<uint32_t> property32(uint32_t window, const char* name) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    std::vector<uint32_t> items;
    if (reply && reply->format == 32) {
      const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
      items.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return items;
  }

  // The window's own area in root coordinates.
  QRect clientGeometry(uint32_t window) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
    QRect rect;
    if (geometry && place) rect = QRect(place->dst_x, place->dst_y, geometry->width, geometry->height);
    std::free(geometry);
    std::free(place);
    return rect;
  }

  // The outer edge of what stands on the root window for `window`: the
  // frame a window manager put it in (its border included), or the window
  // itself when it has none.
  QRect frameGeometry(uint32_t window) {
    uint32_t top = window;
    for (;;) {
      xcb_query_tree_reply_t* tree =
          xcb_query_tree_reply(connection_, xcb_query_tree(connection_, top), nullptr);
      const uint32_t parent = tree ? tree->parent : 0;
      std::free(tree);
      if (parent == 0 || parent == root_) break;
      top = parent;
    }
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, top), nullptr);
    QRect rect;
    if (geometry) {
      const int border = geometry->border_width;
      rect = QRect(geometry->x, geometry->y, geometry->width + 2 * border,
                   geometry->height + 2 * border);
    }
    std::free(geometry);
    return rect;
  }

  // What a window manager sends when the close box of `window` is clicked.
  void sendCloseRequest(uint32_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
  }

  // The text on the clipboard (CLIPBOARD as UTF-8), asked of its owner;
  // empty when there is none or no answer came within `milliseconds`.
  QString clipboardText(int milliseconds = 10000) {
    const uint32_t requestor = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, requestor, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    const uint32_t target = atom("UTF8_STRING");
    const uint32_t into = atom("SONABRIX_TEST_CLIPBOARD");
    xcb_convert_selection(connection_, requestor, atom("CLIPBOARD"), target, into,
                          XCB_CURRENT_TIME);
    xcb_flush(connection_);
    QString text;
    bool answered = false;
    for (int waited = 0; waited < milliseconds && !answered; waited += 10) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_SELECTION_NOTIFY) {
          answered = true;
          if (reinterpret_cast<xcb_selection_notify_event_t*>(event)->property != XCB_NONE) {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 1, requestor, into, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                 1 << 20),
                nullptr);
            if (reply)
              text = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                       xcb_get_property_value_length(reply));
            std::free(reply);
          }
        }
        std::free(event);
      }
      if (!answered) QTest::qWait(10);
    }
    xcb_destroy_window(connection_, requestor);
    xcb_flush(connection_);
    return text;
  }

 private:
  xcb_connection_t* connection_;
  uint32_t root_ = 0;
};
#endif

}  // namespace frontend

#endif  // FRONTEND_TESTING_X_SESSION_H_
