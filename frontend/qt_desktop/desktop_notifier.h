// Short desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). Nothing is modal and
// nothing waits: a notice is sent and its answer ignored; without a session
// bus, or with no service running on it, nothing happens (no service is
// started for it).
#ifndef FRONTEND_QT_DESKTOP_DESKTOP_NOTIFIER_H_
#define FRONTEND_QT_DESKTOP_DESKTOP_NOTIFIER_H_

#include <QDBusConnection>
#include <optional>

#include "frontend/desktop/messages.h"

namespace frontend {

class DesktopNotifier {
 public:
  // How long a notice stays, in milliseconds.
  static constexpr int kShownMilliseconds = 6000;

  // Sends `notice` on the bus set by useBus(), else on the session bus when
  // this process has one: DBUS_SESSION_BUS_ADDRESS set, or the socket
  // $XDG_RUNTIME_DIR/bus there. Returns whether it was sent.
  bool notify(const DesktopNotice& notice);

  // Sends the notices on `bus` from now on (tests: a private bus).
  void useBus(const QDBusConnection& bus) { bus_ = bus; }

 private:
  std::optional<QDBusConnection> bus_;
};

}  // namespace frontend

#endif  // FRONTEND_QT_DESKTOP_DESKTOP_NOTIFIER_H_
