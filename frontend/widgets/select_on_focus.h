// Text fields that select their whole text when they get the keyboard focus,
// so that typing replaces it: by Tab and by a mouse click alike.
#ifndef FRONTEND_WIDGETS_SELECT_ON_FOCUS_H_
#define FRONTEND_WIDGETS_SELECT_ON_FOCUS_H_

class QLineEdit;

namespace frontend {

// From now on `field` selects its whole text, caret at the start, whenever
// it gets the focus. The mouse press that gives the focus is not passed on,
// since the field would place its caret there and drop the selection; later
// presses place the caret as usual.
void selectAllOnFocus(QLineEdit* field);

}  // namespace frontend

#endif  // FRONTEND_WIDGETS_SELECT_ON_FOCUS_H_
