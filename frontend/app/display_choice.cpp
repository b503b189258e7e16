#include "frontend/app/display_choice.h"

#include <QByteArray>

#include "frontend/startup/display_platform.h"

#ifdef FRONTEND_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace frontend {

DisplayChoice::DisplayChoice() {
  const QString userPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
  bool xAnswers = false;
  const QByteArray display = qgetenv("DISPLAY");
  if (userPlatform.isEmpty() && !display.isEmpty()) {
#ifdef FRONTEND_HAVE_XCB
    testConnection_ = xcb_connect(display.constData(), nullptr);
    xAnswers = xcb_connection_has_error(testConnection_) == 0;
#else
    xAnswers = true;
#endif
  }
  const std::optional<QString> platform = displayPlatformFor({userPlatform, xAnswers});
  if (!platform) return;
  qputenv("QT_QPA_PLATFORM", platform->toUtf8());
  chosen_ = true;
}

DisplayChoice::~DisplayChoice() { applicationStarted(); }

void DisplayChoice::applicationStarted() {
  if (chosen_) qunsetenv("QT_QPA_PLATFORM");
  chosen_ = false;
#ifdef FRONTEND_HAVE_XCB
  if (testConnection_) xcb_disconnect(testConnection_);
#endif
  testConnection_ = nullptr;
}

}  // namespace frontend
