#include "frontend/app/display_choice.h"

#include <QByteArray>

#include "frontend/startup/display_platform.h"

#ifdef FRONTEND_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace frontend {

namespace {

bool xDisplayAnswers() {
  const QByteArray display = qgetenv("DISPLAY");
  if (display.isEmpty()) return false;
#ifdef FRONTEND_HAVE_XCB
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reachable;
#else
  return true;
#endif
}

}  // namespace

bool chooseDisplayPlatform() {
  const std::optional<QString> platform = displayPlatformFor(
      {qEnvironmentVariable("QT_QPA_PLATFORM"), xDisplayAnswers()});
  if (!platform) return false;
  qputenv("QT_QPA_PLATFORM", platform->toUtf8());
  return true;
}

}  // namespace frontend
