// "View impulse response" in the context menu of a file field: the file
// the field names, completed and matched to the case of the files on disk
// as "OK - Convert!" would pass it to a converter, and the viewer irview,
// found beside sonabrix or on the PATH (never in WorkDir, where only the
// converters of a design's command lines are looked for).
#ifndef FRONTEND_LAUNCH_VIEWER_START_H_
#define FRONTEND_LAUNCH_VIEWER_START_H_

#include <optional>

#include "frontend/desktop/user_message.h"
#include "frontend/form/form_state.h"
#include "frontend/launch/launch.h"
#include "frontend/launch/program_lookup.h"

namespace frontend {

enum class FileField { Wav, TimLeft, TimRight };

// The viewer's program name on the platform: "irview", "irview.exe".
QString viewerProgramName(Platform platform = kHostPlatform);

// What the menu entry does: start `request` (the viewer, with the file's
// absolute path as its one argument), or tell the user `refusal`: the
// field names no file (it is empty or blank), or the viewer is not found.
struct ViewerStart {
  std::optional<StartRequest> request;
  std::optional<UserMessage> refusal;
};
ViewerStart prepareViewerStart(const FormState& state, FileField field,
                               const LaunchEnvironment& environment,
                               const ProgramFileTest& isProgramFile);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_VIEWER_START_H_
