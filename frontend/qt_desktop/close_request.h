// The close box of a window that a modal window blocks. Qt drops a window
// manager's close request for such a window, so that closing the main window
// while the filter editor is open would do nothing; the main window is meant
// to close, and the editor with it.
#ifndef FRONTEND_QT_DESKTOP_CLOSE_REQUEST_H_
#define FRONTEND_QT_DESKTOP_CLOSE_REQUEST_H_

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace frontend {

// While it lives, a close request of the window manager for `window` closes
// `window` (queued, as a click on its close box does) even when a modal
// window blocks it. On X11 only; elsewhere it does nothing.
class PassCloseRequests : public QAbstractNativeEventFilter {
 public:
  explicit PassCloseRequests(QWidget* window);
  ~PassCloseRequests() override;
  PassCloseRequests(const PassCloseRequests&) = delete;
  PassCloseRequests& operator=(const PassCloseRequests&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
  uint32_t protocolsAtom_ = 0;
  uint32_t deleteAtom_ = 0;
};

}  // namespace frontend

#endif  // FRONTEND_QT_DESKTOP_CLOSE_REQUEST_H_
