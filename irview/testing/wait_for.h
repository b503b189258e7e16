// For tests: waits, handling the events of this thread, until `done` holds
// or `milliseconds` have passed; returns whether it holds.
#ifndef IRVIEW_TESTING_WAIT_FOR_H_
#define IRVIEW_TESTING_WAIT_FOR_H_

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace irview::testing {

inline bool waitFor(const std::function<bool()>& done, int milliseconds = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_WAIT_FOR_H_
