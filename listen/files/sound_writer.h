// Writing an auralisation as a WAVE or FLAC file, all or nothing: the file
// is written to a temporary beside the output (formats/output_file.h) and
// renamed into place only when complete, so an existing output is unchanged
// after any failure.
//
// write_sound() is the second pass of irconv and of the viewer's export: it
// reads the frames of the first pass back, applies the gain, quantises
// (listen/level/quantise.h) and encodes. Given the same frames, gain and format it
// always writes the same bytes.
#ifndef LISTEN_FILES_SOUND_WRITER_H_
#define LISTEN_FILES_SOUND_WRITER_H_

#include <string>

#include "listen/convolution/auralise.h"
#include "listen/convolution/frames.h"
#include "listen/files/output_format.h"

namespace listen {

// Writes every frame of `source` times `gain` to `path` (UTF-8) in
// `format`, at the source's channels and (integer) rate. Status 1 when the
// output cannot be created or written, or the source fails; stopped through
// `control` it writes nothing and gives no problem. Progress goes 0 .. 1.
// Returns true in `*written` when the file was committed.
Problem write_sound(FrameSource& source, double gain, const OutputFormat& format,
                    const std::string& path, const Control& control = {}, bool* written = nullptr);

}  // namespace listen

#endif  // LISTEN_FILES_SOUND_WRITER_H_
