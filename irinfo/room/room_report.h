// irinfo's report for people beyond the decay parameters: the speech
// transmission index of a channel (below its table) and the interaural
// cross-correlation of a binaural pair (after its files), laid out as the
// channel tables are (irinfo/text_report.h).
#ifndef IRINFO_ROOM_ROOM_REPORT_H_
#define IRINFO_ROOM_ROOM_REPORT_H_

#include <cstddef>
#include <string>

#include "analysis/speech/sti.h"
#include "irinfo/room/room_records.h"

namespace irinfo {

// A row of each band's MTI, the STI to two decimals with its category and
// how it was found; or the reason it is missing.
std::string speech_text(std::size_t channel, const analysis::SpeechIndex& speech);

// The pair's files, the window, a row each of IACC_E, IACC_L and IACC_A
// per band and unfiltered, the single numbers and the reasons.
std::string binaural_text(const PairRecords& pair);

}  // namespace irinfo

#endif  // IRINFO_ROOM_ROOM_REPORT_H_
