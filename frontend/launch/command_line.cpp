#include "frontend/launch/command_line.h"

#include <QList>
#include <utility>

#include "frontend/desktop/messages.h"
#include "frontend/form/field_rules.h"
#include "frontend/form/number_patterns.h"

namespace frontend {

namespace {

QString quoted(const QString& name) { return u'"' + name + u'"'; }

bool isSimulationMode(std::optional<Mode> mode) {
  return mode == Mode::veratim || mode == Mode::verawav;
}

bool sendsRightName(const FormState& s) {
  return !isSimulationMode(s.CurrentMode) && s.channel == Channel::Stereo;
}

bool sendsFilter(const FormState& s, const QString& filterFileName) {
  return isSimulationMode(s.CurrentMode) && s.Label2On && !filterFileName.isEmpty();
}

// Inside double quotes a name may not hold a quote, and a final backslash
// would escape the closing quote under the argument-splitting rules: either
// would change the words that the converter receives.
bool travelsInQuotes(const QString& name) {
  return !name.contains(u'"') && !name.endsWith(u'\\');
}

// The first name of the command line that cannot travel in quotes, as the
// user typed it: `completed` is checked, since completion may add the text
// after a final backslash, and `typed` (the same state before completion)
// gives the text that the field holds.
std::optional<QString> unquotableName(const FormState& completed, const FormState& typed,
                                      const QString& filterFileName) {
  QList<std::pair<QString, QString>> names{{completed.Wav, typed.Wav},
                                           {completed.TimLeft, typed.TimLeft}};
  if (sendsRightName(completed)) names.append({completed.TimRight, typed.TimRight});
  if (sendsFilter(completed, filterFileName)) names.append({filterFileName, filterFileName});
  for (const auto& [sent, shown] : names)
    if (!travelsInQuotes(sent)) return shown;
  return std::nullopt;
}

QString filterPiece(const FormState& s, const QString& filterFileName) {
  return sendsFilter(s, filterFileName) ? quoted(filterFileName) : QString();
}

}  // namespace

int samplingRate(Rate rate) {
  switch (rate) {
    case Rate::Opt44: return 44100;
    case Rate::Opt48: return 48000;
    case Rate::OptBin: return 44100;
    case Rate::None: return 22050;
  }
  return 22050;
}

std::optional<UserMessage> validateFileNames(const FormState& s) {
  if ((s.channel == Channel::Stereo && s.TimRight.isEmpty()) || s.Wav.isEmpty() ||
      s.TimLeft.isEmpty())
    return fileSpecificationError();
  return std::nullopt;
}

void completeExtensions(FormState& s) {
  s.Wav = withExtension(s.Wav, QStringLiteral(".WAV"));
  if (!s.TimRight.isEmpty()) s.TimRight = withExtension(s.TimRight, QStringLiteral(".TIM"));
  const bool wave = s.CurrentMode == Mode::verawav;
  s.TimLeft = withExtension(s.TimLeft, wave ? QStringLiteral(".WAV") : QStringLiteral(".TIM"));
}

QString buildCommandLine(const FormState& s, const QString& filterFileName,
                         const QLocale& locale) {
  const Mode mode = s.CurrentMode.value_or(Mode::verawav);
  const double value = readLeadingNumber(s.ExpSPL);
  const QString names = quoted(s.Wav) + u' ' + quoted(s.TimLeft);
  const bool stereo = s.channel == Channel::Stereo;
  const QString dataType = s.dataType == DataType::IR ? QStringLiteral(" 1") : QStringLiteral(" 0");

  switch (mode) {
    case Mode::timwav:
      return QStringLiteral("IREXPO.EXE ") + names + (stereo ? u' ' + quoted(s.TimRight) : QString());
    case Mode::wavtim:
      return QStringLiteral("IRGEN.EXE ") + names + u' ' +
             quoted(stereo ? s.TimRight : QStringLiteral("NONE")) +
             formatNumber(value, kExpectedSplPattern, locale) + dataType;
    case Mode::bktim:
      return QStringLiteral("KALDOR.EXE ") + names +
             (stereo ? u' ' + quoted(s.TimRight) : QStringLiteral(" NONE")) +
             formatNumber(value, kExpectedSplPattern, locale) + dataType;
    case Mode::veratim:
      return QStringLiteral("fenwix.exe ") + names + formatNumber(value, kMicrophonePattern, locale) +
             formatNumber(samplingRate(s.rate), kRatePattern, locale) +
             (s.Label3On ? QStringLiteral("Pink ") : QStringLiteral("White ")) +
             filterPiece(s, filterFileName);
    case Mode::verawav: {
      const QString pink = s.Label3On ? QStringLiteral("P ") : QStringLiteral("W ");
      if (s.rate == Rate::OptBin)
        return QStringLiteral("fenwix4.exe ") + names +
               formatNumber(value, kMicrophoneFenwix4Pattern, locale) + pink +
               filterPiece(s, filterFileName);
      return QStringLiteral("fenwix.exe ") + names + formatNumber(value, kMicrophonePattern, locale) +
             formatNumber(samplingRate(s.rate), kRatePattern, locale) + pink +
             filterPiece(s, filterFileName);
    }
  }
  return QString();
}

Launch prepareLaunch(FormState& state, const QString& filterFileName, const QLocale& locale,
                     const std::function<QString(const QString&)>& completedName) {
  if (!state.CurrentMode) return {fileSpecificationError(), QString()};
  if (auto message = validateFileNames(state)) return {message, QString()};

  FormState completed = state;
  completeExtensions(completed);
  if (completedName) {
    for (auto field : {&FormState::Wav, &FormState::TimLeft, &FormState::TimRight})
      if (completed.*field != state.*field) completed.*field = completedName(completed.*field);
  }
  if (auto name = unquotableName(completed, state, filterFileName))
    return {unquotableNameError(*name), QString()};

  state = completed;
  return {std::nullopt, buildCommandLine(state, filterFileName, locale)};
}

}  // namespace frontend
