// Programs run without a terminal, their output captured and their end
// watched, so that the front end can tell the user how each ended. Each
// runs detached, through the script of run/captured_run.h, with its
// output in a file of a private temporary folder: it never blocks the
// window, several may run at once, and one may outlive the front end (the
// folder goes with the front end; the program writes on into its open file
// and its status is lost).
#ifndef FRONTEND_QT_DESKTOP_CAPTURED_RUNS_H_
#define FRONTEND_QT_DESKTOP_CAPTURED_RUNS_H_

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <list>
#include <memory>

#include "frontend/launch/program_lookup.h"

namespace frontend {

// How a captured run ended.
struct RunOutcome {
  int exitStatus = 0;     // the shell's status: above 128, ended by a signal
  QStringList lastLines;  // the last lines it printed (captured_run.h)
};

class CapturedRuns : public QObject {
  Q_OBJECT

 public:
  using Report = std::function<void(const RunOutcome&)>;

  explicit CapturedRuns(QObject* parent = nullptr);
  ~CapturedRuns() override;

  // Starts `request` in `folder`, standard input from the null device,
  // standard output and error into one capture file, and returns at once.
  // `report` is called from the event loop when it has ended. False (and
  // no report) when it could not be started: the program (a path, relative
  // to `folder` or absolute) is not an executable file, or `folder` is not
  // there.
  bool start(const StartRequest& request, const QString& folder, Report report);

  // How many started runs have not been reported yet.
  int pending() const { return static_cast<int>(runs_.size()); }

 private slots:
  // The capture folder changed: reports the runs whose status has come.
  void collectEnded();

 private:
  struct Run {
    QString statusFile;
    QString outputFile;
    Report report;
    int exitStatus;
  };

  std::unique_ptr<QTemporaryDir> folder_;
  QFileSystemWatcher watcher_;
  std::list<Run> runs_;
  int started_ = 0;
};

}  // namespace frontend

#endif  // FRONTEND_QT_DESKTOP_CAPTURED_RUNS_H_
