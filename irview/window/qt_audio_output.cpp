#include "irview/window/qt_audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <vector>

namespace irview {

namespace {

constexpr double kBufferSeconds = 0.15;

}  // namespace

// Hands the player's frames to the sink as it reads them.
class QtAudioOutput::PullDevice : public QIODevice {
 public:
  PullDevice(Pull pull, bool floatSamples) : pull_(std::move(pull)), float_(floatSamples) {}
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 1 << 20; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    const qint64 frameBytes = 2 * (float_ ? 4 : 2);
    const std::size_t frames = static_cast<std::size_t>(maxSize / frameBytes);
    if (frames == 0) return 0;
    if (float_) {
      const std::size_t got = pull_({reinterpret_cast<float*>(data), frames * 2});
      return static_cast<qint64>(got) * frameBytes;
    }
    block_.resize(frames * 2);
    const std::size_t got = pull_(block_);
    auto* out = reinterpret_cast<qint16*>(data);
    for (std::size_t i = 0; i < got * 2; ++i)
      out[i] = static_cast<qint16>(std::lround(std::clamp(block_[i], -1.0f, 1.0f) * 32767.0f));
    return static_cast<qint64>(got) * frameBytes;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  Pull pull_;
  bool float_;
  std::vector<float> block_;
};

QtAudioOutput::QtAudioOutput() = default;

QtAudioOutput::~QtAudioOutput() { stop(); }

QString QtAudioOutput::unavailable() {
  if (QMediaDevices::defaultAudioOutput().isNull())
    return QStringLiteral("No audio output: no sound device or sound server was found");
  return {};
}

QString QtAudioOutput::start(int rateHz, Pull pull) {
  stop();
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull())
    return QStringLiteral("No audio output: no sound device or sound server was found");
  QAudioFormat format;
  format.setSampleRate(rateHz);
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Float);
  if (!device.isFormatSupported(format)) format.setSampleFormat(QAudioFormat::Int16);
  device_ = std::make_unique<PullDevice>(std::move(pull),
                                         format.sampleFormat() == QAudioFormat::Float);
  device_->open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(device, format);
  sink_->setBufferSize(format.bytesForDuration(static_cast<qint64>(kBufferSeconds * 1e6)));
  sink_->start(device_.get());
  if (sink_->error() != QAudio::NoError) {
    stop();
    return QStringLiteral("The audio output %1 could not be opened").arg(device.description());
  }
  return {};
}

void QtAudioOutput::stop() {
  if (sink_) sink_->stop();
  sink_.reset();
  device_.reset();
}

QString NoAudioOutput::unavailable() { return QStringLiteral("No audio output"); }

}  // namespace irview
