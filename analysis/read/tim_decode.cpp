#include "analysis/read/tim_decode.h"

#include <cmath>

#include "formats/byte_order.h"
#include "formats/byte_source.h"
#include "formats/tim_file.h"

namespace analysis {

bool has_tim_tag(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 4 && formats::load_i32le(bytes.data()) == formats::kTimFileTag;
}

TimDecode decode_tim(std::span<const std::uint8_t> bytes, std::size_t max_points) {
  TimDecode d;
  formats::MemorySource source(bytes);
  formats::TimHead head;
  if (formats::read_tim_head(source, head) != formats::ReadStatus::kOk) {
    d.problem = ReadProblem::kReadFailed;
    d.what = "the file ends inside its 14-byte .TIM head";
    return d;
  }
  if (head.point_count <= 0) {
    d.problem = ReadProblem::kRefused;
    d.what = "its point count is " + std::to_string(head.point_count) + ", not a positive number";
    return d;
  }
  const auto points = static_cast<std::size_t>(head.point_count);
  if (points > max_points) {
    d.problem = ReadProblem::kRefused;
    d.what = "its point count " + std::to_string(points) + " is above " +
             std::to_string(max_points);
    return d;
  }
  const double interval = head.sample_interval_ms;
  if (!std::isfinite(interval) || !(interval > 0.0)) {
    d.problem = ReadProblem::kRefused;
    d.what = "its sample interval is no positive number of milliseconds";
    return d;
  }
  // Checked before anything is allocated: the head alone may promise more
  // samples than the file holds.
  const std::uint64_t needed = formats::tim_trailer_offset(head.point_count);
  if (bytes.size() < needed) {
    d.problem = ReadProblem::kReadFailed;
    d.what = "the file ends after " + std::to_string((bytes.size() - formats::kTimHeadSize) / 4) +
             " of the " + std::to_string(points) + " samples its head promises";
    return d;
  }
  std::vector<float> samples(points);
  if (formats::read_tim_samples(source, samples) != formats::ReadStatus::kOk) {
    d.problem = ReadProblem::kReadFailed;
    d.what = "the file ends inside its samples";
    return d;
  }

  double rate = 1000.0 / interval;
  const double whole = std::round(rate);
  if (std::fabs(rate - whole) <= 1e-6 * rate) rate = whole;
  d.file.format = "TIM (32-bit float)";
  d.file.sample_rate_hz = rate;
  d.file.channels.push_back(std::move(samples));
  TimDetails tim;
  tim.sample_interval_ms = head.sample_interval_ms;
  tim.acquisition_mode = head.acquisition_mode;
  if (bytes.size() - needed >= formats::kTimTrailerSize) {
    const formats::TimTrailerInfo trailer = formats::decode_tim_trailer(
        bytes.subspan(needed).first<formats::kTimTrailerSize>());
    tim.has_trailer = true;
    tim.title = trailer.title;
    tim.timestamp = trailer.timestamp;
    tim.source_name = trailer.source_name;
    tim.level_factor = trailer.level_factor;
  }
  d.file.tim = std::move(tim);
  return d;
}

}  // namespace analysis
