// Enter and Return press a focused push button once per key press. A held key
// sends auto-repeated presses, and a push button that takes Enter clicks on
// every one: "OK - Convert!" would start a converter per repeat, and the
// repeats after "Exit" would answer the question box that the first press
// opened. The repeats are dropped before the button sees them.
#ifndef FRONTEND_WIDGETS_ENTER_REPEATS_H_
#define FRONTEND_WIDGETS_ENTER_REPEATS_H_

class QAbstractButton;

namespace frontend {

// From now on `button` ignores auto-repeated Enter and Return presses; the
// first press of a held key still clicks it. Space is not touched: a button
// clicks on the release of Space, once per press already.
void ignoreEnterRepeats(QAbstractButton* button);

}  // namespace frontend

#endif  // FRONTEND_WIDGETS_ENTER_REPEATS_H_
