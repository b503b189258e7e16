#include "console/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#elif defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace console {
namespace {

namespace fs = std::filesystem;

SignalCleanup g_cleanup = nullptr;

#if defined(_WIN32)

// Runs on a thread of its own that the system starts for the event. The
// temporaries are created with FILE_SHARE_DELETE, so they can be removed
// while the main thread still has them open; they vanish when the process
// ends right after with the status of an interrupted console program,
// STATUS_CONTROL_C_EXIT, as the system's default handler would end it.
BOOL WINAPI on_console_event(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      if (g_cleanup != nullptr) g_cleanup();
      ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    default:
      return FALSE;
  }
}

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        wide.data(), n);
  }
  return wide;
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                        text.data(), n, nullptr, nullptr);
  }
  return text;
}

#elif defined(__unix__) || defined(__APPLE__)

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
#if defined(_WIN32)
  // Text mode would add a CR before every LF and stop reading at Ctrl-Z.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleCtrlHandler(on_console_event, TRUE);
#elif defined(__unix__) || defined(__APPLE__)
  for (int fd = 0; fd <= 2; ++fd) fill_standard_descriptor(fd);
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  install_handlers();
#else
  std::signal(SIGINT, on_fatal_signal);
  std::signal(SIGTERM, on_fatal_signal);
#endif
}

std::vector<std::string> command_line_words(int argc, char** argv) {
#if defined(_WIN32)
  // CommandLineToArgvW splits as the C runtime does: blanks and tabs between
  // words, double quotes around blanks, 2n backslashes before a quote give n
  // and a delimiter, 2n+1 give n and a literal quote.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(narrow(wide[i]));
    LocalFree(wide);
    return words;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

fs::path utf8_path(std::string_view name) {
#if defined(_WIN32)
  return fs::path(widen(name));
#else
  return fs::path(std::string(name));
#endif
}

std::string path_utf8(const fs::path& path) {
#if defined(_WIN32)
  return narrow(path.native());
#else
  return path.native();
#endif
}

std::FILE* open_file(const fs::path& path, const char* mode) {
#if defined(_WIN32)
  return _wfopen(path.c_str(), widen(mode).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool seek_file(std::FILE* file, std::int64_t offset) {
#if defined(_WIN32)
  return _fseeki64(file, offset, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::int64_t tell_file(std::FILE* file) {
#if defined(_WIN32)
  return _ftelli64(file);
#else
  return static_cast<std::int64_t>(ftello(file));
#endif
}

std::FILE* create_new_file(const fs::path& path) {
#if defined(_WIN32)
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    errno = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
  if (fd < 0) {
    CloseHandle(handle);
    DeleteFileW(path.c_str());
    errno = EACCES;
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    DeleteFileW(path.c_str());
    errno = EACCES;
  }
  return file;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

bool replace_file(const fs::path& from, const fs::path& to) {
#if defined(_WIN32)
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool local_time(std::time_t when, std::tm& out) {
#if defined(_WIN32)
  return localtime_s(&out, &when) == 0;
#else
  return localtime_r(&when, &out) != nullptr;
#endif
}

std::string_view text_line_end() {
#if defined(_WIN32)
  return "\r\n";
#else
  return "\n";
#endif
}

void remove_file_now(const fs::path::value_type* native) noexcept {
#if defined(_WIN32)
  DeleteFileW(native);
#elif defined(__unix__) || defined(__APPLE__)
  unlink(native);  // async-signal-safe, unlike remove()
#else
  std::remove(native);
#endif
}

}  // namespace console
