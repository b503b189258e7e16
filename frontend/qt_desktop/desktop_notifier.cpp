#include "frontend/qt_desktop/desktop_notifier.h"

#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

namespace frontend {

namespace {

// Whether a session bus is there to be reached, without the bus library
// starting one ("autolaunch") when it is not.
bool sessionBusPresent() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.isEmpty()) return false;
  const QFileInfo socket(QDir(runtime).filePath(QStringLiteral("bus")));
  return socket.exists() && !socket.isDir();
}

}  // namespace

bool DesktopNotifier::notify(const DesktopNotice& notice) {
  if (!bus_) {
    if (!sessionBusPresent()) return false;
    bus_ = QDBusConnection::sessionBus();
  }
  if (!bus_->isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call.setAutoStartService(false);
  const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("sonabrix")}};
  call << QStringLiteral("Sonabrix") << 0u << QStringLiteral("sonabrix") << notice.summary
       << notice.body << QStringList() << hints << kShownMilliseconds;
  return bus_->send(call);
}

}  // namespace frontend
