#include "listen/files/sound_writer.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "console/process.h"
#include "formats/output_file.h"
#include "listen/level/quantise.h"

namespace listen {
namespace {

// The audio library writes through these callbacks into the temporary; it
// seeks back at the end to fill in the header's sizes.
struct Sink {
  formats::OutputFile* file;
  sf_count_t length = 0;
};

sf_count_t sink_length(void* user) { return static_cast<Sink*>(user)->length; }
sf_count_t sink_seek(sf_count_t offset, int whence, void* user) {
  auto* s = static_cast<Sink*>(user);
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = s->file->tell();
  if (whence == SEEK_END) base = s->length;
  if (base < 0 || !s->file->seek(base + offset)) return -1;
  return base + offset;
}
sf_count_t sink_read(void*, sf_count_t, void*) { return 0; }
sf_count_t sink_write(const void* bytes, sf_count_t count, void* user) {
  auto* s = static_cast<Sink*>(user);
  const sf_count_t at = s->file->tell();
  if (at < 0 ||
      !s->file->write({static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(count)})) {
    return 0;
  }
  s->length = std::max(s->length, at + count);
  return count;
}
sf_count_t sink_tell(void* user) { return static_cast<Sink*>(user)->file->tell(); }

int library_format(const OutputFormat& format) {
  int f = format.container == Container::kWave ? SF_FORMAT_WAV : SF_FORMAT_FLAC;
  switch (format.samples) {
    case SampleFormat::kPcm16:
      return f | SF_FORMAT_PCM_16;
    case SampleFormat::kPcm24:
      return f | SF_FORMAT_PCM_24;
    case SampleFormat::kFloat:
      return f | SF_FORMAT_FLOAT;
  }
  return f;
}

}  // namespace

Problem write_sound(FrameSource& source, double gain, const OutputFormat& format,
                    const std::string& path, const Control& control, bool* written) {
  if (written != nullptr) *written = false;
  const Problem cannot_write{1, path + ": cannot be written"};
  formats::OutputFile output;
  if (!output.open(console::utf8_path(path))) return {1, path + ": cannot be created"};
  Sink sink{&output};
  SF_VIRTUAL_IO io{sink_length, sink_seek, sink_read, sink_write, sink_tell};
  SF_INFO info{};
  info.samplerate = static_cast<int>(std::lround(source.sample_rate_hz()));
  info.channels = static_cast<int>(source.channels());
  info.format = library_format(format);
  if (!sf_format_check(&info)) return {1, path + ": " + format_text(format) + " cannot hold this"};
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &sink);
  if (file == nullptr) return cannot_write;
  // The float WAVE's PEAK chunk would carry the time of writing: without
  // it the bytes depend on the samples alone.
  sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  const bool integers = format.samples != SampleFormat::kFloat;
  Quantiser quantiser(integers ? format.samples : SampleFormat::kPcm24);
  const std::size_t channels = source.channels();
  constexpr std::size_t kBlock = 16384;
  std::vector<float> frames(kBlock * channels);
  std::vector<std::int32_t> codes(integers ? frames.size() : 0);
  const std::optional<std::size_t> total = source.frames();
  std::size_t done = 0;
  bool ok = true;
  for (;;) {
    const std::size_t got = source.read(frames);
    if (got == 0) break;
    const std::size_t n = got * channels;
    sf_count_t put = 0;
    if (integers) {
      quantiser.codes(std::span<const float>(frames.data(), n), gain,
                      std::span<std::int32_t>(codes.data(), n));
      put = sf_writef_int(file, codes.data(), static_cast<sf_count_t>(got));
    } else {
      for (std::size_t i = 0; i < n; ++i) frames[i] = static_cast<float>(frames[i] * gain);
      put = sf_writef_float(file, frames.data(), static_cast<sf_count_t>(got));
    }
    if (put != static_cast<sf_count_t>(got)) {
      ok = false;
      break;
    }
    done += got;
    if (control.progress && total && *total > 0) {
      control.progress(static_cast<double>(done) / static_cast<double>(*total));
    }
    if (control.stopped()) {
      sf_close(file);
      return {};
    }
  }
  if (sf_close(file) != 0) ok = false;
  if (!source.error().empty()) return {1, source.error()};
  if (!ok || !output.commit()) return cannot_write;
  if (written != nullptr) *written = true;
  return {};
}

}  // namespace listen
