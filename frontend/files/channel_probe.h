// The channel probe of the CommWav button: a few bytes of the chosen WAVE or
// B&K time file decide whether Mono or Stereo is selected.
#ifndef FRONTEND_FILES_CHANNEL_PROBE_H_
#define FRONTEND_FILES_CHANNEL_PROBE_H_

#include <QByteArray>
#include <QString>
#include <optional>

#include "frontend/form/form_state.h"

namespace frontend {

// `count` bytes of the file at `path` from `offset`. The file is opened for
// reading only and only when it is a regular file (a pipe or a device could
// block the window); bytes that cannot be read, for whatever reason, are 0.
QByteArray probeBytes(const QString& path, qint64 offset, int count);

// The channel option that the file at `path` selects:
//   wavtim: Mono when the 16-bit little-endian value at offset 22 (the
//           channel count of a WAVE header) is 1, else Stereo;
//   bktim:  Mono when either byte at offset 1604 or 1605 is 0, else Stereo;
//   other modes: nullopt, nothing is read.
// A missing or short file thus reads as Stereo in wavtim and Mono in bktim.
std::optional<Channel> probeChannel(Mode mode, const QString& path);

}  // namespace frontend

#endif  // FRONTEND_FILES_CHANNEL_PROBE_H_
