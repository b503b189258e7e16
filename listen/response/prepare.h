// Making a Response for a dry signal out of read response files: one file of
// 1 or 2 channels, or two mono files as the left and right channels of one
// stereo response (a .TIM pair as irgen writes them); brought to the dry's
// rate (listen/response/resample.h) and equalised by a filter file's gains
// (listen/response/equaliser.h) when asked.
#ifndef LISTEN_RESPONSE_PREPARE_H_
#define LISTEN_RESPONSE_PREPARE_H_

#include <optional>
#include <string>
#include <vector>

#include "analysis/response.h"
#include "listen/convolution/auralise.h"
#include "listen/response/equaliser.h"

namespace listen {

// A read response file and how messages name it.
struct NamedResponse {
  const analysis::ResponseFile* file = nullptr;
  std::string name;
};

struct Prepared {
  Response response;
  // The rates the files were resampled from (one per file), empty when all
  // were at the dry's rate.
  std::vector<double> resampled_from_hz;
  Problem problem;
};

// `files`: one response, or two mono ones (left, right), which may differ
// in length (the shorter is padded with zeros) and in rate. Refused (status
// 2): more than two channels in one file, a file of a pair that is not mono.
Prepared prepare_response(const std::vector<NamedResponse>& files, double dry_rate_hz,
                          const std::optional<BandGains>& equaliser = std::nullopt);

}  // namespace listen

#endif  // LISTEN_RESPONSE_PREPARE_H_
