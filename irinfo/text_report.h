// irinfo's report for people: a file's facts, then per channel a table with
// one column per octave band, one for the broadband response (headed with
// its span, "22-11k") and one ("mid") for the single-number values, one row
// per parameter, "-" for a value that is missing (blank for the mid values
// there are none of), and below it the reasons, one line per band
// (parameters with the same reason together), and what the last two
// columns are.
#ifndef IRINFO_TEXT_REPORT_H_
#define IRINFO_TEXT_REPORT_H_

#include <string>
#include <string_view>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/response.h"

namespace irinfo {

// The facts: format, channels, sampling rate, points, duration, peak value
// and its time; for a .TIM file its sample interval and, when it has a
// trailer, date stamp, source name and level factor. Lines end with LF.
std::string facts_text(std::string_view name, const analysis::ResponseFile& file);

// The table and the reasons of one channel (1-based number).
std::string channel_table(std::size_t channel, const analysis::ChannelAnalysis& analysis);

// Text from a file shown as it is, except control characters, which become
// '?' so that they cannot move the terminal's cursor or end a line.
std::string printable(std::string_view text);

}  // namespace irinfo

#endif  // IRINFO_TEXT_REPORT_H_
