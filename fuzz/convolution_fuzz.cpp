// The auralisation's convolution on arbitrary signals, channel counts, block
// lengths and equaliser margins. The first bytes choose the dry's and the
// response's channels (1 .. 3, so that refusals are reached), the block
// length of a direct Convolver run (2 .. 512, even), and the response's
// lead and trail; the rest are 16-bit samples, shared out between the dry
// and the response. The properties: auralise() refuses exactly the channel
// pairs route_channels() does not take and a dry of no frames; otherwise it
// gives dry frames + response frames - 1 frames, each within 1e-6 of the
// direct double sum, relative to the largest dry sample times the sum of the
// response's magnitudes (the FFT's rounding spreads over every output
// sample, so the bound is the signals', not the sample's), and a Convolver
// of any block length gives the same sums block by block.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/property.h"
#include "listen/convolution/auralise.h"
#include "listen/convolution/channels.h"
#include "listen/convolution/convolver.h"
#include "listen/convolution/frames.h"

namespace {

// Output sample n of route r of the full convolution (lead included), and
// in `bound` the largest magnitude any output sample of the route can have.
double direct(const std::vector<std::vector<float>>& dry, const std::vector<std::vector<float>>& h,
              const listen::Route& r, std::size_t n, double* bound) {
  double sum = 0.0, response = 0.0, largest = 0.0;
  const auto& x = dry[r.dry];
  const auto& k = h[r.response];
  for (std::size_t i = 0; i < k.size(); ++i) {
    response += std::fabs(double{k[i]});
    if (i <= n && n - i < x.size()) sum += double{x[n - i]} * k[i];
  }
  for (float v : x) largest = std::max(largest, std::fabs(double{v}));
  *bound = largest * response;
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::size_t dry_channels = 1 + data[0] % 3;
  const std::size_t response_channels = 1 + data[1] % 3;
  const std::size_t block = 2 * (1 + data[2] % 256);
  const std::size_t lead = data[3] % 8, trail = data[4] % 8;
  std::vector<float> values;
  for (std::size_t i = 5; i + 1 < size; i += 2) {
    values.push_back(static_cast<std::int16_t>(data[i] | data[i + 1] << 8) / 32768.0f);
  }
  // A third of the samples for the response (at least lead + trail + 1
  // points a channel), the rest for the dry.
  const std::size_t response_points =
      std::max(lead + trail + 1, values.size() / 3 / response_channels);
  std::vector<std::vector<float>> response(response_channels, std::vector<float>(response_points));
  std::size_t at = 0;
  for (auto& c : response) {
    for (float& v : c) v = at < values.size() ? values[at++] : 0.0f;
  }
  const std::size_t dry_frames = (values.size() - std::min(at, values.size())) / dry_channels;
  std::vector<std::vector<float>> dry(dry_channels, std::vector<float>(dry_frames));
  std::vector<float> interleaved;
  for (std::size_t i = 0; i < dry_frames; ++i) {
    for (std::size_t c = 0; c < dry_channels; ++c) {
      dry[c][i] = values[at++];
      interleaved.push_back(dry[c][i]);
    }
  }

  listen::Response r;
  r.sample_rate_hz = 44100;
  r.channels = response;
  r.lead = lead;
  r.trail = trail;
  listen::MemoryFrames source(dry_channels, 44100, interleaved, "dry");
  const auto routes = listen::route_channels(dry_channels, response_channels);
  listen::MemoryFrames sink(routes ? routes->size() : 1, 44100);
  const listen::Auralised a = listen::auralise(source, r, sink);
  if (!routes || dry_frames == 0) {
    FUZZ_REQUIRE(a.problem.status == 2);
    return 0;
  }
  FUZZ_REQUIRE(!a.problem);
  const std::size_t outputs = routes->size();
  const std::size_t frames = dry_frames + r.frames() - 1;
  FUZZ_REQUIRE(a.measured.frames == frames);
  FUZZ_REQUIRE(sink.samples().size() == frames * outputs);
  for (std::size_t n = 0; n < frames; ++n) {
    for (std::size_t o = 0; o < outputs; ++o) {
      double bound = 0.0;
      const double want = direct(dry, response, (*routes)[o], n + lead, &bound);
      FUZZ_REQUIRE(std::fabs(sink.samples()[n * outputs + o] - want) <= 1e-6 * bound + 1e-30);
    }
  }

  // The same sums through a Convolver of the fuzzed block length.
  listen::Convolver convolver(response, dry_channels, *routes, block);
  std::vector<float> out(block * outputs);
  const std::size_t full = dry_frames + response_points - 1;
  for (std::size_t begin = 0; begin < full; begin += block) {
    const std::size_t from = std::min(begin, dry_frames) * dry_channels;
    const std::size_t to = std::min(begin + block, dry_frames) * dry_channels;
    convolver.process(std::span<const float>(interleaved.data() + from, to - from), out);
    for (std::size_t i = 0; i < block && begin + i < full; ++i) {
      for (std::size_t o = 0; o < outputs; ++o) {
        double bound = 0.0;
        const double want = direct(dry, response, (*routes)[o], begin + i, &bound);
        FUZZ_REQUIRE(std::fabs(out[i * outputs + o] - want) <= 1e-6 * bound + 1e-30);
      }
    }
  }
  return 0;
}
