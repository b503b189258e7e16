// A message box as a value: what the rules ask the window to tell the user.
// The desktop interface shows it; tests compare it.
#ifndef FRONTEND_DESKTOP_USER_MESSAGE_H_
#define FRONTEND_DESKTOP_USER_MESSAGE_H_

#include <QString>

namespace frontend {

enum class MessageIcon { None, Critical, Exclamation };
enum class MessageButtons { Ok, YesNo };

struct UserMessage {
  QString title;
  QString text;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;

  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

}  // namespace frontend

#endif  // FRONTEND_DESKTOP_USER_MESSAGE_H_
