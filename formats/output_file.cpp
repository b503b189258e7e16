#include "formats/output_file.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "console/process.h"

namespace formats {
namespace {

namespace fs = std::filesystem;

// Hidden, recognisable and short: the name does not grow with the target's,
// which may itself be as long as the folder allows.
constexpr char kTemporaryPrefix[] = ".irtmp-";

// Temporaries not yet committed or discarded. A failed run ends by throwing,
// and the destructors discard its temporaries; this table serves the
// backstops: the exit handler, for an exit() that skips the destructors, and
// the signal handler, for a process killed by a signal. It is a
// fixed array of C strings so that a signal handler can walk it without
// allocating, and an entry is marked used only once its path is complete.
constexpr std::size_t kMaxPending = 16;
constexpr std::size_t kMaxPathBytes = 4096;

// Paths are kept in the system's own characters (wide on Windows), ready
// for removal without a conversion.
using PathChar = fs::path::value_type;

struct PendingEntry {
  volatile std::sig_atomic_t used = 0;
  PathChar path[kMaxPathBytes] = {};
};

PendingEntry g_pending[kMaxPending];

void remove_at_exit() { remove_pending_temporaries(); }

// False when the table is full or the path too long for it.
bool remember(const fs::path& p) {
  static const bool registered = std::atexit(remove_at_exit) == 0;
  const fs::path::string_type& text = p.native();
  if (!registered || text.size() >= kMaxPathBytes) return false;
  for (PendingEntry& entry : g_pending) {
    if (entry.used) continue;
    std::memcpy(entry.path, text.c_str(), (text.size() + 1) * sizeof(PathChar));
    std::atomic_signal_fence(std::memory_order_seq_cst);
    entry.used = 1;
    return true;
  }
  return false;
}

void forget(const fs::path& p) {
  for (PendingEntry& entry : g_pending) {
    if (entry.used && p.native() == entry.path) {
      entry.used = 0;
      std::atomic_signal_fence(std::memory_order_seq_cst);
      return;
    }
  }
}

std::string random_suffix() {
  static std::mt19937_64 generator{[] {
    try {
      return static_cast<std::uint64_t>(std::random_device{}());
    } catch (...) {
      return static_cast<std::uint64_t>(
          reinterpret_cast<std::uintptr_t>(&generator));
    }
  }()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t v = generator();
  std::string s;
  for (int i = 0; i < 12; ++i, v >>= 4) s += kDigits[v & 15];
  return s;
}

}  // namespace

void remove_pending_temporaries() noexcept {
  for (PendingEntry& entry : g_pending) {
    if (!entry.used) continue;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    console::remove_file_now(entry.path);
    entry.used = 0;
  }
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::open(const fs::path& target) {
  discard();
  std::error_code ec;
  fs::path resolved = target;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path real = fs::weakly_canonical(target, ec);
    if (!ec) resolved = real;
  }
  const fs::file_status st = fs::status(resolved, ec);
  if (fs::exists(st) && !fs::is_directory(st) && !fs::is_regular_file(st)) {
    // A device or a pipe (/dev/null, a FIFO) is written in place: it holds no
    // contents to protect, and renaming over it would replace it.
    file_ = console::open_file(resolved, "wb");
    target_ = resolved;
    failed_ = false;
    state_ = file_ != nullptr ? State::kWriting : State::kIdle;
    return file_ != nullptr;
  }
  if (fs::exists(st)) {
    if (fs::is_directory(st)) return false;
    // An existing file that could not be rewritten in place is not replaced
    // either: opening it for update checks the permission without touching it.
    std::FILE* probe = console::open_file(resolved, "r+b");
    if (probe == nullptr) return false;
    std::fclose(probe);
  }

  fs::path folder = resolved.parent_path();
  if (folder.empty()) folder = ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = folder / (kTemporaryPrefix + random_suffix());
    errno = 0;
    std::FILE* f = console::create_new_file(candidate);
    if (f == nullptr) {
      if (errno != EEXIST) return false;
      continue;
    }
    if (!remember(candidate)) {
      std::fclose(f);
      fs::remove(candidate, ec);
      return false;
    }
    file_ = f;
    target_ = resolved;
    temporary_ = candidate;
    failed_ = false;
    state_ = State::kWriting;
    return true;
  }
  return false;
}

bool OutputFile::write(std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr || failed_) return false;
  if (bytes.empty()) return true;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    failed_ = true;
  }
  return !failed_;
}

bool OutputFile::seek(std::int64_t offset) {
  if (file_ == nullptr || failed_) return false;
  if (!console::seek_file(file_, offset)) failed_ = true;
  return !failed_;
}

std::int64_t OutputFile::tell() const {
  if (file_ == nullptr || failed_) return -1;
  return console::tell_file(file_);
}

bool OutputFile::finish() {
  if (state_ == State::kFinished) return true;
  if (state_ != State::kWriting) return false;
  bool ok = !failed_;
  if (std::fflush(file_) != 0) ok = false;
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (!ok) {
    discard();
    return false;
  }
  if (!temporary_.empty()) {
    // A rewritten file keeps the permissions it had.
    std::error_code ec;
    const fs::file_status old = fs::status(target_, ec);
    if (!ec && fs::exists(old)) {
      fs::permissions(temporary_, old.permissions(), ec);
    }
  }
  state_ = State::kFinished;
  return true;
}

bool OutputFile::commit() {
  if (!finish()) return false;
  state_ = State::kIdle;
  if (temporary_.empty()) return true;  // written in place
  std::error_code ec;
  const bool ok = console::replace_file(temporary_, target_);
  if (!ok) fs::remove(temporary_, ec);
  forget(temporary_);
  temporary_.clear();
  return ok;
}

void OutputFile::discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  state_ = State::kIdle;
  if (!temporary_.empty()) {
    std::error_code ec;
    fs::remove(temporary_, ec);
    forget(temporary_);
    temporary_.clear();
  }
}

bool refers_to_same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const bool same = fs::equivalent(a, b, ec);
  return !ec && same;
}

}  // namespace formats
