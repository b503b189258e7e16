#include "listen/convolution/auralise.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "listen/convolution/channels.h"
#include "listen/convolution/convolver.h"
#include "listen/level/loudness.h"

namespace listen {
namespace {

// Reads until `out` is full or the source ends.
std::size_t read_block(FrameSource& source, std::span<float> out) {
  const std::size_t channels = source.channels();
  std::size_t frames = 0;
  while (frames * channels < out.size()) {
    const std::size_t got = source.read(out.subspan(frames * channels));
    if (got == 0) break;
    frames += got;
  }
  return frames;
}

Problem refused(const std::string& what) { return {2, what}; }

}  // namespace

Auralised auralise(FrameSource& dry, const Response& response, FrameSink& out,
                   const Control& control) {
  Auralised result;
  const std::size_t dry_channels = dry.channels();
  const std::optional<std::vector<Route>> routes =
      route_channels(dry_channels, response.channels.size());
  if (!routes) {
    result.problem =
        refused(dry.name() + ": " + routing_refusal(dry_channels, response.channels.size()));
    return result;
  }
  if (response.points() <= response.lead + response.trail ||
      response.sample_rate_hz != dry.sample_rate_hz()) {
    result.problem = refused(dry.name() + ": the response is not at the dry signal's rate");
    return result;
  }
  Convolver convolver(response.channels, dry_channels, *routes);
  const std::size_t block = convolver.block_frames();
  const std::size_t outputs = convolver.output_channels();
  const std::size_t tail = response.frames() - 1;
  const std::size_t lead = response.lead;
  Measured& m = result.measured;
  m.channels = outputs;
  m.sample_rate_hz = dry.sample_rate_hz();
  std::optional<LoudnessMeter> loudness;
  if (control.measure_loudness) loudness.emplace(outputs, m.sample_rate_hz);
  const std::optional<std::size_t> expected = dry.frames();

  std::vector<float> in(block * dry_channels);
  std::vector<float> produced(block * outputs);
  std::size_t dry_frames = 0;
  std::size_t convolved = 0;  // frames the convolver gave, the lead's included
  bool ended = false;
  for (;;) {
    std::size_t got = 0;
    if (!ended) {
      got = read_block(dry, in);
      if (!dry.error().empty()) {
        result.problem = {1, dry.error()};
        return result;
      }
      ended = got < block;
      for (std::size_t i = 0; i < got * dry_channels; ++i) {
        if (!std::isfinite(in[i])) {
          result.problem = refused(
              dry.name() + ": sample " + std::to_string(dry_frames + i / dry_channels + 1) +
              " of channel " + std::to_string(i % dry_channels + 1) + " is not a finite number");
          return result;
        }
      }
      dry_frames += got;
      if (ended && dry_frames == 0) {
        result.problem = refused(dry.name() + ": the dry signal holds no frames");
        return result;
      }
    }
    convolver.process(std::span<const float>(in.data(), got * dry_channels), produced);
    // Kept: convolver frames lead .. lead + total - 1; before the end every
    // frame given so far lies below that end.
    const std::size_t total = dry_frames + tail;  // final once `ended`
    const std::size_t begin = std::clamp(lead, convolved, convolved + block) - convolved;
    const std::size_t end =
        ended ? std::clamp(lead + total, convolved, convolved + block) - convolved : block;
    convolved += block;
    if (end > begin) {
      const std::span<const float> kept(produced.data() + begin * outputs, (end - begin) * outputs);
      for (float x : kept) m.peak = std::max(m.peak, static_cast<double>(std::fabs(x)));
      if (loudness) loudness->add(kept);
      if (!out.take(kept)) {
        result.problem = {1, out.error()};
        return result;
      }
      m.frames += end - begin;
    }
    if (ended && convolved >= lead + total) break;
    if (control.progress && expected && *expected + tail > 0) {
      control.progress(
          std::min(1.0, static_cast<double>(m.frames) / static_cast<double>(*expected + tail)));
    }
    if (control.stopped()) {
      result.stopped = true;
      break;
    }
  }
  m.loudness_lufs = loudness ? loudness->integrated_lufs() : std::nan("");
  if (control.progress && !result.stopped) control.progress(1.0);
  return result;
}

}  // namespace listen
