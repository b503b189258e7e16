#include "listen/files/scratch.h"

#include <cerrno>
#include <cstring>
#include <random>

#include "console/process.h"

namespace listen {

std::unique_ptr<ScratchFrames> ScratchFrames::create(const std::filesystem::path& folder,
                                                     std::size_t channels, double sample_rate_hz) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path path = (folder.empty() ? std::filesystem::path(".") : folder) /
                                       (".irtmp-frames-" + std::to_string(random()));
    errno = 0;
    std::FILE* f = console::create_new_file(path);
    if (f == nullptr) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    // Made by name so that no other file is taken over, then opened again
    // for reading and writing, and unlinked.
    std::fclose(f);
    std::FILE* rw = console::open_file(path, "w+b");
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (rw == nullptr) return nullptr;
    std::unique_ptr<ScratchFrames> s(new ScratchFrames);
    s->file_ = rw;
    s->channels_ = channels;
    s->rate_ = sample_rate_hz;
    return s;
  }
  return nullptr;
}

ScratchFrames::~ScratchFrames() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ScratchFrames::take(std::span<const float> frames) {
  if (!error_.empty()) return false;
  if (std::fwrite(frames.data(), sizeof(float), frames.size(), file_) != frames.size()) {
    error_ = name_ + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  frames_ += frames.size() / channels_;
  return true;
}

bool ScratchFrames::rewind() {
  if (!error_.empty()) return false;
  if (std::fflush(file_) != 0 || !console::seek_file(file_, 0)) {
    error_ = name_ + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  return true;
}

std::size_t ScratchFrames::read(std::span<float> out) {
  if (!error_.empty()) return 0;
  const std::size_t want = out.size() / channels_ * channels_;
  const std::size_t got = std::fread(out.data(), sizeof(float), want, file_);
  if (got < want && std::ferror(file_)) {
    error_ = name_ + ": cannot be read back";
    return 0;
  }
  return got / channels_;
}

}  // namespace listen
