// The values of irinfo's records beyond the decay parameters: the speech
// transmission index of each channel and the interaural cross-correlation
// of a binaural pair, as fields that records.cpp writes after the decay
// parameters (in CSV after `missing`), in this order:
//
//   pair               the right ear's file on a pair's records (the
//                      left ear's is `file`; a stereo file names itself)
//   iacc_e, iacc_l, iacc_a   on a pair's records, per band and unfiltered
//   one_minus_iacc_e3  1 - the mean IACC_E of 500 Hz, 1 kHz and 2 kHz, on
//                      the pair's unfiltered record
//   mti                a channel's modulation transfer index, on its
//                      records of the bands 125 Hz .. 8 kHz
//   sti                the speech transmission index to two decimals, on
//                      a channel's unfiltered record
//   sti_category       "A+" .. "U", beside it
//   sti_conditions     how it was found, beside it: "reverberation only",
//                      "speech 60 dB(A)" or "speech 60 dB(A), noise
//                      45/40/35/30/25/20/15 dB" (125 Hz .. 8 kHz)
//
// A pair's records have channel empty (CSV) or null (JSON). A key that
// does not apply to a record is empty or null there and not in its
// `missing`; one that applies but cannot be given is, with its reason.
#ifndef IRINFO_ROOM_ROOM_RECORDS_H_
#define IRINFO_ROOM_ROOM_RECORDS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/spatial/iacc.h"
#include "analysis/speech/sti.h"

namespace irinfo {

struct ExtraField {
  std::string_view key;
  std::optional<double> number;
  std::optional<std::string> text;
  std::string missing;  // why a field that applies has no value
  bool applies = false;
};

// The keys, in order.
const std::vector<std::string_view>& extra_keys();

// The fields of a channel's record of a band (nullopt: unfiltered);
// `speech` may be null (no index computed).
std::vector<ExtraField> channel_fields(const analysis::SpeechIndex* speech,
                                       const std::optional<analysis::OctaveBand>& band);

// A binaural pair: the ears' files (the same for a stereo file) and what
// analyse_binaural found.
struct PairRecords {
  std::string left_file;
  std::string right_file;
  analysis::BinauralAnalysis analysis;
};

// The fields of a pair's record of one of its results.
std::vector<ExtraField> pair_fields(const PairRecords& pair, const analysis::BandIacc& result);

// "reverberation only", "speech 60 dB(A)", "speech 60 dB(A), noise 45/40/.../15 dB".
std::string conditions_text(const std::optional<analysis::SpeechConditions>& conditions);

}  // namespace irinfo

#endif  // IRINFO_ROOM_ROOM_RECORDS_H_
