#include "frontend/files/channel_probe.h"

#include <QFile>
#include <QFileInfo>

namespace frontend {

QByteArray probeBytes(const QString& path, qint64 offset, int count) {
  QByteArray bytes(count, '\0');
  if (!QFileInfo(path).isFile()) return bytes;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) return bytes;
  const qint64 got = file.read(bytes.data(), count);
  if (got < 0) return QByteArray(count, '\0');
  return bytes;
}

std::optional<Channel> probeChannel(Mode mode, const QString& path) {
  if (mode == Mode::wavtim) {
    const QByteArray count = probeBytes(path, 22, 2);
    const int channels = static_cast<unsigned char>(count[0]) |
                         (static_cast<unsigned char>(count[1]) << 8);
    return channels == 1 ? Channel::Mono : Channel::Stereo;
  }
  if (mode == Mode::bktim) {
    const QByteArray bytes = probeBytes(path, 1604, 2);
    return bytes[0] == '\0' || bytes[1] == '\0' ? Channel::Mono : Channel::Stereo;
  }
  return std::nullopt;
}

}  // namespace frontend
