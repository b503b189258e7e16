#include "irview/model/analysis_runner.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>

#include "analysis/read/read_response.h"

namespace irview {

namespace {

// Reads go ahead of analyses, so that every file named shows its waveform
// before any analysis takes the workers.
constexpr int kReadPriority = 1;
constexpr int kAnalysisPriority = 0;

}  // namespace

AnalysisRunner::AnalysisRunner(QObject* parent) : QObject(parent) {
  // One core is left to the window, so that it paints while files are
  // analysed.
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

AnalysisRunner::~AnalysisRunner() {
  stop();
  // The jobs post to this object: none may be left when it goes.
  pool_.waitForDone();
}

int AnalysisRunner::open(const QString& path) {
  const int number = ++lastNumber_;
  auto job = std::make_shared<Job>();
  job->bands = bandKind_;
  jobs_.insert(number, job);
  pool_.start([this, number, path, job] { readFile(number, path, job); }, kReadPriority);
  setProgress(number, 0.0);
  return number;
}

void AnalysisRunner::stop() {
  for (const std::shared_ptr<Job>& job : std::as_const(jobs_)) job->stop = true;
}

void AnalysisRunner::waitForIdle() { pool_.waitForDone(); }

// On the worker threads: everything found goes to the runner's thread as a
// queued call.
void AnalysisRunner::post(std::function<void()> call) {
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void AnalysisRunner::readFile(int number, const QString& path, const std::shared_ptr<Job>& job) {
  analysis::ReadResult result = [&] {
    // The audio library keeps the words of a failure in one buffer of its
    // own: one read at a time, so that each message says its own file's.
    const std::lock_guard<std::mutex> lock(readMutex_);
    return analysis::read_response_file(path.toStdString());
  }();
  if (!result.file) {
    post([this, number, message = QString::fromStdString(result.message)] {
      emit readFailed(number, message);
      finish(number);
    });
    return;
  }
  auto response = std::make_shared<const analysis::ResponseFile>(std::move(*result.file));
  post([this, number, response] { emit read(number, response); });
  pool_.start([this, number, response, job] { analyseFile(number, response, job); },
              kAnalysisPriority);
}

void AnalysisRunner::analyseFile(int number,
                                 const std::shared_ptr<const analysis::ResponseFile>& response,
                                 const std::shared_ptr<Job>& job) {
  if (job->stop) {
    post([this, number] {
      emit stopped(number);
      finish(number);
    });
    return;
  }
  auto spectra = std::make_shared<std::vector<ChannelSpectra>>();
  for (const std::vector<float>& channel : response->channels) {
    ChannelSpectra each;
    each[0] = analysis::magnitude_spectrum(channel, response->sample_rate_hz);
    for (std::size_t s = 1; s < kSmoothings.size(); ++s)
      each[s] = analysis::smooth_spectrum(each[0], kSmoothings[s]);
    spectra->push_back(std::move(each));
  }
  post([this, number, spectra = std::shared_ptr<const std::vector<ChannelSpectra>>(spectra)] {
    emit spectraReady(number, spectra);
  });

  analysis::AnalysisOptions options;
  options.keep_curves = true;
  options.band_kind = job->bands;
  std::optional<std::vector<analysis::ChannelAnalysis>> channels =
      analysis::analyse_file(*response, options, [&](double done) {
        post([this, number, done] { setProgress(number, done); });
        return !job->stop.load();
      });
  if (!channels) {
    post([this, number] {
      emit stopped(number);
      finish(number);
    });
    return;
  }
  std::vector<analysis::SpeechIndex> speech;
  for (const std::vector<float>& samples : response->channels) {
    if (job->stop.load()) break;
    speech.push_back(
        analysis::speech_transmission_index(samples, response->sample_rate_hz, std::nullopt));
  }
  if (job->stop.load()) {
    post([this, number] {
      emit stopped(number);
      finish(number);
    });
    return;
  }
  auto outcome =
      std::make_shared<const FileAnalysis>(FileAnalysis{std::move(*channels), std::move(speech)});
  post([this, number, outcome] {
    emit analysed(number, outcome);
    finish(number);
  });
}

void AnalysisRunner::setProgress(int number, double done) {
  const auto job = jobs_.find(number);
  if (job == jobs_.end()) return;
  (*job)->done = done;
  double sum = 0.0;
  for (const std::shared_ptr<Job>& each : std::as_const(jobs_)) sum += each->done;
  emit progressChanged(sum / static_cast<double>(jobs_.size()));
}

void AnalysisRunner::finish(int number) {
  jobs_.remove(number);
  if (jobs_.isEmpty()) emit progressChanged(1.0);
}

}  // namespace irview
