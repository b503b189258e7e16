#include "analysis/read/read_response.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "analysis/read/audio_codec.h"
#include "analysis/read/tim_decode.h"
#include "console/process.h"

namespace analysis {
namespace {

ReadResult failure(ReadProblem problem, std::string_view name, const std::string& what) {
  ReadResult r;
  r.problem = problem;
  r.message = std::string(name) + ": " + what;
  return r;
}

bool named_tim(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".tim";
}

std::string audio_problem(const DecodedAudio& audio, const ReadLimits& limits) {
  const std::string detail = audio.detail.empty() ? "" : " (" + audio.detail + ")";
  switch (audio.status) {
    case AudioStatus::kUnavailable:
      return "not a .TIM file, and this build reads no other audio files";
    case AudioStatus::kNotAudio:
      return "neither a .TIM file nor an audio file of a known format" + detail;
    case AudioStatus::kDamaged:
      return "the audio data are damaged" + detail;
    case AudioStatus::kTooLarge:
      return "more than " + std::to_string(kMaxChannels) + " channels, " +
             std::to_string(limits.points) + " points or " + std::to_string(limits.samples) +
             " samples in all";
    case AudioStatus::kOk:
      break;
  }
  return "cannot be read";
}

// What makes a read file no usable response; empty when it is one.
std::string unusable(const ResponseFile& f, const ReadLimits& limits) {
  if (f.channels.empty()) return "it holds no channel";
  if (f.channels.size() > kMaxChannels) {
    return "it has more than " + std::to_string(kMaxChannels) + " channels";
  }
  if (!(f.sample_rate_hz >= kMinSampleRateHz && f.sample_rate_hz <= kMaxSampleRateHz)) {
    char text[96];
    std::snprintf(text, sizeof text, "its sampling rate %.6g Hz is outside %.0f .. %.0f Hz",
                  f.sample_rate_hz, kMinSampleRateHz, kMaxSampleRateHz);
    return text;
  }
  const std::size_t points = f.points();
  if (points < 2) return "it holds " + std::to_string(points) + " point" +
                         (points == 1 ? "" : "s") + ", too few for a response";
  if (points > limits.points) {
    return "it holds more than " + std::to_string(limits.points) + " points";
  }
  bool any = false;
  for (std::size_t c = 0; c < f.channels.size(); ++c) {
    for (std::size_t i = 0; i < f.channels[c].size(); ++i) {
      const float x = f.channels[c][i];
      if (!std::isfinite(x)) {
        return "sample " + std::to_string(i + 1) + " of channel " + std::to_string(c + 1) +
               " is not a finite number";
      }
      any = any || x != 0.0f;
    }
  }
  if (!any) return "every sample is zero";
  return {};
}

}  // namespace

int exit_status(ReadProblem problem) {
  switch (problem) {
    case ReadProblem::kNone:
      return 0;
    case ReadProblem::kCannotOpen:
    case ReadProblem::kReadFailed:
      return 1;
    case ReadProblem::kRefused:
      return 2;
  }
  return 1;
}

ReadResult decode_response(std::span<const std::uint8_t> bytes, std::string_view name,
                           const ReadLimits& limits) {
  if (bytes.empty()) return failure(ReadProblem::kRefused, name, "the file is empty");
  ResponseFile file;
  if (has_tim_tag(bytes) || named_tim(name)) {
    TimDecode tim = decode_tim(bytes, limits.points);
    if (tim.problem != ReadProblem::kNone) return failure(tim.problem, name, tim.what);
    file = std::move(tim.file);
  } else {
    DecodedAudio audio = decode_audio(bytes, limits.points, kMaxChannels, limits.samples);
    if (audio.status != AudioStatus::kOk) {
      return failure(ReadProblem::kRefused, name, audio_problem(audio, limits));
    }
    file.format = std::move(audio.format);
    file.sample_rate_hz = audio.sample_rate_hz;
    file.channels = std::move(audio.channels);
  }
  if (const std::string why = unusable(file, limits); !why.empty()) {
    return failure(ReadProblem::kRefused, name, why);
  }
  ReadResult r;
  r.file = std::move(file);
  return r;
}

ReadResult read_response_file(const std::string& path) {
  const std::filesystem::path native = console::utf8_path(path);
  std::error_code ec;
  if (std::filesystem::is_directory(native, ec)) {
    return failure(ReadProblem::kCannotOpen, path, "cannot be opened: it is a folder");
  }
  std::FILE* f = console::open_file(native, "rb");
  if (f == nullptr) {
    return failure(ReadProblem::kCannotOpen, path,
                   std::string("cannot be opened (") + std::strerror(errno) + ")");
  }
  std::vector<std::uint8_t> bytes;
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  bool too_large = false;
  for (;;) {
    const std::size_t at = bytes.size();
    if (at > kMaxFileBytes) {
      too_large = true;
      break;
    }
    bytes.resize(at + kChunk);
    const std::size_t got = std::fread(bytes.data() + at, 1, kChunk, f);
    bytes.resize(at + got);
    if (got < kChunk) break;
  }
  const bool failed = std::ferror(f) != 0;
  const int error = errno;
  std::fclose(f);
  if (failed) {
    return failure(ReadProblem::kReadFailed, path,
                   std::string("cannot be read (") + std::strerror(error) + ")");
  }
  if (too_large) {
    return failure(ReadProblem::kRefused, path,
                   "larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
  }
  return decode_response(bytes, path);
}

}  // namespace analysis
