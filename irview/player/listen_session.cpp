#include "irview/player/listen_session.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "listen/level/gain.h"
#include "listen/files/output_format.h"
#include "listen/files/sound_writer.h"

namespace irview {

namespace {

// How far ahead of the position an auralisation must be computed to play.
constexpr double kAheadSeconds = 1.0;
constexpr int kTickMilliseconds = 20;
// Longer than an output's buffer (irview/window/qt_audio_output.h).
constexpr int kDrainMilliseconds = 400;
// The mixer's fade length before the dry's rate is known.
constexpr double kDefaultRateHz = 48000.0;

}  // namespace

ListenSession::ListenSession(AudioOutput& output, QObject* parent)
    : QObject(parent),
      output_(output),
      audioProblem_(output.unavailable()),
      mixer_(static_cast<std::size_t>(kFadeSeconds * kDefaultRateHz)) {
  connect(&runner_, &AuralisationRunner::begun, this, &ListenSession::begun);
  connect(&runner_, &AuralisationRunner::finished, this, &ListenSession::jobFinished);
  connect(&runner_, &AuralisationRunner::failed, this, &ListenSession::jobFailed);
  timer_.setInterval(kTickMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &ListenSession::tick);
}

ListenSession::~ListenSession() {
  if (state_ == State::Playing) output_.stop();
  runner_.cancelAll();
}

void ListenSession::setDrySignal(const QString& path) {
  stop();
  dry_ = path;
  lastProblem_.clear();
  mixer_.seek(0);
  restartJobs();
  emit changed();
}

void ListenSession::setResponses(const std::vector<ListenResponse>& responses) {
  // The window gives the list again whenever a file's analysis arrives.
  if (std::equal(responses.begin(), responses.end(), slots_.begin(), slots_.end(),
                 [](const ListenResponse& r, const Slot& slot) { return r == slot.response; }))
    return;
  const ListenResponse* chosen =
      chosen_ < static_cast<int>(slots_.size()) ? &slots_[chosen_].response : nullptr;
  std::vector<Slot> kept;
  int newChosen = 0;
  for (const ListenResponse& response : responses) {
    Slot slot;
    slot.response = response;
    for (Slot& old : slots_)
      if (old.response == response && old.job >= 0) {
        slot = old;
        old.job = -1;  // taken
        break;
      }
    if (chosen && slot.response == *chosen) newChosen = static_cast<int>(kept.size());
    kept.push_back(std::move(slot));
  }
  for (const Slot& old : slots_)
    if (old.job > 0) runner_.cancel(old.job);
  const bool chosenKept = chosen && newChosen < static_cast<int>(kept.size()) &&
                          kept[newChosen].response == *chosen;
  slots_ = std::move(kept);
  chosen_ = newChosen;
  pendingChoice_ = -1;
  if (!chosenKept && state_ != State::Stopped) stop();
  updateSources();
  startJobs();
  emit changed();
}

void ListenSession::restartJobs() {
  runner_.cancelAll();
  for (Slot& slot : slots_) {
    slot.job = 0;
    slot.buffer.reset();
    slot.failure.clear();
  }
  rateHz_ = 0.0;
  updateSources();
  startJobs();
}

void ListenSession::startJobs() {
  if (dry_.isEmpty()) return;
  // The chosen first: the pool runs jobs in the order started.
  std::vector<int> order;
  if (chosen_ < static_cast<int>(slots_.size())) order.push_back(chosen_);
  for (int i = 0; i < static_cast<int>(slots_.size()); ++i)
    if (i != chosen_) order.push_back(i);
  for (const int i : order) {
    Slot& slot = slots_[i];
    if (slot.job != 0 || !slot.failure.isEmpty()) continue;
    std::vector<std::shared_ptr<const analysis::ResponseFile>> files = slot.response.files;
    slot.job = runner_.start(dry_, std::move(files), slot.response.paths);
  }
  timer_.start();
}

int ListenSession::slotOfJob(int job) const {
  for (int i = 0; i < static_cast<int>(slots_.size()); ++i)
    if (slots_[i].job == job) return i;
  return -1;
}

void ListenSession::begun(int job, std::shared_ptr<const AuralisationBuffer> buffer) {
  const int index = slotOfJob(job);
  if (index < 0) return;
  if (rateHz_ != buffer->sampleRateHz()) {
    rateHz_ = buffer->sampleRateHz();
    mixer_ = ListenMixer(static_cast<std::size_t>(std::lround(kFadeSeconds * rateHz_)));
    slots_[index].buffer = std::move(buffer);
    updateSources();
  } else {
    slots_[index].buffer = std::move(buffer);
    mixer_.setSource(static_cast<std::size_t>(index), slots_[index].buffer);
  }
  emit changed();
}

void ListenSession::jobFinished(int job) {
  if (slotOfJob(job) < 0) return;
  updateGains(state_ == State::Playing);
  emit changed();
}

void ListenSession::jobFailed(int job, const QString& message) {
  const int index = slotOfJob(job);
  if (index < 0) return;
  slots_[index].failure = message;
  slots_[index].buffer.reset();
  mixer_.setSource(static_cast<std::size_t>(index), nullptr);
  if (index == chosen_ && state_ != State::Stopped) stop();
  // A dry signal that cannot be read fails every response the same way:
  // told once.
  if (message != lastProblem_) emit problem(message);
  lastProblem_ = message;
  emit changed();
}

void ListenSession::updateSources() {
  const std::size_t position = mixer_.position();
  std::vector<std::shared_ptr<const AuralisationBuffer>> sources;
  for (const Slot& slot : slots_) sources.push_back(slot.buffer);
  mixer_.setSources(std::move(sources));
  mixer_.seek(position);
  mixer_.choose(static_cast<std::size_t>(chosen_), false);
  appliedGainsDb_.clear();
  updateGains(false);
}

void ListenSession::updateGains(bool ramp) {
  std::vector<double> loudness;
  for (const Slot& slot : slots_)
    loudness.push_back(slot.buffer ? playedLoudnessLufs(*slot.buffer) : std::nan(""));
  const std::vector<double> gains = listenGainsDb(loudness, matchLoudness_);
  if (gains == appliedGainsDb_) return;
  for (std::size_t i = 0; i < gains.size(); ++i)
    mixer_.setGain(i, std::pow(10.0, gains[i] / 20.0), ramp);
  appliedGainsDb_ = gains;
}

bool ListenSession::computed(int index) const {
  return slots_[index].buffer && slots_[index].buffer->isComplete();
}

bool ListenSession::ready(int index) const {
  if (index < 0 || index >= static_cast<int>(slots_.size())) return false;
  const std::shared_ptr<const AuralisationBuffer>& buffer = slots_[index].buffer;
  if (!buffer) return false;
  if (buffer->isComplete()) return true;
  const std::size_t ahead = static_cast<std::size_t>(kAheadSeconds * buffer->sampleRateHz());
  return buffer->computed() >= mixer_.position() + ahead && !std::isnan(buffer->loudnessLufs());
}

void ListenSession::choose(int index) {
  if (index < 0 || index >= static_cast<int>(slots_.size()) || index == chosen_) return;
  chosen_ = index;
  pendingChoice_ = -1;
  if (state_ == State::Playing) {
    if (ready(index))
      mixer_.choose(static_cast<std::size_t>(index), true);
    else
      pendingChoice_ = index;  // taken in tick() once computed there
  } else {
    mixer_.choose(static_cast<std::size_t>(index), false);
  }
  emit changed();
}

void ListenSession::setMatchLoudness(bool on) {
  if (on == matchLoudness_) return;
  matchLoudness_ = on;
  updateGains(state_ == State::Playing);
  emit changed();
}

bool ListenSession::canPlay() const {
  return audioProblem_.isEmpty() && !dry_.isEmpty() &&
         chosen_ < static_cast<int>(slots_.size()) && slots_[chosen_].failure.isEmpty();
}

void ListenSession::play() {
  if (state_ != State::Stopped || !canPlay()) return;
  ++playRun_;
  state_ = State::Waiting;
  timer_.start();
  tick();  // at once when it is computed already
  emit changed();
}

void ListenSession::stop() {
  if (state_ == State::Stopped) return;
  if (state_ == State::Playing) output_.stop();
  state_ = State::Stopped;
  pendingChoice_ = -1;
  // The choice made while it waited takes effect now.
  mixer_.choose(static_cast<std::size_t>(chosen_), false);
  emit changed();
}

void ListenSession::togglePlay() {
  if (state_ == State::Stopped)
    play();
  else
    stop();
}

void ListenSession::seek(double seconds) {
  if (rateHz_ <= 0.0) return;
  const double frame = std::max(0.0, seconds * rateHz_);
  mixer_.seek(std::min(static_cast<std::size_t>(frame), mixer_.length()));
  emit changed();
}

double ListenSession::positionSeconds() const {
  return rateHz_ > 0.0 ? static_cast<double>(mixer_.position()) / rateHz_ : 0.0;
}

double ListenSession::lengthSeconds() const {
  return rateHz_ > 0.0 ? static_cast<double>(mixer_.length()) / rateHz_ : 0.0;
}

void ListenSession::tick() {
  updateGains(state_ == State::Playing);
  if (state_ == State::Waiting && ready(chosen_)) {
    if (mixer_.position() >= mixer_.length()) mixer_.seek(0);
    const QString failed = output_.start(static_cast<int>(std::lround(rateHz_)),
                                         [this](std::span<float> frames) { return pull(frames); });
    if (!failed.isEmpty()) {
      state_ = State::Stopped;
      emit problem(failed);
    } else {
      state_ = State::Playing;
    }
  }
  if (state_ == State::Playing && pendingChoice_ >= 0 && ready(pendingChoice_)) {
    mixer_.choose(static_cast<std::size_t>(pendingChoice_), true);
    pendingChoice_ = -1;
  }
  bool computing = false;
  for (const Slot& slot : slots_)
    if (slot.job > 0 && slot.failure.isEmpty() && !(slot.buffer && slot.buffer->isComplete()))
      computing = true;
  if (state_ == State::Stopped && !computing) timer_.stop();
  emit changed();
}

std::size_t ListenSession::pull(std::span<float> frames) {
  const std::size_t written = mixer_.mix(frames);
  if (written < frames.size() / 2 && state_ == State::Playing) {
    // The end: stopped once the output has played what it holds, from the
    // start next time.
    QTimer::singleShot(kDrainMilliseconds, this, [this, run = playRun_] {
      if (run != playRun_) return;  // stopped and played again meanwhile
      stop();
      mixer_.seek(0);
      emit changed();
    });
  }
  return written;
}

QString ListenSession::exportChosen(const QString& path) const {
  if (chosen_ >= static_cast<int>(slots_.size()) || dry_.isEmpty())
    return QStringLiteral("there is no auralisation to export: open a dry signal and a response");
  const Slot& slot = slots_[chosen_];
  if (!slot.failure.isEmpty()) return slot.failure;
  if (!slot.buffer || !slot.buffer->isComplete())
    return QStringLiteral("the auralisation is still being computed; try again in a moment");
  const std::string name = path.toStdString();
  const listen::FormatChoice format = listen::choose_format(name, listen::SampleFormat::kPcm24);
  if (!format.problem.empty()) return QString::fromStdString(format.problem);
  QStringList inputs = slot.response.paths;
  inputs.append(dry_);
  const QFileInfo out(path);
  for (const QString& input : inputs)
    if (out.exists() && QFileInfo(input).canonicalFilePath() == out.canonicalFilePath())
      return QStringLiteral("the output would replace the input %1").arg(input);
  const listen::GainChoice gain = listen::choose_gain(
      slot.buffer->measured(), listen::Normalize::kPeak, std::nullopt, format.format.samples);
  if (!gain.refusal.empty()) return QString::fromStdString(gain.refusal);
  AuralisationFrames frames(slot.buffer);
  const listen::Problem written = listen::write_sound(frames, gain.gain(), format.format, name);
  return written ? QString::fromStdString(written.message) : QString();
}

}  // namespace irview
