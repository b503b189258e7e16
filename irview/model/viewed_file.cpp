#include "irview/model/viewed_file.h"

#include <QFileInfo>

namespace irview {

QString smoothingLabel(analysis::Smoothing smoothing) {
  switch (smoothing) {
    case analysis::Smoothing::kNone:
      return QStringLiteral("none");
    case analysis::Smoothing::kOctave:
      return QStringLiteral("1/1 octave");
    case analysis::Smoothing::kThirdOctave:
      return QStringLiteral("1/3 octave");
    case analysis::Smoothing::kSixthOctave:
      return QStringLiteral("1/6 octave");
  }
  return QString();
}

QString bandName(const std::optional<analysis::OctaveBand>& band) {
  if (!band) return QStringLiteral("broadband");
  if (band->nominal_hz < 1000.0) return QStringLiteral("%1 Hz").arg(band->nominal_hz);
  return QStringLiteral("%1 kHz").arg(band->nominal_hz / 1000.0);
}

QString traceLabel(const QString& path, std::size_t channel, std::size_t channelCount) {
  const QString name = QFileInfo(path).fileName();
  if (channelCount <= 1) return name;
  if (channelCount == 2) return name + (channel == 0 ? QStringLiteral(" L") : QStringLiteral(" R"));
  return QStringLiteral("%1 ch %2").arg(name).arg(channel + 1);
}

std::vector<Trace> tracesOf(const std::vector<ViewedFile>& files) {
  std::vector<Trace> traces;
  for (const ViewedFile& file : files) {
    if (!file.response) continue;
    const std::size_t count = file.response->channels.size();
    for (std::size_t channel = 0; channel < count; ++channel)
      traces.push_back({traceLabel(file.path, channel, count), file.path, channel, file.response,
                        file.spectra, file.analysis});
  }
  return traces;
}

}  // namespace irview
