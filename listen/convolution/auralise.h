// An auralisation: a dry signal convolved with a response, computed in
// blocks from a FrameSource into a FrameSink, with progress and stop, while
// its peak and integrated loudness (BS.1770) are measured on the way. The
// output has the response's channels (listen/convolution/channels.h) and holds the whole
// tail: dry frames + response frames - 1 of them. Memory does not grow with
// the dry's length.
//
// This is the first of the two passes of irconv and of the viewer's export:
// the measured peak or loudness decides the gain (listen/level/gain.h) before
// anything is written (listen/files/export.h).
#ifndef LISTEN_CONVOLUTION_AURALISE_H_
#define LISTEN_CONVOLUTION_AURALISE_H_

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "listen/convolution/frames.h"

namespace listen {

// A response ready for the convolution: 1 or 2 channels of one length, at
// the dry's sampling rate (listen/response/prepare.h makes one). An equalised
// response carries the equaliser's ringing around it: `lead` points before
// its time zero and `trail` points after its own end, outside the output's
// length (the ringing of the dry's first frames before the output begins
// is dropped, as is the ringing after the tail).
struct Response {
  double sample_rate_hz = 0.0;
  std::vector<std::vector<float>> channels;
  std::size_t lead = 0;
  std::size_t trail = 0;
  std::size_t points() const { return channels.empty() ? 0 : channels[0].size(); }
  // The response's own length, which sets the output's.
  std::size_t frames() const { return points() - lead - trail; }
};

// Progress is called on the computing thread with the part done, 0 .. 1, at
// most once a block; a set `stop` ends the work at the next block.
// The loudness is measured only when asked: its K-weighting filters cost a
// sixth of an auralisation's time.
struct Control {
  std::function<void(double)> progress;
  const std::atomic<bool>* stop = nullptr;
  bool measure_loudness = false;
  bool stopped() const { return stop != nullptr && stop->load(); }
};

// A failure, with the exit status the console programs give it: 1 for a
// file that cannot be read or written, 2 for an input refused.
struct Problem {
  int status = 0;
  std::string message;  // "<name>: <what>"
  explicit operator bool() const { return status != 0; }
};

struct Measured {
  std::size_t frames = 0;  // output frames
  std::size_t channels = 0;
  double sample_rate_hz = 0.0;
  double peak = 0.0;  // the largest magnitude of an output sample
  // Minus infinity when below the gates; NaN when not measured.
  double loudness_lufs = 0.0;
};

struct Auralised {
  Measured measured;  // what went to the sink, also when stopped or failed
  bool stopped = false;
  Problem problem;
};

// Convolves every frame of `dry` with `response` into `out`: output frame n
// is sum_k dry[n - k] h[k], k over the response's points from -lead on, for
// n = 0 .. dry frames + response.frames() - 2. Refused
// (status 2): a dry of no frames, a pair of channel counts route_channels()
// does not take, a response of no point of its own or at another rate than the dry, a dry sample
// that is not a finite number. A failing read is status 1 with the source's error, a failing sink
// status 1 with the sink's.
Auralised auralise(FrameSource& dry, const Response& response, FrameSink& out,
                   const Control& control = {});

}  // namespace listen

#endif  // LISTEN_CONVOLUTION_AURALISE_H_
