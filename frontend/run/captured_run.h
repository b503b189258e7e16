// Running a converter without a terminal, its output captured: the words
// that start it, the exit status it leaves behind, and the last lines of
// what it printed, from which the front end tells the user how it ended.
// Pure: the files are read and written by the caller.
#ifndef FRONTEND_RUN_CAPTURED_RUN_H_
#define FRONTEND_RUN_CAPTURED_RUN_H_

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "frontend/launch/program_lookup.h"

namespace frontend {

// The shell that runs capturedRunScript().
inline constexpr char kCapturedRunShell[] = "/bin/sh";

// The script, run as "/bin/sh -c <script> sonabrix STATUS PROGRAM ARG...":
// it runs PROGRAM with its arguments (standard streams as the caller set
// them), then writes the exit status, in decimal and a line feed, to
// STATUS.part and renames that to STATUS, so that STATUS appears only
// complete. When STATUS cannot be written (its folder is gone because the
// front end has ended) the script ends quietly. It exits with the status.
// It needs nothing from PATH.
QString capturedRunScript();

// The start of `converter` through the script, with its status in
// `statusFile`.
StartRequest capturedRunStart(const StartRequest& converter, const QString& statusFile);

// The exit status in the text of a status file; nullopt when the text is
// not one number between 0 and 255 followed by a line feed.
std::optional<int> parseExitStatus(const QByteArray& text);

// How many bytes of the end of the output are read, and how many of its
// last lines are shown.
inline constexpr qint64 kOutputTailBytes = 4096;
inline constexpr int kShownOutputLines = 12;

// The last `count` non-empty lines of `tail`, the end of a program's output
// (the whole output when `wholeOutput`, else a piece that may begin inside
// a line, whose first line is then dropped). Decoded as UTF-8; CR LF and a
// lone CR end lines; trailing blanks and every control character but the
// tab are removed (the converters print a form feed before their banner).
QStringList lastOutputLines(const QByteArray& tail, bool wholeOutput, int count);

}  // namespace frontend

#endif  // FRONTEND_RUN_CAPTURED_RUN_H_
