// Frames kept on disk between the two passes of an auralisation: raw float
// frames in a file of no name (created beside the output, then unlinked, so
// nothing is left behind whatever ends the process), written once, then read
// back from the start. Disk, not memory, grows with the dry's length.
#ifndef LISTEN_FILES_SCRATCH_H_
#define LISTEN_FILES_SCRATCH_H_

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "listen/convolution/frames.h"

namespace listen {

class ScratchFrames : public FrameSource, public FrameSink {
 public:
  // A scratch file in `folder` for frames of `channels` at `rate`; nullptr
  // when the folder takes no new file.
  static std::unique_ptr<ScratchFrames> create(const std::filesystem::path& folder,
                                               std::size_t channels, double sample_rate_hz);
  ~ScratchFrames() override;

  bool take(std::span<const float> frames) override;
  // Ends the writing and reads from the first frame on. False on a failure.
  bool rewind();

  std::size_t channels() const override { return channels_; }
  double sample_rate_hz() const override { return rate_; }
  std::optional<std::size_t> frames() const override { return frames_; }
  std::size_t read(std::span<float> out) override;
  const std::string& error() const override { return error_; }
  const std::string& name() const override { return name_; }

 private:
  ScratchFrames() = default;
  std::FILE* file_ = nullptr;
  std::size_t channels_ = 0;
  double rate_ = 0.0;
  std::size_t frames_ = 0;
  std::string name_ = "the scratch file";
  std::string error_;
};

}  // namespace listen

#endif  // LISTEN_FILES_SCRATCH_H_
