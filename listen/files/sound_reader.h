// A dry signal read from an audio file in blocks (WAVE of every kind, FLAC,
// AIFF and whatever else the audio library reads), so that a file of any
// length is read in the same memory. Integer samples are scaled to -1 .. 1.
#ifndef LISTEN_FILES_SOUND_READER_H_
#define LISTEN_FILES_SOUND_READER_H_

#include <memory>
#include <string>

#include "listen/convolution/auralise.h"
#include "listen/convolution/frames.h"

namespace listen {

class SoundReader : public FrameSource {
 public:
  ~SoundReader() override;

  // Opens `path` (UTF-8), named in messages as given. Status 1: the file
  // is missing, unreadable or a folder; status 2: it is no audio file the
  // library reads, or its rate is outside 1 kHz .. 1 MHz.
  static std::unique_ptr<SoundReader> open(const std::string& path, Problem& problem);

  std::size_t channels() const override { return channels_; }
  double sample_rate_hz() const override { return rate_; }
  std::optional<std::size_t> frames() const override { return frames_; }
  std::size_t read(std::span<float> out) override;
  const std::string& error() const override { return error_; }
  const std::string& name() const override { return name_; }
  // "WAVE (16-bit PCM)", as the analysis's reader names formats.
  const std::string& format() const { return format_; }

 private:
  SoundReader() = default;
  void* file_ = nullptr;
  std::size_t channels_ = 0;
  double rate_ = 0.0;
  std::optional<std::size_t> frames_;
  std::string name_;
  std::string format_;
  std::string error_;
};

}  // namespace listen

#endif  // LISTEN_FILES_SOUND_READER_H_
