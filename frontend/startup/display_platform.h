// Which Qt display plugin sonabrix asks for. In a Wayland session a window
// cannot place itself, and the filter editor docks beside the main window;
// so when an X display is reachable (XWayland, or a plain X session) the
// X11 plugin is chosen, unless the user has chosen one.
#ifndef FRONTEND_STARTUP_DISPLAY_PLATFORM_H_
#define FRONTEND_STARTUP_DISPLAY_PLATFORM_H_

#include <QString>
#include <optional>

namespace frontend {

struct DisplayEnvironment {
  QString chosenPlatform;  // QT_QPA_PLATFORM; empty when unset
  bool xDisplayReachable = false;
};

// "xcb" when no platform is chosen and an X display is reachable; nullopt
// otherwise (Qt then picks as it always does). A "-platform" option on the
// command line still wins: Qt reads it after the environment.
std::optional<QString> displayPlatformFor(const DisplayEnvironment& environment);

}  // namespace frontend

#endif  // FRONTEND_STARTUP_DISPLAY_PLATFORM_H_
