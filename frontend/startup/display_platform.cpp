#include "frontend/startup/display_platform.h"

namespace frontend {

std::optional<QString> displayPlatformFor(const DisplayEnvironment& environment) {
  if (!environment.chosenPlatform.isEmpty() || !environment.xDisplayReachable) return std::nullopt;
  return QStringLiteral("xcb");
}

}  // namespace frontend
