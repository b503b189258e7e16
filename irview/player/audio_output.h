// Where the Listen panel's sound goes: a stream of stereo float frames
// pulled from the player. The real one is Qt Multimedia's sink on the
// default output device (irview/window/qt_audio_output.h); the tests use
// irview/testing/fake_audio_output.h, which pulls when told.
#ifndef IRVIEW_PLAYER_AUDIO_OUTPUT_H_
#define IRVIEW_PLAYER_AUDIO_OUTPUT_H_

#include <QString>
#include <cstddef>
#include <functional>
#include <span>

namespace irview {

class AudioOutput {
 public:
  // Fills the interleaved stereo frames given (full scale 1.0) and returns
  // how many it wrote: fewer at the end of what there is to play. Called on
  // the thread that started the stream.
  using Pull = std::function<std::size_t(std::span<float> frames)>;

  virtual ~AudioOutput() = default;

  // Empty when sound can be played; otherwise why not, as a line for the
  // status bar ("no audio output device (is a sound server running?)").
  virtual QString unavailable() = 0;
  // Starts a stream at `rateHz` that pulls from `pull` until stop().
  // Returns an empty text, or why the stream could not start.
  virtual QString start(int rateHz, Pull pull) = 0;
  virtual void stop() = 0;
};

}  // namespace irview

#endif  // IRVIEW_PLAYER_AUDIO_OUTPUT_H_
