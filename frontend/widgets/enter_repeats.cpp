#include "frontend/widgets/enter_repeats.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace frontend {
namespace {

class EnterRepeatFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      // Eaten here, the repeat reaches neither the button nor, through it,
      // the dialog whose default button it might press.
      if (key->isAutoRepeat() && (key->key() == Qt::Key_Enter || key->key() == Qt::Key_Return))
        return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void ignoreEnterRepeats(QAbstractButton* button) {
  // Owned by the button, so it lives exactly as long as what it watches.
  button->installEventFilter(new EnterRepeatFilter(button));
}

}  // namespace frontend
