// The audio codec on libsndfile, reading and writing through its virtual
// I/O so that every file is a byte buffer in memory.
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/read/audio_codec.h"

namespace analysis {
namespace {

struct Reader {
  std::span<const std::uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t reader_length(void* user) {
  return static_cast<sf_count_t>(static_cast<Reader*>(user)->bytes.size());
}
sf_count_t reader_seek(sf_count_t offset, int whence, void* user) {
  auto* r = static_cast<Reader*>(user);
  const auto size = static_cast<sf_count_t>(r->bytes.size());
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = r->position;
  if (whence == SEEK_END) base = size;
  // Clamped into the buffer: a damaged header may ask for any offset.
  if (offset > size - base) {
    r->position = size;
  } else {
    r->position = std::max<sf_count_t>(0, base + offset);
  }
  return r->position;
}
sf_count_t reader_read(void* out, sf_count_t count, void* user) {
  auto* r = static_cast<Reader*>(user);
  const auto size = static_cast<sf_count_t>(r->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(count, 0, size - r->position);
  if (n > 0) std::memcpy(out, r->bytes.data() + r->position, static_cast<std::size_t>(n));
  r->position += n;
  return n;
}
sf_count_t reader_write(const void*, sf_count_t, void*) { return 0; }
sf_count_t reader_tell(void* user) { return static_cast<Reader*>(user)->position; }

struct Writer {
  std::vector<std::uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t writer_length(void* user) {
  return static_cast<sf_count_t>(static_cast<Writer*>(user)->bytes.size());
}
sf_count_t writer_seek(sf_count_t offset, int whence, void* user) {
  auto* w = static_cast<Writer*>(user);
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = w->position;
  if (whence == SEEK_END) base = static_cast<sf_count_t>(w->bytes.size());
  w->position = std::max<sf_count_t>(0, base + offset);
  return w->position;
}
sf_count_t writer_read(void* out, sf_count_t count, void* user) {
  auto* w = static_cast<Writer*>(user);
  const auto size = static_cast<sf_count_t>(w->bytes.size());
  const sf_count_t n =
      std::clamp<sf_count_t>(count, 0, std::max<sf_count_t>(0, size - w->position));
  if (n > 0) std::memcpy(out, w->bytes.data() + w->position, static_cast<std::size_t>(n));
  w->position += n;
  return n;
}
sf_count_t writer_write(const void* in, sf_count_t count, void* user) {
  auto* w = static_cast<Writer*>(user);
  const auto end = static_cast<std::size_t>(w->position + count);
  if (end > w->bytes.size()) w->bytes.resize(end);
  std::memcpy(w->bytes.data() + w->position, in, static_cast<std::size_t>(count));
  w->position += count;
  return count;
}
sf_count_t writer_tell(void* user) { return static_cast<Writer*>(user)->position; }

std::string library_name(int format, int command) {
  SF_FORMAT_INFO info{};
  info.format = format;
  if (sf_command(nullptr, command, &info, sizeof info) != 0 || info.name == nullptr) {
    return "unknown";
  }
  return info.name;
}

std::string container_name(int format) {
  switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV: return "WAVE";
    case SF_FORMAT_WAVEX: return "WAVE extensible";
    case SF_FORMAT_RF64: return "RF64";
    case SF_FORMAT_W64: return "Wave64";
    case SF_FORMAT_AIFF: return "AIFF";
    case SF_FORMAT_FLAC: return "FLAC";
    case SF_FORMAT_CAF: return "CAF";
    case SF_FORMAT_AU: return "AU";
    default: return library_name(format & SF_FORMAT_TYPEMASK, SFC_GET_FORMAT_MAJOR);
  }
}

std::string encoding_name(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: return "8-bit PCM";
    case SF_FORMAT_PCM_16: return "16-bit PCM";
    case SF_FORMAT_PCM_24: return "24-bit PCM";
    case SF_FORMAT_PCM_32: return "32-bit PCM";
    case SF_FORMAT_FLOAT: return "32-bit float";
    case SF_FORMAT_DOUBLE: return "64-bit float";
    default: return library_name(format & SF_FORMAT_SUBMASK, SFC_GET_FORMAT_SUBTYPE);
  }
}

}  // namespace

DecodedAudio decode_audio(std::span<const std::uint8_t> bytes, std::size_t max_frames,
                          std::size_t max_channels, std::size_t max_samples) {
  DecodedAudio out;
  Reader reader{bytes, 0};
  SF_VIRTUAL_IO io{reader_length, reader_seek, reader_read, reader_write, reader_tell};
  SF_INFO info{};
  SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
  if (file == nullptr) {
    out.status = AudioStatus::kNotAudio;
    out.detail = sf_strerror(nullptr);
    return out;
  }
  const auto channels = static_cast<std::size_t>(std::max(info.channels, 0));
  if (channels == 0 || channels > max_channels) {
    sf_close(file);
    out.status = channels == 0 ? AudioStatus::kNotAudio : AudioStatus::kTooLarge;
    return out;
  }
  out.format = container_name(info.format) + " (" + encoding_name(info.format) + ")";
  out.sample_rate_hz = info.samplerate;
  out.channels.assign(channels, {});
  max_frames = std::min(max_frames, max_samples / channels);
  constexpr std::size_t kRun = 4096;
  std::vector<float> interleaved(kRun * channels);
  std::size_t frames = 0;
  for (;;) {
    const sf_count_t got =
        sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(kRun));
    if (got <= 0) break;
    const auto n = static_cast<std::size_t>(got);
    frames += n;
    if (frames > max_frames) {
      out.status = AudioStatus::kTooLarge;
      break;
    }
    for (std::size_t c = 0; c < channels; ++c) {
      std::vector<float>& samples = out.channels[c];
      for (std::size_t i = 0; i < n; ++i) samples.push_back(interleaved[i * channels + c]);
    }
  }
  if (out.status == AudioStatus::kOk && sf_error(file) != SF_ERR_NO_ERROR) {
    out.status = AudioStatus::kDamaged;
    out.detail = sf_strerror(file);
  }
  sf_close(file);
  if (out.status != AudioStatus::kOk) out.channels.clear();
  return out;
}

std::vector<std::uint8_t> encode_audio(const std::vector<std::vector<float>>& channels,
                                       int sample_rate_hz, AudioContainer container,
                                       AudioEncoding encoding) {
  static constexpr int kContainers[] = {SF_FORMAT_WAV, SF_FORMAT_WAVEX, SF_FORMAT_RF64,
                                        SF_FORMAT_AIFF, SF_FORMAT_FLAC};
  static constexpr int kEncodings[] = {SF_FORMAT_PCM_16, SF_FORMAT_PCM_24, SF_FORMAT_PCM_32,
                                       SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE};
  if (channels.empty()) return {};
  SF_INFO info{};
  info.samplerate = sample_rate_hz;
  info.channels = static_cast<int>(channels.size());
  info.format = kContainers[static_cast<int>(container)] | kEncodings[static_cast<int>(encoding)];
  if (!sf_format_check(&info)) return {};
  Writer writer;
  SF_VIRTUAL_IO io{writer_length, writer_seek, writer_read, writer_write, writer_tell};
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &writer);
  if (file == nullptr) return {};
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const std::size_t frames = channels[0].size();
  std::vector<float> interleaved(frames * channels.size());
  for (std::size_t i = 0; i < frames; ++i) {
    for (std::size_t c = 0; c < channels.size(); ++c) {
      interleaved[i * channels.size() + c] = channels[c][i];
    }
  }
  const bool written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames)) ==
                       static_cast<sf_count_t>(frames);
  sf_close(file);
  if (!written) return {};
  return std::move(writer.bytes);
}

}  // namespace analysis
