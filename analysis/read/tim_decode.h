// A .TIM file held in memory, decoded into a response through the project's
// .TIM reader (formats/tim_file.h): the head, the samples it promises, and
// the trailer when the file holds one.
#ifndef ANALYSIS_READ_TIM_DECODE_H_
#define ANALYSIS_READ_TIM_DECODE_H_

#include <cstdint>
#include <span>
#include <string>

#include "analysis/read/read_response.h"
#include "analysis/response.h"

namespace analysis {

struct TimDecode {
  ReadProblem problem = ReadProblem::kNone;
  std::string what;   // the problem, without the file's name
  ResponseFile file;  // one channel, when problem is kNone
};

// True when the bytes begin with the tag every .TIM file starts with.
bool has_tim_tag(std::span<const std::uint8_t> bytes);

// kReadFailed when the bytes end inside the head or the samples; kRefused
// for a point count that is not positive or above max_points, or a sample
// interval that is no positive finite number. The sampling rate is
// 1000 / interval, rounded to a whole number of Hz when that close to one
// (the interval is stored in single precision).
TimDecode decode_tim(std::span<const std::uint8_t> bytes, std::size_t max_points);

}  // namespace analysis

#endif  // ANALYSIS_READ_TIM_DECODE_H_
