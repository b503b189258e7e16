// The output edge of the converters: a file that appears under its name only
// when it is complete.
//
// open() creates a temporary file in the target's folder; write() appends to
// it; finish() flushes and closes it; commit() renames it over the target in
// one step. Until commit() succeeds the target is untouched: a run that
// fails or returns early never leaves a half-written file and never changes
// an existing file of the target's name. A failed run ends by throwing
// (console::RunEnd), so the destructor discards the temporary. The backstops
// are an exit handler, which removes the temporaries still pending when the
// process ends through exit() without unwinding, and
// remove_pending_temporaries(), which does the same from a signal handler.
//
// Temporaries are named ".irtmp-" and 12 random characters, whatever the
// length of the target's name, so any name the folder accepts can be written.
#ifndef FORMATS_OUTPUT_FILE_H_
#define FORMATS_OUTPUT_FILE_H_

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

namespace formats {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();  // discards the temporary unless committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares to write `target`. False when the target cannot be written:
  // its folder is missing or not writable, the target is a folder, an
  // existing target cannot be opened for writing, or 16 outputs are already
  // pending. Nothing is changed on failure. When the target is a symbolic
  // link, the file it points to is the one replaced on commit. An existing
  // target that is neither a file nor a folder (a device such as /dev/null,
  // a pipe) is written in place.
  bool open(const std::filesystem::path& target);

  // Appends bytes to the temporary. False on a write failure (disk full).
  bool write(std::span<const std::uint8_t> bytes);

  // Moves the write position to `offset` bytes from the start, for writers
  // that fill in a header's sizes once the data are written (the audio
  // library's WAVE and FLAC writers); tell() gives the position. False, and
  // -1, when the output cannot seek (a pipe written in place) or is not
  // open; a failed seek fails the output as a failed write does.
  bool seek(std::int64_t offset);
  std::int64_t tell() const;

  // Flushes and closes the temporary, so that only the rename is left to
  // commit(). False when a write, the flush or the close failed; the
  // temporary is then removed and the target is as it was. A run that
  // finishes all its outputs before it commits any changes none of their
  // targets when the disk fills up.
  bool finish();

  // Finishes the temporary if that is not done yet, then renames it over the
  // target. False when any step fails; the temporary is then removed and the
  // target is as it was. Calling commit() without a successful open() gives
  // false.
  bool commit();

  // Closes and removes the temporary; the target stays as it was.
  void discard();

  bool is_open() const { return file_ != nullptr; }

 private:
  enum class State { kIdle, kWriting, kFinished };

  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  std::filesystem::path temporary_;  // empty when written in place
  State state_ = State::kIdle;
  bool failed_ = false;
};

// Removes every temporary that is neither committed nor discarded. Safe to
// call from a signal handler: it neither allocates nor locks. Meant for a
// process that is about to die of a signal.
void remove_pending_temporaries() noexcept;

// True when both names exist and refer to the same file (hard links and
// symbolic links included). False when either does not exist or cannot be
// examined. Never throws.
bool refers_to_same_file(const std::filesystem::path& a,
                         const std::filesystem::path& b);

}  // namespace formats

#endif  // FORMATS_OUTPUT_FILE_H_
