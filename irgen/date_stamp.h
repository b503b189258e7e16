// The instant a .TIM file is stamped with: the local date and time of the
// run, or, when the environment variable SOURCE_DATE_EPOCH holds a count of
// seconds since 1970-01-01 UTC, that instant in local time, so that two runs
// give identical files.
#ifndef IRGEN_DATE_STAMP_H_
#define IRGEN_DATE_STAMP_H_

#include <ctime>
#include <optional>
#include <string_view>

#include "formats/tim_file.h"

namespace irgen {

// The calendar fields of `when` in the local time zone.
formats::DateTime local_date_time(std::time_t when);

// The seconds of a SOURCE_DATE_EPOCH value: decimal digits only, within the
// range of time_t. nullopt for anything else (the stamp then uses the clock).
std::optional<std::time_t> parse_source_date_epoch(std::string_view text);

// Reads SOURCE_DATE_EPOCH or the clock; the one call made by main.
formats::DateTime stamp_now();

}  // namespace irgen

#endif  // IRGEN_DATE_STAMP_H_
