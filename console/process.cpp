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

SignalCleanup g_cleanup = nullptr;

#if defined(__unix__) || defined(__APPLE__)

constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void on_fatal_signal(int signal_number) {
  if (g_cleanup != nullptr) g_cleanup();
  // The signal is blocked while its handler runs: with the default action
  // back, the raised signal ends the process as soon as the handler returns,
  // and the parent sees "killed by signal".
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

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

void install_handlers() {
  struct sigaction action {};
  action.sa_handler = on_fatal_signal;
  sigemptyset(&action.sa_mask);
  // One cleanup at a time: the other fatal signals wait for the first.
  for (int s : kFatalSignals) sigaddset(&action.sa_mask, s);
  for (int s : kFatalSignals) {
    struct sigaction old {};
    if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(s, &action, nullptr);
  }
}

#else

extern "C" void on_fatal_signal(int signal_number) {
  if (g_cleanup != nullptr) g_cleanup();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

#endif

}  // namespace

void prepare_process(SignalCleanup cleanup) {
  g_cleanup = cleanup;
#if defined(__unix__) || defined(__APPLE__)
  for (int fd = 0; fd <= 2; ++fd) fill_standard_descriptor(fd);
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  install_handlers();
#else
  std::signal(SIGINT, on_fatal_signal);
  std::signal(SIGTERM, on_fatal_signal);
#endif
}

}  // namespace console
