#include "irview/player/auralisation_runner.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>

#include "listen/convolution/auralise.h"
#include "listen/response/prepare.h"
#include "listen/files/sound_reader.h"

namespace irview {

AuralisationRunner::AuralisationRunner(QObject* parent) : QObject(parent) {
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

AuralisationRunner::~AuralisationRunner() {
  cancelAll();
  // The jobs post to this object: none may be left when it goes.
  pool_.waitForDone();
}

int AuralisationRunner::start(const QString& dryPath,
                              std::vector<std::shared_ptr<const analysis::ResponseFile>> files,
                              const QStringList& names) {
  const int number = ++lastNumber_;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  stops_.insert(number, stop);
  pool_.start([this, number, dry = dryPath.toStdString(), files = std::move(files), names, stop] {
    run(number, dry, files, names, stop);
  });
  return number;
}

void AuralisationRunner::cancel(int job) {
  const auto found = stops_.find(job);
  if (found == stops_.end()) return;
  **found = true;
  stops_.erase(found);
}

void AuralisationRunner::cancelAll() {
  for (const auto& stop : std::as_const(stops_)) *stop = true;
  stops_.clear();
}

void AuralisationRunner::waitForIdle() { pool_.waitForDone(); }

void AuralisationRunner::post(std::function<void()> call) {
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void AuralisationRunner::run(int number, const std::string& dryPath,
                             const std::vector<std::shared_ptr<const analysis::ResponseFile>>& files,
                             const QStringList& names,
                             const std::shared_ptr<std::atomic<bool>>& stop) {
  if (*stop) return;
  const auto fail = [this, number, stop](const std::string& message) {
    if (*stop) return;
    post([this, number, stop, text = QString::fromStdString(message)] {
      if (!*stop) emit failed(number, text);
      stops_.remove(number);
    });
  };
  listen::Problem problem;
  std::unique_ptr<listen::SoundReader> dry;
  {
    // The audio library words a failure in one buffer of its own.
    const std::lock_guard<std::mutex> lock(openMutex_);
    dry = listen::SoundReader::open(dryPath, problem);
  }
  if (!dry) return fail(problem.message);
  if (!dry->frames() || *dry->frames() == 0)
    return fail(dry->name() + ": the dry signal holds no frames");
  if (static_cast<double>(*dry->frames()) > kMaxDrySeconds * dry->sample_rate_hz())
    return fail(dry->name() + ": longer than " + std::to_string(kMaxDrySeconds / 60) +
                " minutes, too long to keep in memory for listening (irconv takes any length)");
  std::vector<listen::NamedResponse> named;
  for (std::size_t i = 0; i < files.size(); ++i)
    named.push_back({files[i].get(), names.value(static_cast<int>(i)).toStdString()});
  listen::Prepared prepared = listen::prepare_response(named, dry->sample_rate_hz());
  if (prepared.problem) return fail(prepared.problem.message);

  // As irconv: stereo when the response or the dry is.
  const std::size_t channels =
      prepared.response.channels.size() == 2 || dry->channels() == 2 ? 2 : 1;
  auto buffer = std::make_shared<AuralisationBuffer>(
      channels, dry->sample_rate_hz(), *dry->frames() + prepared.response.frames() - 1);
  post([this, number, stop, buffer] {
    if (!*stop) emit begun(number, buffer);
  });
  listen::Control control;
  control.stop = stop.get();
  const listen::Auralised result = listen::auralise(*dry, prepared.response, *buffer, control);
  if (result.stopped || *stop) return;
  if (result.problem) return fail(result.problem.message);
  if (result.measured.frames != buffer->frames())
    return fail(dry->name() + ": the dry signal ended before its stated length");
  buffer->complete(result.measured);
  post([this, number, stop] {
    if (!*stop) emit finished(number);
    stops_.remove(number);
  });
}

}  // namespace irview
