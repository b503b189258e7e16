#include "irview/model/file_facts.h"

#include <QFileInfo>
#include <QStringList>

namespace irview {

namespace {

// Trailer texts are stored bytes: shown as Latin-1, blanks at the end cut.
QString storedText(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).trimmed();
}

}  // namespace

QString fileFacts(const QString& path, const analysis::ResponseFile& file) {
  const std::size_t channels = file.channels.size();
  const analysis::Peak peak = analysis::find_peak(file);
  QStringList facts = {
      QString::fromStdString(file.format),
      channels == 1 ? QStringLiteral("1 channel") : QStringLiteral("%1 channels").arg(channels),
      QStringLiteral("%1 Hz").arg(file.sample_rate_hz, 0, 'g', 10),
      QStringLiteral("%1 points").arg(file.points()),
      QStringLiteral("%1 s").arg(file.duration_s(), 0, 'g', 4),
      QStringLiteral("peak %1 at %2 s (channel %3)")
          .arg(double(peak.value), 0, 'g', 4)
          .arg(peak.time_s, 0, 'g', 4)
          .arg(peak.channel + 1)};
  QString text = QFileInfo(path).fileName() + QStringLiteral(": ") + facts.join(QStringLiteral(", "));
  if (file.tim) {
    QStringList tim;
    if (file.tim->has_trailer) {
      tim.append(QStringLiteral("date %1").arg(storedText(file.tim->timestamp)));
      tim.append(QStringLiteral("source %1").arg(storedText(file.tim->source_name)));
      tim.append(QStringLiteral("level factor %1").arg(double(file.tim->level_factor), 0, 'g', 6));
    } else {
      tim.append(QStringLiteral("no trailer"));
    }
    tim.append(
        QStringLiteral("sample interval %1 ms").arg(double(file.tim->sample_interval_ms), 0, 'g', 6));
    text += QStringLiteral("; ") + tim.join(QStringLiteral(", "));
  }
  return text;
}

}  // namespace irview
