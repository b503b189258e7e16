#include "frontend/app/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "frontend/main_window/main_window.h"

namespace frontend {

namespace {

const char* modeName(std::optional<Mode> mode) {
  if (!mode) return "none";
  switch (*mode) {
    case Mode::wavtim: return "wavtim";
    case Mode::timwav: return "timwav";
    case Mode::bktim: return "bktim";
    case Mode::veratim: return "veratim";
    case Mode::verawav: return "verawav";
  }
  return "none";
}

class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(MainWindow* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::printf("first-paint-ns %lld\n",
                  static_cast<long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
      std::printf("start-mode %s\n", modeName(window_->readForm().CurrentMode));
      std::fflush(stdout);
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  MainWindow* window_;
  bool reported_ = false;
};

}  // namespace

void installStartupProbe(MainWindow& window) {
  if (qEnvironmentVariable("SONABRIX_STARTUP_PROBE") != QLatin1String("1")) return;
  window.installEventFilter(new FirstPaintProbe(&window));
}

}  // namespace frontend
