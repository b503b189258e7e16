#include "frontend/widgets/select_on_focus.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace frontend {
namespace {

class SelectOnFocusFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Not a line edit any more while the field is being destroyed, when it
    // still sends events.
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) return QObject::eventFilter(watched, event);
    switch (event->type()) {
      case QEvent::FocusIn: {
        const int length = int(field->text().size());
        field->setSelection(length, -length);
        // A click gives the focus before the field sees its press.
        swallowPress_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (swallowPress_) {
          swallowPress_ = false;
          return true;
        }
        break;
      case QEvent::FocusOut:
      case QEvent::KeyPress:
        swallowPress_ = false;
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool swallowPress_ = false;
};

}  // namespace

void selectAllOnFocus(QLineEdit* field) {
  // Owned by the field, so it lives exactly as long as what it watches.
  field->installEventFilter(new SelectOnFocusFilter(field));
}

}  // namespace frontend
