// The facts irinfo prints of a file ahead of its tables, as one line of
// text for the viewer: format, channels, sampling rate, points, duration,
// the peak and its time, and for a .TIM file its trailer (date stamp,
// source name, level factor) and sample interval.
#ifndef IRVIEW_MODEL_FILE_FACTS_H_
#define IRVIEW_MODEL_FILE_FACTS_H_

#include <QString>

#include "analysis/response.h"

namespace irview {

// "left.tim: TIM (32-bit float), 1 channel, 44100 Hz, 65535 points,
// 1.486 s, peak 0.982 at 0.0123 s (channel 1); date  8/12/2026 10: 4: 2,
// source take1.wav, level factor 1.5, sample interval 0.0226757 ms".
QString fileFacts(const QString& path, const analysis::ResponseFile& file);

}  // namespace irview

#endif  // IRVIEW_MODEL_FILE_FACTS_H_
