// Computing the Listen panel's auralisations off the window's thread, into
// memory: each is a job on a pool of worker threads (one fewer than the
// cores, at least one, as the analysis runner's), run in the order started,
// so the auralisation chosen first is computed first. A job opens the dry
// signal (listen/files/sound_reader.h), prepares the response as irconv does
// (listen/response/prepare.h: a pair as left and right, resampled to the dry's
// rate) and runs listen::auralise() into an AuralisationBuffer. Its signals
// arrive on the runner's thread:
//   begun(job, buffer) once the buffer exists (frames arrive in it after),
//   then finished(job) or failed(job, message); a cancelled job ends
//   without either. A dry signal longer than kMaxDrySeconds fails.
// The destructor cancels every job and waits for them.
#ifndef IRVIEW_PLAYER_AURALISATION_RUNNER_H_
#define IRVIEW_PLAYER_AURALISATION_RUNNER_H_

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "analysis/response.h"
#include "irview/player/auralisation_buffer.h"

namespace irview {

// The longest dry signal taken: every auralisation is kept in memory (20
// minutes of stereo at 48 kHz: 0.9 GB a response).
inline constexpr int kMaxDrySeconds = 20 * 60;

class AuralisationRunner : public QObject {
  Q_OBJECT

 public:
  explicit AuralisationRunner(QObject* parent = nullptr);
  ~AuralisationRunner() override;

  // Starts the auralisation of the dry signal at `dryPath` with the
  // response made of `files` (one, or a mono pair), named in messages by
  // `names`; returns the job's number (from 1).
  int start(const QString& dryPath,
            std::vector<std::shared_ptr<const analysis::ResponseFile>> files,
            const QStringList& names);
  // Stops a job at its next block (or before it begins); it then ends
  // without a signal.
  void cancel(int job);
  void cancelAll();
  // Blocks until every job is over (its last signal may still be queued).
  void waitForIdle();

 signals:
  void begun(int job, std::shared_ptr<const irview::AuralisationBuffer> buffer);
  void finished(int job);
  void failed(int job, const QString& message);

 private:
  void run(int number, const std::string& dryPath,
           const std::vector<std::shared_ptr<const analysis::ResponseFile>>& files,
           const QStringList& names, const std::shared_ptr<std::atomic<bool>>& stop);
  void post(std::function<void()> call);

  QThreadPool pool_;
  std::mutex openMutex_;
  QHash<int, std::shared_ptr<std::atomic<bool>>> stops_;
  int lastNumber_ = 0;
};

}  // namespace irview

#endif  // IRVIEW_PLAYER_AURALISATION_RUNNER_H_
