// The input edge of the readers: a stream of bytes that is read in exact
// amounts. Every read and skip says whether it got all it asked for, so a
// file that ends early (truncated) is told apart from an I/O failure and
// from a complete read. MemorySource serves tests and decoded buffers;
// FileSource reads a file from disk.
#ifndef FORMATS_BYTE_SOURCE_H_
#define FORMATS_BYTE_SOURCE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace formats {

enum class ReadStatus {
  kOk,         // every requested byte was read (or skipped)
  kTruncated,  // the source ended before the request was met
  kIoError,    // the system reported a failure while reading
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Reads exactly out.size() bytes into out. On kTruncated the bytes that
  // were available have been consumed and the contents of out are unspecified.
  virtual ReadStatus read(std::span<std::uint8_t> out) = 0;

  // Passes over exactly n bytes without delivering them. Skipping past the
  // end gives kTruncated and leaves the source at its end.
  virtual ReadStatus skip(std::uint64_t n) = 0;
};

// Reads from a byte buffer that outlives the source.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  ReadStatus read(std::span<std::uint8_t> out) override;
  ReadStatus skip(std::uint64_t n) override;

  std::size_t position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Reads a file from its first byte. In a file that can seek (a regular file)
// skips seek rather than read, so passing over a large chunk costs nothing; a
// pipe or a terminal is read through instead. Either way a skip past the end
// is kTruncated.
class FileSource : public ByteSource {
 public:
  FileSource() = default;
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // Opens an existing file for reading. False when it cannot be opened (it
  // does not exist, is not readable, or is a directory). A pipe opens too.
  bool open(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  void close();

  ReadStatus read(std::span<std::uint8_t> out) override;
  ReadStatus skip(std::uint64_t n) override;

 private:
  std::FILE* file_ = nullptr;
  bool seekable_ = false;
  std::uint64_t size_ = 0;      // file length found at open, when seekable
  std::uint64_t position_ = 0;  // bytes consumed so far
};

}  // namespace formats

#endif  // FORMATS_BYTE_SOURCE_H_
