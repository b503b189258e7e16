#include "irinfo/room/binaural_pairs.h"

#include "analysis/spatial/iacc.h"

namespace irinfo {

void BinauralPairs::unpaired(PairOutput& out) {
  if (!left_) return;
  out.messages.push_back(left_->name +
                         ": no right ear for --binaural (a pair is a stereo file or two mono "
                         "files in a row)");
  out.status = 2;
  left_.reset();
}

PairOutput BinauralPairs::broken() {
  PairOutput out;
  unpaired(out);
  return out;
}

PairOutput BinauralPairs::add(const std::string& name, double rate,
                              std::vector<analysis::BandSignals> channels) {
  PairOutput out;
  if (channels.size() == 2) {
    unpaired(out);
    out.report = format_(
        PairRecords{name, name, analysis::analyse_binaural(channels[0], channels[1], rate)});
  } else if (channels.size() == 1 && left_ && left_->rate == rate) {
    out.report = format_(PairRecords{left_->name, name,
                                     analysis::analyse_binaural(left_->signals, channels[0], rate)});
    left_.reset();
  } else if (channels.size() == 1) {
    if (left_) {
      out.messages.push_back(name + ": its sampling rate differs from " + left_->name +
                             "'s, so they are no binaural pair");
      out.status = 2;
    }
    left_ = Ear{name, rate, std::move(channels[0])};
  } else {
    unpaired(out);
    out.messages.push_back(name + ": --binaural takes stereo or mono files, not " +
                           std::to_string(channels.size()) + " channels");
    out.status = 2;
  }
  return out;
}

}  // namespace irinfo
