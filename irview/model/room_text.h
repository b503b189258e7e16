// What the "Parameters" page shows beyond irinfo's table: each analysed
// channel's speech transmission index with its modulation transfer matrix,
// and, when the files are taken as binaural, each pair's interaural
// cross-correlation. The index and the pairs' values and their layout are
// irinfo's (irinfo/room/room_report.h); the matrix is the viewer's own.
#ifndef IRVIEW_MODEL_ROOM_TEXT_H_
#define IRVIEW_MODEL_ROOM_TEXT_H_

#include <QHash>
#include <QString>
#include <vector>

#include "analysis/spatial/iacc.h"
#include "analysis/speech/sti.h"
#include "irview/model/viewed_file.h"

namespace irview {

// The m(F) of the seven bands at the fourteen modulation frequencies, a
// row per frequency ("0.63 Hz   0.97  0.96 ..."), two decimals; empty when
// the index is missing.
QString modulationMatrixText(const analysis::SpeechIndex& speech);

// The binaural pairs of the analysed files, as irinfo forms them: a stereo
// file is a pair by itself, two mono files in a row of the same sampling
// rate are one (left, then right). Each pair's cross-correlation is
// computed once and kept in `cache` (keyed by the files' jobs), so that
// showing the page again costs nothing.
struct BinauralPair {
  QString left, right;  // the ears' files (the same for a stereo file)
  analysis::BinauralAnalysis analysis;
};
std::vector<BinauralPair> binauralPairs(const std::vector<ViewedFile>& files,
                                        QHash<QString, analysis::BinauralAnalysis>& cache);

// The speech transmission index of each analysed channel (with its matrix)
// and, with `binaural`, the pairs' cross-correlation, as text.
QString roomText(const std::vector<ViewedFile>& files, bool binaural,
                 QHash<QString, analysis::BinauralAnalysis>& cache);

}  // namespace irview

#endif  // IRVIEW_MODEL_ROOM_TEXT_H_
