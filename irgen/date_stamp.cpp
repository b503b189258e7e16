#include "irgen/date_stamp.h"

#include <charconv>
#include <cstdlib>

#include "console/process.h"

namespace irgen {

formats::DateTime local_date_time(std::time_t when) {
  std::tm tm{};
  if (!console::local_time(when, tm)) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
          tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

std::optional<std::time_t> parse_source_date_epoch(std::string_view text) {
  if (text.empty()) return std::nullopt;
  long long seconds = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      text.front() == '-') {
    return std::nullopt;
  }
  return static_cast<std::time_t>(seconds);
}

formats::DateTime stamp_now() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch != nullptr) {
    if (std::optional<std::time_t> when = parse_source_date_epoch(epoch)) {
      return local_date_time(*when);
    }
  }
  return local_date_time(std::time(nullptr));
}

}  // namespace irgen
