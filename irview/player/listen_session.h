// The Listen panel's player, without widgets: a dry signal, the responses
// (listen_responses.h), their auralisations computed in the background
// (AuralisationRunner, the chosen one first), the mixer that plays them
// (ListenMixer) and the stream it goes to (AudioOutput).
//
// Play starts as soon as the chosen auralisation is computed a second
// ahead of the position and its loudness is known (it is computed far
// faster than it plays), so it does not wait for the whole. Choosing
// another response while playing crossfades to it at the same position,
// once that one is computed there; until then the choice waits. Gains
// follow listenGainsDb() as the loudness becomes known, ramped while
// playing. At the end of the chosen auralisation playing stops and the
// position returns to the start.
//
// Export writes the chosen auralisation as irconv writes it with its
// defaults: the format from the name's extension, 24-bit samples, the
// peak brought to -1 dBFS (listen/level/gain.h, listen/files/sound_writer.h).
#ifndef IRVIEW_PLAYER_LISTEN_SESSION_H_
#define IRVIEW_PLAYER_LISTEN_SESSION_H_

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "irview/player/audio_output.h"
#include "irview/player/auralisation_runner.h"
#include "irview/player/listen_mixer.h"
#include "irview/player/listen_responses.h"

namespace irview {

class ListenSession : public QObject {
  Q_OBJECT

 public:
  enum class State { Stopped, Waiting, Playing };

  explicit ListenSession(AudioOutput& output, QObject* parent = nullptr);
  ~ListenSession() override;

  // Why there is no sound (the output's answer at construction), or empty.
  const QString& audioProblem() const { return audioProblem_; }

  // A new dry signal: stops playing and computes every auralisation again.
  void setDrySignal(const QString& path);
  const QString& drySignal() const { return dry_; }
  // The responses offered; the ones kept keep their auralisations, the
  // chosen one stays chosen while it is there (else the first is).
  void setResponses(const std::vector<ListenResponse>& responses);
  int responseCount() const { return static_cast<int>(slots_.size()); }
  const ListenResponse& response(int index) const { return slots_[index].response; }
  // True once the auralisation of the response at `index` is complete.
  bool computed(int index) const;
  // Why the auralisation at `index` cannot be made, or empty.
  const QString& failure(int index) const { return slots_[index].failure; }

  void choose(int index);
  int chosen() const { return chosen_; }
  void setMatchLoudness(bool on);
  bool matchLoudness() const { return matchLoudness_; }

  // Play needs sound, a dry signal and a response that can be auralised.
  bool canPlay() const;
  void play();
  void stop();
  void togglePlay();
  State state() const { return state_; }
  void seek(double seconds);
  double positionSeconds() const;
  // The chosen auralisation's length; 0 before it has begun.
  double lengthSeconds() const;

  // Writes the chosen auralisation to `path` (.wav or .flac) as irconv
  // would; returns an empty text or why it was not written (the file is
  // then as it was).
  QString exportChosen(const QString& path) const;

  const ListenMixer& mixer() const { return mixer_; }
  AuralisationRunner& runner() { return runner_; }

 signals:
  // The state, the responses, the choice, the position or a computation
  // changed.
  void changed();
  // An auralisation cannot be made: a line for the user.
  void problem(const QString& message);

 private:
  struct Slot {
    ListenResponse response;
    int job = 0;
    std::shared_ptr<const AuralisationBuffer> buffer;
    QString failure;
  };
  void startJobs();
  void restartJobs();
  void begun(int job, std::shared_ptr<const AuralisationBuffer> buffer);
  void jobFinished(int job);
  void jobFailed(int job, const QString& message);
  int slotOfJob(int job) const;
  // Whether the auralisation at `index` can play from the position on.
  bool ready(int index) const;
  void updateSources();
  void updateGains(bool ramp);
  void tick();
  std::size_t pull(std::span<float> frames);

  AudioOutput& output_;
  QString audioProblem_;
  AuralisationRunner runner_;
  ListenMixer mixer_;
  QTimer timer_;
  QString dry_;
  std::vector<Slot> slots_;
  int chosen_ = 0;
  int pendingChoice_ = -1;
  bool matchLoudness_ = true;
  State state_ = State::Stopped;
  double rateHz_ = 0.0;
  std::vector<double> appliedGainsDb_;
  QString lastProblem_;  // since the dry signal was chosen
  int playRun_ = 0;      // counts play()
};

}  // namespace irview

#endif  // IRVIEW_PLAYER_LISTEN_SESSION_H_
