// What a converter does to its process before anything else, so that files it
// opens and signals it receives cannot corrupt or strand its output.
//
// prepare_process():
// - opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so no
//   file opened later takes the place of a console stream (console lines
//   written into an output file, prompt answers read from an input file);
// - ignores SIGPIPE (a console that went away must not end the run half way)
//   and SIGXFSZ (a file size limit makes the write fail, which the run reports
//   as a write error, instead of killing the process);
// - on SIGINT, SIGTERM, SIGHUP and SIGQUIT calls `cleanup`, then dies of the
//   signal as it would have without the handler. A signal that was ignored
//   when the process started (nohup, background jobs) stays ignored.
//
// `cleanup` runs inside a signal handler: it must be async-signal-safe (no
// allocation, no stdio, no locks). It may be null.
// On Windows instead:
// - standard input, output and error are switched to binary mode, so that the
//   bytes of the console layer (CR LF, FF) go out unchanged and no CR is
//   added before a LF; a console shows UTF-8;
// - Ctrl-C, Ctrl-Break and closing the console window call `cleanup`, then
//   the process ends as it would have without the handler
//   (STATUS_CONTROL_C_EXIT).
//
// This file is the converters' one platform edge: the other functions below
// are how the rest of the code reaches the file system and the command line.
// Names are UTF-8 text everywhere above this edge.
#ifndef CONSOLE_PROCESS_H_
#define CONSOLE_PROCESS_H_

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace console {

using SignalCleanup = void (*)() noexcept;

void prepare_process(SignalCleanup cleanup);

// The words of the process command line, word 0 being the program, as UTF-8.
// On Windows they come from the wide-character command line, split by the C
// runtime's rules, whatever the ANSI code page; elsewhere they are
// argv as it is.
std::vector<std::string> command_line_words(int argc, char** argv);

// A file-system path for a UTF-8 name, and the UTF-8 text of a path.
std::filesystem::path utf8_path(std::string_view name);
std::string path_utf8(const std::filesystem::path& path);

// Opens a file as std::fopen does (`mode` as for fopen, binary modes).
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

// Creates `path` for writing in binary mode; fails with errno EEXIST when it
// already exists (never opens an existing file). On Windows the file can be
// removed while it is open, so that cleanup from the Ctrl-C handler works.
std::FILE* create_new_file(const std::filesystem::path& path);

// Moves the position of an open file to `offset` bytes from its start, and
// tells it; 64-bit offsets on every platform. seek_file is false, and
// tell_file -1, when the file cannot seek (a pipe).
bool seek_file(std::FILE* file, std::int64_t offset);
std::int64_t tell_file(std::FILE* file);

// Puts `from` in the place of `to` in one step, replacing an existing `to`.
// False on failure, with both files as they were.
bool replace_file(const std::filesystem::path& from,
                  const std::filesystem::path& to);

// The local date and time of `when` (localtime_r, localtime_s on Windows).
// False when the system cannot tell.
bool local_time(std::time_t when, std::tm& out);

// The line end of plain text on this platform's consoles: LF, and CR LF on
// Windows, where the console streams are binary (see prepare_process).
std::string_view text_line_end();

// Removes a file by its native name (path::c_str()). Safe in a signal
// handler: no allocation, no locks.
void remove_file_now(const std::filesystem::path::value_type* native) noexcept;

}  // namespace console

#endif  // CONSOLE_PROCESS_H_
