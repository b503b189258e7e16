// The real AudioOutput on Qt Multimedia: a QAudioSink on the default output
// device (PulseAudio or PipeWire through it), in pull mode, fed on the
// window's thread. Stereo 32-bit float, or 16-bit integer where the device
// takes no float. About 150 ms are buffered, so that a busy window does not
// break the sound.
#ifndef IRVIEW_WINDOW_QT_AUDIO_OUTPUT_H_
#define IRVIEW_WINDOW_QT_AUDIO_OUTPUT_H_

#include <memory>

#include "irview/player/audio_output.h"

class QAudioSink;

namespace irview {

class QtAudioOutput : public AudioOutput {
 public:
  QtAudioOutput();
  ~QtAudioOutput() override;

  QString unavailable() override;
  QString start(int rateHz, Pull pull) override;
  void stop() override;

 private:
  class PullDevice;
  std::unique_ptr<PullDevice> device_;
  std::unique_ptr<QAudioSink> sink_;
};

// An output without sound, for a window given none: unavailable().
class NoAudioOutput : public AudioOutput {
 public:
  QString unavailable() override;
  QString start(int, Pull) override { return unavailable(); }
  void stop() override {}
};

}  // namespace irview

#endif  // IRVIEW_WINDOW_QT_AUDIO_OUTPUT_H_
