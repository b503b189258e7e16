#include "formats/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace formats {
namespace {

namespace fs = std::filesystem;

// Hidden, recognisable and short: the name does not grow with the target's,
// which may itself be as long as the folder allows.
constexpr char kTemporaryPrefix[] = ".irtmp-";

// Temporaries not yet committed or discarded. The converters end a failed run
// through std::exit, which skips the destructors of local objects, so the
// leftovers are removed by an exit handler. The list is never destroyed, so
// an OutputFile that outlives the exit handler can still use it.
std::vector<fs::path>& pending() {
  static auto* list = [] {
    auto* l = new std::vector<fs::path>;
    std::atexit([] {
      std::error_code ec;
      for (const auto& p : pending()) fs::remove(p, ec);
      pending().clear();
    });
    return l;
  }();
  return *list;
}

void forget(const fs::path& p) {
  auto& list = pending();
  list.erase(std::remove(list.begin(), list.end(), p), list.end());
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
    file_ = std::fopen(resolved.c_str(), "wb");
    target_ = resolved;
    failed_ = false;
    return file_ != nullptr;
  }
  if (fs::exists(st)) {
    if (fs::is_directory(st)) return false;
    // An existing file that could not be rewritten in place is not replaced
    // either: opening it for update checks the permission without touching it.
    std::FILE* probe = std::fopen(resolved.c_str(), "r+b");
    if (probe == nullptr) return false;
    std::fclose(probe);
  }

  fs::path folder = resolved.parent_path();
  if (folder.empty()) folder = ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = folder / (kTemporaryPrefix + random_suffix());
    errno = 0;
    std::FILE* f = std::fopen(candidate.c_str(), "wbx");
    if (f != nullptr) {
      file_ = f;
      target_ = resolved;
      temporary_ = candidate;
      failed_ = false;
      pending().push_back(candidate);
      return true;
    }
    if (errno != EEXIST) return false;
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

bool OutputFile::commit() {
  if (file_ == nullptr) return false;
  bool ok = !failed_;
  if (std::fflush(file_) != 0) ok = false;
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (temporary_.empty()) return ok;  // written in place
  std::error_code ec;
  if (ok) {
    // A rewritten file keeps the permissions it had.
    const fs::file_status old = fs::status(target_, ec);
    if (!ec && fs::exists(old)) {
      fs::permissions(temporary_, old.permissions(), ec);
    }
    ec.clear();
    fs::rename(temporary_, target_, ec);
    if (ec) ok = false;
  }
  if (!ok) fs::remove(temporary_, ec);
  forget(temporary_);
  temporary_.clear();
  return ok;
}

void OutputFile::discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
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
