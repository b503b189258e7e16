// The second half of an auralisation's writing, shared by irconv and the
// viewer's export so that both write the same bytes: from the frames the
// first pass computed (listen/convolution/auralise.h) and what it measured, the gain
// (listen/level/gain.h), then the file (listen/files/sound_writer.h).
//
// The viewer computes into a MemoryFrames and exports from it; irconv
// computes into a ScratchFrames. Given the same frames, the same settings
// give the same file.
#ifndef LISTEN_FILES_EXPORT_H_
#define LISTEN_FILES_EXPORT_H_

#include <optional>
#include <string>

#include "listen/convolution/auralise.h"
#include "listen/convolution/frames.h"
#include "listen/level/gain.h"
#include "listen/files/output_format.h"

namespace listen {

struct ExportSettings {
  Normalize normalize = Normalize::kPeak;
  std::optional<double> level;  // the mode's default when unset
  OutputFormat format;
};

struct Exported {
  GainChoice gain;
  bool written = false;  // false also when stopped through the control
  Problem problem;       // a refused gain is status 2, "<path>: <refusal>"
};

// `frames` must read from the first frame the first pass gave; `measured`
// is what that pass measured (its loudness when normalising by loudness).
Exported export_auralisation(FrameSource& frames, const Measured& measured,
                             const ExportSettings& settings, const std::string& path,
                             const Control& control = {});

}  // namespace listen

#endif  // LISTEN_FILES_EXPORT_H_
