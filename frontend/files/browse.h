// The three "Browse..." buttons without the window: the file dialog each one
// opens in each mode, and the field text that a chosen file gives.
#ifndef FRONTEND_FILES_BROWSE_H_
#define FRONTEND_FILES_BROWSE_H_

#include <QString>

#include "frontend/desktop/file_dialog.h"
#include "frontend/desktop/platform.h"
#include "frontend/form/form_state.h"

namespace frontend {

// The buttons, named after their controls: CommWav beside Wav, CommLeft
// beside TimLeft, CommRight beside TimRight.
enum class BrowseButton { CommWav, CommLeft, CommRight };

// The dialog that `button` opens in `mode`, where `fieldText` is the text of
// the button's field and `startFolder` the window's dialog start folder.
//   CommWav:   Save As in timwav, else Open. Filter and initial name by mode:
//              bktim the B&K time files ("*.DTI"), veratim and verawav the
//              result files ("*._*"), wavtim and timwav the WAVE files
//              ("*.WAV").
//   CommLeft:  Open in timwav, else Save As. verawav: the WAVE filter, and
//              the field text as initial name when it ends in "wav" in any
//              case, else "*.WAV"; other modes: the same with the TIM filter,
//              "tim" and "*.TIM".
//   CommRight: Open in timwav, else Save As; the TIM filter; the field text
//              when it is not empty, else "*.TIM".
// The first entry of the filter is the one preselected.
FileDialogRequest browseRequest(BrowseButton button, Mode mode, const QString& fieldText,
                                const QString& startFolder);

// The field text for `chosenPath`, the full path a dialog returned: on
// Windows turned to lower case, on Linux kept as it is (lower-casing a path
// there names another file); then, when it needs an extension
// (needsExtension), the lower-case suffix of the field: ".wav" for Wav,
// ".tim" for TimRight, and for TimLeft ".wav" in verawav, ".tim" otherwise.
QString browsedFieldText(BrowseButton button, Mode mode, const QString& chosenPath,
                         Platform platform = kHostPlatform);

}  // namespace frontend

#endif  // FRONTEND_FILES_BROWSE_H_
