#include "irview/model/room_text.h"

#include <QFileInfo>
#include <cstdio>

#include "irinfo/room/room_report.h"

namespace irview {

namespace {

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QString pairKey(const ViewedFile& left, const ViewedFile& right) {
  return QStringLiteral("%1/%2").arg(left.job).arg(right.job);
}

}  // namespace

QString modulationMatrixText(const analysis::SpeechIndex& speech) {
  if (!speech.sti.value || speech.bands.size() != analysis::kSpeechBandCount) return QString();
  QString text = QStringLiteral("  m(F)     ");
  for (const analysis::SpeechBand& band : speech.bands)
    text += QStringLiteral("%1").arg(fromStd(analysis::band_label(band.band)), 7);
  text += u'\n';
  for (std::size_t f = 0; f < analysis::kModulationCount; ++f) {
    char label[32];
    std::snprintf(label, sizeof label, "  %-5g Hz ", analysis::kModulationHz[f]);
    text += QString::fromLatin1(label);
    for (const analysis::SpeechBand& band : speech.bands)
      text += QStringLiteral("%1").arg(band.m[f], 7, 'f', 2);
    text += u'\n';
  }
  return text;
}

std::vector<BinauralPair> binauralPairs(const std::vector<ViewedFile>& files,
                                        QHash<QString, analysis::BinauralAnalysis>& cache) {
  std::vector<BinauralPair> pairs;
  const auto pairOf = [&](const ViewedFile& left, const ViewedFile& right, std::size_t l,
                          std::size_t r) {
    const QString key = pairKey(left, right);
    if (!cache.contains(key)) {
      cache.insert(key, analysis::analyse_binaural(left.response->channels[l],
                                                   right.response->channels[r],
                                                   left.response->sample_rate_hz));
    }
    pairs.push_back({left.path, right.path, cache.value(key)});
  };
  const ViewedFile* waiting = nullptr;  // a mono file waiting for its right ear
  for (const ViewedFile& file : files) {
    if (file.stage != ViewedFile::Stage::Analysed || !file.response) {
      waiting = nullptr;
      continue;
    }
    const std::size_t channels = file.response->channels.size();
    if (channels == 2) {
      pairOf(file, file, 0, 1);
      waiting = nullptr;
    } else if (channels == 1 && waiting &&
               waiting->response->sample_rate_hz == file.response->sample_rate_hz) {
      pairOf(*waiting, file, 0, 0);
      waiting = nullptr;
    } else {
      waiting = channels == 1 ? &file : nullptr;
    }
  }
  return pairs;
}

QString roomText(const std::vector<ViewedFile>& files, bool binaural,
                 QHash<QString, analysis::BinauralAnalysis>& cache) {
  QString text;
  for (const ViewedFile& file : files) {
    if (!file.analysis || !file.response) continue;
    const std::size_t count = file.analysis->speech.size();
    for (std::size_t c = 0; c < count; ++c) {
      text += u'\n' + traceLabel(file.path, c, count) + u'\n';
      text += fromStd(irinfo::speech_text(c + 1, file.analysis->speech[c]));
      text += modulationMatrixText(file.analysis->speech[c]);
    }
  }
  if (binaural) {
    for (const BinauralPair& pair : binauralPairs(files, cache)) {
      const irinfo::PairRecords records{QFileInfo(pair.left).fileName().toStdString(),
                                        QFileInfo(pair.right).fileName().toStdString(),
                                        pair.analysis};
      text += u'\n' + fromStd(irinfo::binaural_text(records));
    }
  }
  return text;
}

}  // namespace irview
