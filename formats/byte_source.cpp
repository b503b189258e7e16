#include "formats/byte_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "console/process.h"

namespace formats {

ReadStatus MemorySource::read(std::span<std::uint8_t> out) {
  const std::size_t available = bytes_.size() - position_;
  const std::size_t n = std::min(out.size(), available);
  if (n > 0) std::memcpy(out.data(), bytes_.data() + position_, n);
  position_ += n;
  return n == out.size() ? ReadStatus::kOk : ReadStatus::kTruncated;
}

ReadStatus MemorySource::skip(std::uint64_t n) {
  const std::size_t available = bytes_.size() - position_;
  if (n > available) {
    position_ = bytes_.size();
    return ReadStatus::kTruncated;
  }
  position_ += static_cast<std::size_t>(n);
  return ReadStatus::kOk;
}

FileSource::~FileSource() { close(); }

bool FileSource::open(const std::string& path) {
  close();
  std::error_code ec;
  const std::filesystem::path native = console::utf8_path(path);
  if (std::filesystem::is_directory(native, ec)) return false;
  std::FILE* f = console::open_file(native, "rb");
  if (f == nullptr) return false;
  // The length of a seekable file is taken once so that a skip can tell a
  // truncated file without reading through it. A pipe has no length to take.
  seekable_ = false;
  size_ = 0;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long end = std::ftell(f);
    if (end < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
      std::fclose(f);
      return false;
    }
    seekable_ = true;
    size_ = static_cast<std::uint64_t>(end);
  }
  std::clearerr(f);
  file_ = f;
  position_ = 0;
  return true;
}

void FileSource::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

ReadStatus FileSource::read(std::span<std::uint8_t> out) {
  if (file_ == nullptr) return ReadStatus::kIoError;
  const std::size_t got = std::fread(out.data(), 1, out.size(), file_);
  position_ += got;
  if (got == out.size()) return ReadStatus::kOk;
  return std::ferror(file_) ? ReadStatus::kIoError : ReadStatus::kTruncated;
}

ReadStatus FileSource::skip(std::uint64_t n) {
  if (file_ == nullptr) return ReadStatus::kIoError;
  if (n == 0) return ReadStatus::kOk;
  if (!seekable_) {
    std::uint8_t buffer[4096];
    while (n > 0) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(n, sizeof buffer));
      const ReadStatus status = read(std::span(buffer, want));
      if (status != ReadStatus::kOk) return status;
      n -= want;
    }
    return ReadStatus::kOk;
  }
  const std::uint64_t remaining = size_ > position_ ? size_ - position_ : 0;
  if (n > remaining) {
    position_ = size_;
    std::fseek(file_, 0, SEEK_END);
    return ReadStatus::kTruncated;
  }
  // n fits a long here: it is at most the file length ftell reported.
  if (std::fseek(file_, static_cast<long>(n), SEEK_CUR) != 0) {
    return ReadStatus::kIoError;
  }
  position_ += n;
  return ReadStatus::kOk;
}

}  // namespace formats
