// The platform whose file-name conventions a rule follows. Rules that differ
// take it as a parameter so that both variants are tested on any host.
#ifndef FRONTEND_DESKTOP_PLATFORM_H_
#define FRONTEND_DESKTOP_PLATFORM_H_

#include <QtGlobal>

namespace frontend {

enum class Platform { Linux, Windows };

#ifdef Q_OS_WIN
inline constexpr Platform kHostPlatform = Platform::Windows;
#else
inline constexpr Platform kHostPlatform = Platform::Linux;
#endif

}  // namespace frontend

#endif  // FRONTEND_DESKTOP_PLATFORM_H_
