#include "analysis/single_numbers.h"

#include <algorithm>
#include <string>

#include "analysis/analyse.h"

namespace analysis {

bool has_single_number(Parameter p) { return p != Parameter::kC50 && p != Parameter::kPnr; }

ParameterSet single_number_values(const std::vector<BandAnalysis>& results) {
  ParameterSet mid("no single-number value");
  std::vector<const BandAnalysis*> bands;
  for (const double hz : kMidBandsHz) {
    const auto it = std::find_if(results.begin(), results.end(), [hz](const BandAnalysis& r) {
      return r.band && r.band->kind == BandKind::kOctave && r.band->nominal_hz == hz;
    });
    bands.push_back(it == results.end() ? nullptr : &*it);
  }
  const bool thirds = std::any_of(results.begin(), results.end(), [](const BandAnalysis& r) {
    return r.band && r.band->kind == BandKind::kThird;
  });
  for (const Parameter p : kParameters) {
    if (!has_single_number(p)) continue;
    if (thirds) {
      mid.set_missing(p, "the single numbers are of octave bands, not thirds");
      continue;
    }
    double sum = 0.0;
    std::string missing;
    for (std::size_t i = 0; i < bands.size(); ++i) {
      const std::string band = std::to_string(static_cast<int>(kMidBandsHz[i])) + " Hz";
      if (!bands[i]) {
        missing = "no " + band + " band at this sampling rate";
        break;
      }
      const ParameterValue& v = bands[i]->parameters[p];
      if (!v.value) {
        missing = band + ": " + v.missing;
        break;
      }
      sum += *v.value;
    }
    if (missing.empty()) {
      mid.set(p, sum / static_cast<double>(bands.size()));
    } else {
      mid.set_missing(p, missing);
    }
  }
  return mid;
}

}  // namespace analysis
