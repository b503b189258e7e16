#include "listen/files/export.h"

#include "listen/files/sound_writer.h"

namespace listen {

Exported export_auralisation(FrameSource& frames, const Measured& measured,
                             const ExportSettings& settings, const std::string& path,
                             const Control& control) {
  Exported e;
  e.gain = choose_gain(measured, settings.normalize, settings.level, settings.format.samples);
  if (!e.gain.refusal.empty()) {
    e.problem = {2, path + ": " + e.gain.refusal};
    return e;
  }
  e.problem = write_sound(frames, e.gain.gain(), settings.format, path, control, &e.written);
  return e;
}

}  // namespace listen
