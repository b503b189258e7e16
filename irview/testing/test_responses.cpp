#include "irview/testing/test_responses.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "formats/tim_file.h"
#include "formats/wave_file.h"

namespace irview::testing {

std::vector<float> decayingNoise(double rateHz, double t60_s, std::size_t points, unsigned seed,
                                 double delay_s) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<float> samples(points, 0.0f);
  const auto start = static_cast<std::size_t>(delay_s * rateHz);
  for (std::size_t n = start; n < points; ++n) {
    const double t = static_cast<double>(n - start) / rateHz;
    samples[n] = static_cast<float>(0.9 * uniform(random) * std::pow(10.0, -3.0 * t / t60_s));
  }
  return samples;
}

QByteArray timFileBytes(std::span<const float> samples, double rateHz) {
  const auto count = static_cast<std::int32_t>(samples.size());
  const auto head = formats::encode_tim_head({1, static_cast<float>(1000.0 / rateHz), count});
  std::vector<std::uint8_t> body(samples.size() * 4);
  formats::encode_tim_samples(samples, body);
  formats::TimTrailerFields fields;
  fields.sampling_rate_hz = static_cast<std::int32_t>(std::lround(rateHz));
  fields.point_count = count;
  fields.acquisition_mode = 1;
  fields.timestamp = " 9/12/2026 10: 0: 0";
  fields.source_name = "synthetic.wav";
  fields.level_factor = 1.0f;
  const auto trailer = formats::encode_tim_trailer(fields);
  QByteArray bytes(reinterpret_cast<const char*>(head.data()), head.size());
  bytes.append(reinterpret_cast<const char*>(body.data()), static_cast<qsizetype>(body.size()));
  bytes.append(reinterpret_cast<const char*>(trailer.data()), trailer.size());
  return bytes;
}

QByteArray waveFileBytes(const std::vector<std::vector<float>>& channels, int rateHz) {
  const std::size_t frames = channels.empty() ? 0 : channels[0].size();
  std::vector<std::int16_t> interleaved;
  interleaved.reserve(frames * channels.size());
  for (std::size_t n = 0; n < frames; ++n)
    for (const std::vector<float>& channel : channels)
      interleaved.push_back(static_cast<std::int16_t>(
          std::lround(std::clamp(double(channel[n]), -1.0, 1.0) * 32767.0)));
  const auto header = formats::encode_wave_header(static_cast<std::int16_t>(channels.size()),
                                                  rateHz, static_cast<std::int32_t>(frames));
  std::vector<std::uint8_t> data(interleaved.size() * 2);
  formats::encode_pcm16(interleaved, data);
  QByteArray bytes(reinterpret_cast<const char*>(header.data()), header.size());
  bytes.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  return bytes;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace irview::testing
