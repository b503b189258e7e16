#include "irview/window/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "irview/plots/waveform_plot.h"
#include "irview/window/viewer_window.h"

namespace irview {

namespace {

void printTime(const char* what) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::printf(
      "%s %lld\n", what,
      static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
  std::fflush(stdout);
}

class StartupProbe : public QObject {
 public:
  explicit StartupProbe(ViewerWindow* window) : QObject(window), window_(window) {
    // The runner is idle after its last result; the window shows it after.
    connect(&window->runner(), &AnalysisRunner::progressChanged, this,
            &StartupProbe::checkAnalysed);
    connect(window, &ViewerWindow::fileUpdated, this, &StartupProbe::checkAnalysed);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_ && !window_->reading()) {
      painted_ = true;
      printTime("first-paint-ns");
      if (window_->settled()) analysed_ = true;  // nothing (more) to analyse
      finishWhenDone();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void checkAnalysed() {
    if (analysed_ || !window_->settled()) return;
    analysed_ = true;
    printTime("analysed-ns");
    finishWhenDone();
  }
  void finishWhenDone() {
    if (!painted_ || !analysed_) return;
    std::printf("traces %zu\n", window_->waveformPlot()->traces().size());
    const QString audio = window_->audioStatus();
    std::printf("audio %s\n", audio.isEmpty() ? "ok" : qPrintable(QStringLiteral("none: ") + audio));
    std::fflush(stdout);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }

  ViewerWindow* window_;
  bool painted_ = false;
  bool analysed_ = false;
};

}  // namespace

void installStartupProbe(ViewerWindow& window) {
  if (qEnvironmentVariable("IRVIEW_STARTUP_PROBE") != QLatin1String("1")) return;
  window.waveformPlot()->view()->viewport()->installEventFilter(new StartupProbe(&window));
}

}  // namespace irview
