#include "console/process.h"

#include <csignal>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace console {
namespace {

#if defined(__unix__) || defined(__APPLE__)

// Puts /dev/null on descriptor `fd` when it is closed. Descriptors are taken
// lowest first, so checking 0, 1, 2 in turn lands each on its own number.
void fill_standard_descriptor(int fd) {
  if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) return;
  const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
  if (opened == fd) return;
  // Without its console streams the run could write into its own files:
  // better not to run at all.
  if (opened < 0 || dup2(opened, fd) != fd) std::_Exit(1);
  close(opened);
}

#endif

}  // namespace

void prepare_process() {
#if defined(__unix__) || defined(__APPLE__)
  for (int fd = 0; fd <= 2; ++fd) fill_standard_descriptor(fd);
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace console
