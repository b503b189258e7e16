// Reading and analysing files off the window's thread. Each file is a job
// on a pool of worker threads, one fewer than the cores (at least one), so
// that the window keeps a core to paint: the file is read, then (after every
// file opened before has been read) its magnitude responses are computed
// and its bands analysed. What a job finds arrives as signals on the
// runner's own thread (the window's), in this order:
//   read(job, response) or readFailed(job, message), then
//   spectraReady(job, spectra), analysed(job, analysis) or stopped(job).
// progressChanged reports the share of the work done over the jobs that
// are running; it ends at 1.0 when the last job is over.
//
// stop() asks every job to stop after the band it is in (the analysis's
// progress callback answers false); the destructor stops them and waits, so
// no job outlives the runner.
#ifndef IRVIEW_MODEL_ANALYSIS_RUNNER_H_
#define IRVIEW_MODEL_ANALYSIS_RUNNER_H_

#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "irview/model/viewed_file.h"

namespace irview {

class AnalysisRunner : public QObject {
  Q_OBJECT

 public:
  explicit AnalysisRunner(QObject* parent = nullptr);
  ~AnalysisRunner() override;

  // Starts a job for the file at `path` and returns its number (from 1).
  int open(const QString& path);
  // Asks every running job to stop; each then ends with stopped().
  void stop();
  // Blocks until every job is over (its last signal may still be queued).
  void waitForIdle();
  bool busy() const { return !jobs_.isEmpty(); }
  // The bands of the jobs opened from now on: octaves (at first) or thirds.
  void setBandKind(analysis::BandKind kind) { bandKind_ = kind; }
  analysis::BandKind bandKind() const { return bandKind_; }

 signals:
  void read(int job, std::shared_ptr<const analysis::ResponseFile> response);
  void readFailed(int job, const QString& message);
  void spectraReady(int job, std::shared_ptr<const std::vector<ChannelSpectra>> spectra);
  void analysed(int job, std::shared_ptr<const FileAnalysis> analysis);
  void stopped(int job);
  void progressChanged(double done);

 private:
  struct Job {
    std::atomic<bool> stop{false};
    double done = 0.0;  // on the runner's thread only
    analysis::BandKind bands = analysis::BandKind::kOctave;  // set before it starts
  };
  // The two tasks of a job, on a worker thread: reading (which queues the
  // analysis), and the spectra and the analysis.
  void readFile(int number, const QString& path, const std::shared_ptr<Job>& job);
  void analyseFile(int number, const std::shared_ptr<const analysis::ResponseFile>& response,
                   const std::shared_ptr<Job>& job);
  void post(std::function<void()> call);
  void setProgress(int number, double done);
  void finish(int number);

  std::mutex readMutex_;
  QThreadPool pool_;
  QHash<int, std::shared_ptr<Job>> jobs_;
  int lastNumber_ = 0;
  analysis::BandKind bandKind_ = analysis::BandKind::kOctave;
};

}  // namespace irview

#endif  // IRVIEW_MODEL_ANALYSIS_RUNNER_H_
