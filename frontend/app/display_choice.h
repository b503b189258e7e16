// The display plugin chosen before QApplication is made: the X11 one when
// an X display answers and the user has set no QT_QPA_PLATFORM (see
// startup/display_platform.h).
#ifndef FRONTEND_APP_DISPLAY_CHOICE_H_
#define FRONTEND_APP_DISPLAY_CHOICE_H_

struct xcb_connection_t;

namespace frontend {

class DisplayChoice {
 public:
  // Sets QT_QPA_PLATFORM for this process as displayPlatformFor() says,
  // from the environment and, only when the user set none, a test
  // connection to $DISPLAY.
  DisplayChoice();
  ~DisplayChoice();
  DisplayChoice(const DisplayChoice&) = delete;
  DisplayChoice& operator=(const DisplayChoice&) = delete;

  // To be called once QApplication is made: unsets QT_QPA_PLATFORM again
  // when this set it, so that the programs started later see the user's
  // own environment, and closes the test connection. The connection stays
  // open until then because an X server left without clients resets
  // itself, and the application's own connection would wait for that.
  void applicationStarted();

 private:
  bool chosen_ = false;
  xcb_connection_t* testConnection_ = nullptr;
};

}  // namespace frontend

#endif  // FRONTEND_APP_DISPLAY_CHOICE_H_
