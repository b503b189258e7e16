// For tests: a fresh folder under the system's temporary folder, removed
// with everything in it when the object goes.
#ifndef FORMATS_TEST_TEMP_DIR_H_
#define FORMATS_TEST_TEMP_DIR_H_

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace formats {

class TestTempDir {
 public:
  TestTempDir() {
    std::random_device random;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              ("ir_test_" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TestTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TestTempDir(const TestTempDir&) = delete;
  TestTempDir& operator=(const TestTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const {
    return path_ / name;
  }

  // Names of the entries in the folder, for checks that nothing was left.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void write_bytes(const std::filesystem::path& path,
                        const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

}  // namespace formats

#endif  // FORMATS_TEST_TEMP_DIR_H_
