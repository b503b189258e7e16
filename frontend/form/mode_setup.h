// The mode setups of the main window, its channel handling, the mode cycle
// of the Command3D1 button and the start-up keyword. Each function changes a
// FormState the way the window's handlers change the controls; the window
// applies the result to its widgets.
#ifndef FRONTEND_FORM_MODE_SETUP_H_
#define FRONTEND_FORM_MODE_SETUP_H_

#include <QString>
#include <QStringList>
#include <optional>

#include "frontend/desktop/platform.h"
#include "frontend/form/form_state.h"

namespace frontend {

// Runs the setup of `mode` as its option button's handler does when the
// button turns on (also when it was on already): sets the mode, the
// Command3D1 caption, the group tops and captions, normalises Wav and
// TimLeft, resets ExpSPL to the mode's default ("100.0" or "1"; timwav
// leaves it and hides it), shows and hides the groups, and selects a channel
// option where the mode does so, running selectChannel() at that step.
// veratim greys out OptBin and moves a selection of it to Opt44; verawav
// enables OptBin again without selecting it. The field rules follow the
// case conventions of `platform` (field_rules.h).
void setupMode(FormState& state, Mode mode, Platform platform = kHostPlatform);

// The channel handling, run whenever MonoOpt or StereoOpt is selected (by a
// click or from code, also when already selected). Mono hides TimRight and
// CommRight, sets the Frame3D3 caption ".TIM file name" and applies the TIM
// rule to TimLeft; Stereo shows them and sets ".TIM file names".
void selectChannel(FormState& state, Channel channel, Platform platform = kHostPlatform);

// The mode a click on Command3D1 selects: verawav -> veratim -> wavtim ->
// timwav -> verawav. nullopt when the click does nothing (bktim, or no mode
// selected yet).
std::optional<Mode> modeAfter(std::optional<Mode> current);

// The start-up argument text: on Linux the program's arguments (without the
// program itself) joined by single blanks; empty without arguments.
QString argumentText(const QStringList& arguments);

// The mode named by the start-up argument text. The whole text is compared,
// case-insensitively, with IREXPO, IRGEN, KALDOR, VERATOTIM and VERATOWAV;
// anything else, the empty text included, gives verawav.
Mode modeForKeyword(const QString& argumentText);

}  // namespace frontend

#endif  // FRONTEND_FORM_MODE_SETUP_H_
