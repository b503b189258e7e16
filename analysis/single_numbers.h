// The single-number values of a channel, each the arithmetic mean of its
// values in the 500 Hz and 1 kHz octave bands ("mid"): EDT, T20, T30, C80,
// D50 and Ts. C50 and the peak-to-noise ratio have none. A value is
// missing when either band's is, with that band's reason, and for an
// analysis in third octaves.
#ifndef ANALYSIS_SINGLE_NUMBERS_H_
#define ANALYSIS_SINGLE_NUMBERS_H_

#include <vector>

#include "analysis/decay/parameters.h"

namespace analysis {

struct BandAnalysis;

inline constexpr double kMidBandsHz[] = {500.0, 1000.0};

// Whether a parameter has a single-number value.
bool has_single_number(Parameter p);

// The mid values of a channel's results (bands lowest first, as
// analyse_file gives them); missing when a band is not among them.
ParameterSet single_number_values(const std::vector<BandAnalysis>& results);

}  // namespace analysis

#endif  // ANALYSIS_SINGLE_NUMBERS_H_
