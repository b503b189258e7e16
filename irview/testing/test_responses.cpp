#include "irview/testing/test_responses.h"

#include <QFile>

#include "analysis/read/audio_codec.h"
#include "analysis/testing/synthetic.h"

namespace irview::testing {

namespace {

QByteArray fromBytes(const std::vector<std::uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

}  // namespace

std::vector<float> decayingNoise(double rateHz, double t60_s, std::size_t points,
                                 std::uint64_t seed, double delay_s) {
  std::vector<float> samples = analysis::testing::decaying_noise(
      rateHz, static_cast<double>(points) / rateHz, delay_s, t60_s, seed);
  samples.resize(points, 0.0f);
  for (float& sample : samples) sample *= 0.9f;  // clear of clipping in 16-bit files
  return samples;
}

QByteArray timFileBytes(const std::vector<float>& samples, int rateHz) {
  return fromBytes(analysis::testing::tim_file_bytes(samples, rateHz,
                                                     static_cast<std::int32_t>(samples.size())));
}

QByteArray waveFileBytes(const std::vector<std::vector<float>>& channels, int rateHz) {
  return fromBytes(analysis::encode_audio(channels, rateHz, analysis::AudioContainer::kWave,
                                          analysis::AudioEncoding::kPcm16));
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace irview::testing
