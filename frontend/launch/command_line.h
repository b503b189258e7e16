// The conversion launch without the window: validation of the file fields,
// extension completion and the exact command line of each mode.
#ifndef FRONTEND_LAUNCH_COMMAND_LINE_H_
#define FRONTEND_LAUNCH_COMMAND_LINE_H_

#include <QLocale>
#include <QString>
#include <functional>
#include <optional>

#include "frontend/desktop/user_message.h"
#include "frontend/form/form_state.h"

namespace frontend {

// The "File Specification Error" message when Wav or TimLeft is empty, or
// StereoOpt is selected and TimRight is empty; nullopt otherwise. Empty
// means no characters: a field of blanks counts as filled.
std::optional<UserMessage> validateFileNames(const FormState& state);

// Appends the upper-case extensions that names without one get: ".WAV" to
// Wav; ".TIM" to TimRight when it is not empty; ".WAV" to TimLeft in
// verawav and ".TIM" in every other mode.
void completeExtensions(FormState& state);

// The command line of the current mode, from fields already completed.
// Numbers are formatted after `locale`; the filter piece is sent only when
// Label2 is on and `filterFileName` is not empty. The state must hold a
// mode.
QString buildCommandLine(const FormState& state, const QString& filterFileName,
                         const QLocale& locale);

// The launch of one "OK - Convert!" click after the separator check has
// passed: validation, completion, then the command line. On a refusal the
// state is left unchanged and nothing may be started; otherwise the state
// holds the completed field texts. A state without a mode (the design
// state, before start-up has run) is refused like missing names.
struct Launch {
  std::optional<UserMessage> refusal;
  QString commandLine;  // empty on a refusal
};
// `completedName`, when given, may replace each name that completion
// extended (matchFileCase in name_case.h), before the line is built.
Launch prepareLaunch(FormState& state, const QString& filterFileName,
                     const QLocale& locale,
                     const std::function<QString(const QString&)>& completedName = {});

// The sampling rate that the simulation modes send for a selection:
// 44100 for Opt44 and OptBin, 48000 for Opt48, 22050 with none selected.
int samplingRate(Rate rate);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_COMMAND_LINE_H_
