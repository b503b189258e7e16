// An AudioOutput for the tests: available or not as told, records the
// streams started and stopped, and pulls frames only when a test asks
// (pull()), keeping every frame it was given.
#ifndef IRVIEW_TESTING_FAKE_AUDIO_OUTPUT_H_
#define IRVIEW_TESTING_FAKE_AUDIO_OUTPUT_H_

#include <vector>

#include "irview/player/audio_output.h"

namespace irview::testing {

class FakeAudioOutput : public AudioOutput {
 public:
  QString unavailableReason;  // what unavailable() answers
  QString startProblem;       // when not empty, start() fails with it
  int starts = 0;
  int stops = 0;
  int rateHz = 0;
  bool running = false;
  std::vector<float> heard;  // every frame pulled, interleaved stereo

  QString unavailable() override { return unavailableReason; }
  QString start(int rate, Pull pull) override {
    ++starts;
    if (!startProblem.isEmpty()) return startProblem;
    rateHz = rate;
    pull_ = std::move(pull);
    running = true;
    return {};
  }
  void stop() override {
    ++stops;
    running = false;
    pull_ = nullptr;
  }
  // Pulls `frames` frames as the device would; returns how many came.
  std::size_t pull(std::size_t frames) {
    if (!running) return 0;
    std::vector<float> block(frames * 2);
    const std::size_t got = pull_(block);
    heard.insert(heard.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got * 2));
    return got;
  }

 private:
  Pull pull_;
};

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_FAKE_AUDIO_OUTPUT_H_
