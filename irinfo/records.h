// irinfo's records for scripts: one per file, channel and band (the octave
// bands lowest first, then the broadband response, then the single-number
// values), as CSV or as the objects of a JSON array.
//
// Columns and keys: file (as given), channel (1-based), band_hz (the
// nominal mid-band frequency, 31.5 .. 16000; empty in CSV and null in JSON
// for the broadband and the single-number records), edt_s, t20_s, t30_s,
// c50_db, c80_db, d50, ts_ms, pnr_db (each a number, or empty / null when
// missing), missing, then band ("octave", "third", "broadband" or "mid":
// the mean of the 500 Hz and 1 kHz octaves) and the span of frequencies the
// record covers (a band's edges, the broadband response's span; empty /
// null for "mid"): span_low_hz and span_high_hz in CSV, span_hz as a pair
// in JSON, which puts band and span_hz behind band_hz; then the keys of
// irinfo/room/room_records.h (the speech transmission index and a binaural
// pair's interaural cross-correlation), in JSON before missing. In JSON,
// missing is an object from the key of each null parameter to its reason;
// in CSV it is "key: reason" entries joined by "; ". Numbers have six
// significant digits, "." as the decimal point whatever the locale. CSV
// fields are quoted when they hold a comma, a quote or a line break
// (RFC 4180); lines end with LF.
#ifndef IRINFO_RECORDS_H_
#define IRINFO_RECORDS_H_

#include <string>
#include <string_view>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/speech/sti.h"

namespace irinfo {

// "file,channel,band_hz,edt_s,...,pnr_db,missing,band,span_low_hz,span_high_hz,pair,...,sti_conditions\n"
std::string csv_header();
// The CSV lines of one file, each ending with LF; `speech`: the index of
// each channel, or empty when none was computed.
std::string csv_records(std::string_view file,
                        const std::vector<analysis::ChannelAnalysis>& channels,
                        const std::vector<analysis::SpeechIndex>& speech = {});
// The JSON objects of one file, one a line, separated by ",\n", without the
// array's brackets and without a line end after the last.
std::string json_records(std::string_view file,
                         const std::vector<analysis::ChannelAnalysis>& channels,
                         const std::vector<analysis::SpeechIndex>& speech = {});

struct PairRecords;  // irinfo/room/room_records.h
// The records of a binaural pair (one per band and the unfiltered
// responses, channel empty or null), as csv_records and json_records.
std::string csv_pair_records(const PairRecords& pair);
std::string json_pair_records(const PairRecords& pair);

// A JSON string literal of the text: quotes, backslashes and control
// characters escaped; bytes that are not UTF-8 become U+FFFD, so the output
// is always valid JSON.
std::string json_string(std::string_view text);
// A number with six significant digits ("1.40048", "0.05", "1e-07").
std::string number_text(double value);

}  // namespace irinfo

#endif  // IRINFO_RECORDS_H_
