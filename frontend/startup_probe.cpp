#include "frontend/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace frontend {

namespace {

class FirstPaintProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::printf("first-paint-ns %lld\n",
                  static_cast<long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
      std::fflush(stdout);
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool reported_ = false;
};

}  // namespace

void installStartupProbe(QWidget& window) {
  if (qEnvironmentVariable("SONABRIX_STARTUP_PROBE") != QLatin1String("1")) return;
  window.installEventFilter(new FirstPaintProbe(&window));
}

}  // namespace frontend
