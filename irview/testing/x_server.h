// A private X server (Xvfb) for the tests that start the viewer on a real
// display: Xvfb picks a free display number and reports it (-displayfd).
#ifndef IRVIEW_TESTING_X_SERVER_H_
#define IRVIEW_TESTING_X_SERVER_H_

#include <QProcess>
#include <QString>

namespace irview::testing {

class XServer {
 public:
  ~XServer() {
    server_.kill();
    server_.waitForFinished(5000);
  }
  // False when Xvfb could not be started or reported no display.
  bool start(const QString& xvfb) {
    server_.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (!server_.waitForStarted(5000)) return false;
    for (int waited = 0; waited < 10000 && !server_.canReadLine(); waited += 50)
      server_.waitForReadyRead(50);
    bool ok = false;
    const int number = server_.readLine().trimmed().toInt(&ok);
    if (ok) display_ = QStringLiteral(":%1").arg(number);
    return ok;
  }
  const QString& display() const { return display_; }

 private:
  QProcess server_;
  QString display_;
};

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_X_SERVER_H_
