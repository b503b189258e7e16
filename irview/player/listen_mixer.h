// What the Listen panel plays: the auralisations of one dry signal with the
// responses, one of them chosen, mixed into stereo frames from a play
// position. Choosing another while playing keeps the position and
// crossfades: every auralisation has a weight, and a choice moves the
// weights in a straight line, over kFadeSeconds, from where they are to 1
// for the chosen one and 0 for the others, so that they always sum to 1
// (an equal-gain fade: the auralisations of one dry signal are alike, and
// their sum keeps its level). A change of gain is ramped over the same
// time. A mono auralisation is played on both channels.
//
// The gains: with "Match loudness" each auralisation is brought to
// kListenLoudnessLufs as it is heard (playedLoudnessLufs()), so that their
// loudness (BS.1770) is equal; without
// it, every one takes the gain that brings the loudest to that level, so
// that they keep their own relative levels.
//
// Frames not yet computed play as silence; the session (listen_session.h)
// starts and switches only where the frames are computed. Not thread-safe:
// one thread mixes and chooses.
#ifndef IRVIEW_PLAYER_LISTEN_MIXER_H_
#define IRVIEW_PLAYER_LISTEN_MIXER_H_

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "irview/player/auralisation_buffer.h"

namespace irview {

inline constexpr double kFadeSeconds = 0.03;
inline constexpr double kListenLoudnessLufs = -23.0;

// The gain of each auralisation in dB, from their loudness in LUFS (NaN:
// not measured yet, which takes 0 dB and is left out of the loudest;
// minus infinity: below the gates, silent, 0 dB).
std::vector<double> listenGainsDb(const std::vector<double>& loudnessLufs, bool matchLoudness);

// The loudness of an auralisation as the mixer plays it: a mono one goes to
// both channels, which BS.1770 measures 10 log10(2) = 3.01 dB louder than
// the one channel.
double playedLoudnessLufs(const AuralisationBuffer& buffer);

class ListenMixer {
 public:
  // `fadeFrames`: the length of a crossfade and of a gain ramp (at least 1).
  explicit ListenMixer(std::size_t fadeFrames);

  // The auralisations, in the order of the responses (null: none yet);
  // the first is chosen, without a fade, at the position kept.
  void setSources(std::vector<std::shared_ptr<const AuralisationBuffer>> sources);
  // A null source takes the place of the one at `index` once it has begun.
  void setSource(std::size_t index, std::shared_ptr<const AuralisationBuffer> source);
  std::size_t sourceCount() const { return sources_.size(); }
  const AuralisationBuffer* source(std::size_t index) const { return sources_[index].get(); }

  // Chooses the auralisation at `index`: crossfades when `fade`, jumps
  // otherwise (before playing).
  void choose(std::size_t index, bool fade);
  std::size_t chosen() const { return chosen_; }
  bool fading() const { return fadeLeft_ > 0; }
  // The frame at which the last crossfade began.
  std::size_t fadeStart() const { return fadeStart_; }

  // The gain of the auralisation at `index`, as a factor; ramped when
  // `ramp`, set at once otherwise.
  void setGain(std::size_t index, double factor, bool ramp);
  double gain(std::size_t index) const { return voices_[index].gainTarget; }

  void seek(std::size_t frame) { position_ = frame; }
  std::size_t position() const { return position_; }
  // The frames of the chosen auralisation (0 when it has not begun).
  std::size_t length() const;

  // Writes stereo frames (interleaved) from the position on, and moves it;
  // returns the frames written, fewer than asked at the chosen one's end.
  std::size_t mix(std::span<float> out);

 private:
  struct Voice {
    double weight = 0.0;
    double weightFrom = 0.0;  // at the crossfade's start
    double gain = 1.0;
    double gainTarget = 1.0;
    double gainStep = 0.0;
  };
  std::size_t fadeFrames_;
  std::vector<std::shared_ptr<const AuralisationBuffer>> sources_;
  std::vector<Voice> voices_;
  std::size_t chosen_ = 0;
  std::size_t position_ = 0;
  std::size_t fadeLeft_ = 0;
  std::size_t fadeStart_ = 0;
};

}  // namespace irview

#endif  // IRVIEW_PLAYER_LISTEN_MIXER_H_
