// The binaural pairs among irinfo's files (--binaural): a stereo file is a
// pair of its own (channel 1 the left ear, channel 2 the right); a mono
// file waits for the next file, a mono file of the same sampling rate,
// which is its right ear. Files are given in the order of the command
// line; what does not pair is reported, status 2, and its file's own
// report stands.
#ifndef IRINFO_ROOM_BINAURAL_PAIRS_H_
#define IRINFO_ROOM_BINAURAL_PAIRS_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/dsp/band_signals.h"
#include "irinfo/room/room_records.h"

namespace irinfo {

// What a step gives: the report of a pair that is complete (formatted as
// asked), the messages of ears that pair with nothing, the status.
struct PairOutput {
  std::optional<std::string> report;
  std::vector<std::string> messages;
  int status = 0;
};

class BinauralPairs {
 public:
  using Format = std::function<std::string(const PairRecords&)>;
  explicit BinauralPairs(Format format) : format_(std::move(format)) {}

  // A file that was read: its channels' band signals (room_analysis.h).
  PairOutput add(const std::string& name, double sample_rate_hz,
                 std::vector<analysis::BandSignals> channels);
  // A file that could not be read: it parts a waiting ear from its partner.
  PairOutput broken();
  // After the last file.
  PairOutput finish() { return broken(); }

 private:
  struct Ear {
    std::string name;
    double rate = 0.0;
    analysis::BandSignals signals;
  };
  void unpaired(PairOutput& out);

  Format format_;
  std::optional<Ear> left_;
};

}  // namespace irinfo

#endif  // IRINFO_ROOM_BINAURAL_PAIRS_H_
