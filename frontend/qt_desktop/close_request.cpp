#include "frontend/qt_desktop/close_request.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#if defined(FRONTEND_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace frontend {

#if defined(FRONTEND_HAVE_XCB) && QT_CONFIG(xcb)
namespace {

uint32_t internAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return 0;
  const uint32_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace
#endif

PassCloseRequests::PassCloseRequests(QWidget* window) : window_(window) {
#if defined(FRONTEND_HAVE_XCB) && QT_CONFIG(xcb)
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !window_) return;
  protocolsAtom_ = internAtom(x11->connection(), "WM_PROTOCOLS");
  deleteAtom_ = internAtom(x11->connection(), "WM_DELETE_WINDOW");
  if (protocolsAtom_ && deleteAtom_) QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

PassCloseRequests::~PassCloseRequests() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool PassCloseRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#if defined(FRONTEND_HAVE_XCB) && QT_CONFIG(xcb)
  if (eventType != "xcb_generic_event_t" || !window_ || !window_->internalWinId()) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  const auto* client = static_cast<const xcb_client_message_event_t*>(message);
  if (client->window != window_->internalWinId() || client->type != protocolsAtom_ ||
      client->format != 32 || client->data.data32[0] != deleteAtom_)
    return false;
  QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
  return true;
#else
  (void)eventType;
  (void)message;
  return false;
#endif
}

}  // namespace frontend
