// Which dry channel meets which response channel: the output has the
// response's channels; a mono dry feeds every response channel, a stereo dry
// with a stereo response goes left with left and right with right, and each
// channel of a stereo dry with a mono response is convolved with it.
#ifndef LISTEN_CONVOLUTION_CHANNELS_H_
#define LISTEN_CONVOLUTION_CHANNELS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace listen {

// One output channel: the dry channel and the response channel convolved
// into it (0-based).
struct Route {
  std::size_t dry = 0;
  std::size_t response = 0;
  friend bool operator==(const Route&, const Route&) = default;
};

// The output channels in order, or nullopt for any other pair of counts.
std::optional<std::vector<Route>> route_channels(std::size_t dry_channels,
                                                 std::size_t response_channels);

// Why route_channels() gives nullopt, for a message: "a 3-channel dry signal
// (1 or 2 channels are taken)", "a 2-channel dry signal with a 3-channel
// response (...)".
std::string routing_refusal(std::size_t dry_channels, std::size_t response_channels);

}  // namespace listen

#endif  // LISTEN_CONVOLUTION_CHANNELS_H_
