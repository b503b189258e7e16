#include "listen/response/prepare.h"

#include <algorithm>

#include "listen/response/resample.h"

namespace listen {

Prepared prepare_response(const std::vector<NamedResponse>& files, double dry_rate_hz,
                          const std::optional<BandGains>& equaliser) {
  Prepared p;
  std::vector<std::vector<float>>& channels = p.response.channels;
  for (const NamedResponse& named : files) {
    const analysis::ResponseFile& file = *named.file;
    const std::size_t count = file.channels.size();
    if (files.size() == 1 && count > 2) {
      p.problem = {2, named.name + ": a " + std::to_string(count) +
                          "-channel response (1 or 2 channels are taken)"};
      return p;
    }
    if (files.size() > 1 && count != 1) {
      p.problem = {2, named.name + ": a " + std::to_string(count) +
                          "-channel response, where each of two responses must be mono"};
      return p;
    }
    const bool other_rate = file.sample_rate_hz != dry_rate_hz;
    if (other_rate) p.resampled_from_hz.push_back(file.sample_rate_hz);
    for (const std::vector<float>& samples : file.channels) {
      if (!other_rate) {
        channels.push_back(samples);
        continue;
      }
      std::string error;
      channels.push_back(resample(samples, file.sample_rate_hz, dry_rate_hz, &error));
      if (channels.back().empty()) {
        p.problem = {2, named.name + ": cannot be resampled (" + error + ")"};
        return p;
      }
    }
  }
  std::size_t longest = 0;
  for (const auto& c : channels) longest = std::max(longest, c.size());
  for (auto& c : channels) c.resize(longest, 0.0f);
  p.response.sample_rate_hz = dry_rate_hz;
  if (equaliser) {
    for (auto& c : channels) c = equalise(c, dry_rate_hz, *equaliser);
    p.response.lead = p.response.trail = equaliser_half_length(dry_rate_hz);
  }
  return p;
}

}  // namespace listen
