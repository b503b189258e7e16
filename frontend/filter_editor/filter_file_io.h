// Reading and writing the filter file on disk for the editor: a bounded read
// and an all-or-nothing write, with the message to show when either fails.
#ifndef FRONTEND_FILTER_EDITOR_FILTER_FILE_IO_H_
#define FRONTEND_FILTER_EDITOR_FILTER_FILE_IO_H_

#include <QString>
#include <optional>
#include <variant>

#include "frontend/desktop/user_message.h"
#include "filter_file/filter_file.h"

namespace frontend {

// At most this many bytes are read; twenty numbers fit many times over.
inline constexpr qint64 kFilterFileReadLimit = 64 * 1024;

// The bands of the file at `path`, or the message naming the file and what
// is wrong: it cannot be opened or read, it holds fewer than twenty numbers
// (in its first kFilterFileReadLimit bytes), or an item before the
// twentieth number is not a number or out of range (line and item given).
std::variant<FilterBands, UserMessage> loadFilterFile(const QString& path);

// Writes `bands` to `path` through a temporary file beside it that is
// renamed into place, so that the file is either complete or as it was.
// Nullopt on success; otherwise the message naming the file and the reason,
// and nothing has changed on disk.
std::optional<UserMessage> saveFilterFile(const QString& path, const FilterBands& bands);

// The message for a file that cannot be read as a filter file.
UserMessage filterFileReadMessage(const QString& path, const QString& reason);
// The message for a file that cannot be written.
UserMessage filterFileWriteMessage(const QString& path, const QString& reason);
// The reason `error` gives, as the read message says it.
QString describeFilterFileError(const FilterFileError& error);

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_FILTER_FILE_IO_H_
