// The display plugin chosen before QApplication is made: the X11 one when
// an X display answers and the user has set no QT_QPA_PLATFORM (see
// startup/display_platform.h).
#ifndef FRONTEND_APP_DISPLAY_CHOICE_H_
#define FRONTEND_APP_DISPLAY_CHOICE_H_

namespace frontend {

// Sets QT_QPA_PLATFORM for this process as displayPlatformFor() says, from
// the environment and a test connection to $DISPLAY. Returns whether it set
// it, so that the caller can unset it again once QApplication has read it
// and the programs started later see the user's own environment.
bool chooseDisplayPlatform();

}  // namespace frontend

#endif  // FRONTEND_APP_DISPLAY_CHOICE_H_
