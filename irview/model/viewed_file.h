// A file as the viewer holds it: its name, the samples once read, and the
// analysis once it has arrived (it is made off the window's thread and
// arrives later, or never when stopped). Each channel of a file is one trace
// of the plots; the labels tell the traces apart in the legends and the
// table.
#ifndef IRVIEW_MODEL_VIEWED_FILE_H_
#define IRVIEW_MODEL_VIEWED_FILE_H_

#include <QString>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/dsp/octave_bands.h"
#include "analysis/dsp/spectrum.h"
#include "analysis/response.h"
#include "analysis/speech/sti.h"

namespace irview {

// The smoothings offered for the magnitude response, in menu order.
inline constexpr std::array<analysis::Smoothing, 3> kSmoothings = {
    analysis::Smoothing::kNone, analysis::Smoothing::kThirdOctave,
    analysis::Smoothing::kSixthOctave};
// "none", "1/3 octave", "1/6 octave".
QString smoothingLabel(analysis::Smoothing smoothing);

// One channel's magnitude response, unsmoothed and in each smoothing of
// kSmoothings (same order).
using ChannelSpectra = std::array<analysis::Spectrum, kSmoothings.size()>;

struct FileAnalysis {
  std::vector<analysis::ChannelAnalysis> channels;
  // Each channel's speech transmission index (reverberation only).
  std::vector<analysis::SpeechIndex> speech;
};

struct ViewedFile {
  enum class Stage { Reading, Analysing, Analysed, Stopped };

  QString path;  // as given (the command line, a dialog, a drop)
  int job = 0;   // the AnalysisRunner job that reads and analyses it
  Stage stage = Stage::Reading;
  std::shared_ptr<const analysis::ResponseFile> response;      // from Analysing on
  std::shared_ptr<const std::vector<ChannelSpectra>> spectra;  // may come before the analysis
  std::shared_ptr<const FileAnalysis> analysis;                // Analysed only
};

// One channel of a viewed file, as the plots and the table take it. The
// pointers keep what the trace shows alive while a plot holds it.
struct Trace {
  QString label;
  QString path;             // the file, as given
  std::size_t channel = 0;  // 0-based
  std::shared_ptr<const analysis::ResponseFile> response;
  std::shared_ptr<const std::vector<ChannelSpectra>> spectra;  // may be null
  std::shared_ptr<const FileAnalysis> analysis;                // may be null

  std::span<const float> samples() const { return response->channels[channel]; }
  const ChannelSpectra* channelSpectra() const {
    return spectra && channel < spectra->size() ? &(*spectra)[channel] : nullptr;
  }
  const analysis::ChannelAnalysis* channelAnalysis() const {
    return analysis && channel < analysis->channels.size() ? &analysis->channels[channel] : nullptr;
  }
};

// The traces of the files that have been read, file by file, channel by
// channel.
std::vector<Trace> tracesOf(const std::vector<ViewedFile>& files);

// "125 Hz", "1 kHz", "16 kHz"; "broadband" for none.
QString bandName(const std::optional<analysis::OctaveBand>& band);

// The label of channel `channel` (0-based) of a file of `channelCount`
// channels: the file's name alone for one channel; "name L" and "name R"
// for two; "name ch 3" (1-based) for more.
QString traceLabel(const QString& path, std::size_t channel, std::size_t channelCount);

}  // namespace irview

#endif  // IRVIEW_MODEL_VIEWED_FILE_H_
