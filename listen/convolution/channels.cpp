#include "listen/convolution/channels.h"

namespace listen {

std::optional<std::vector<Route>> route_channels(std::size_t dry_channels,
                                                 std::size_t response_channels) {
  if (dry_channels == 1 && response_channels == 1) return std::vector<Route>{{0, 0}};
  if (dry_channels == 1 && response_channels == 2) return std::vector<Route>{{0, 0}, {0, 1}};
  if (dry_channels == 2 && response_channels == 1) return std::vector<Route>{{0, 0}, {1, 0}};
  if (dry_channels == 2 && response_channels == 2) return std::vector<Route>{{0, 0}, {1, 1}};
  return std::nullopt;
}

std::string routing_refusal(std::size_t dry_channels, std::size_t response_channels) {
  const auto count = [](std::size_t n) { return std::to_string(n) + "-channel"; };
  if (dry_channels < 1 || dry_channels > 2) {
    return "a " + count(dry_channels) + " dry signal (1 or 2 channels are taken)";
  }
  return "a " + count(response_channels) + " response (1 or 2 channels are taken)";
}

}  // namespace listen
