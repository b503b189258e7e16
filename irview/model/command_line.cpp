#include "irview/model/command_line.h"

namespace irview {

ViewerCommand parseCommandLine(const QStringList& words) {
  ViewerCommand command;
  bool options = true;
  for (const QString& word : words) {
    if (options && word == QLatin1String("--")) {
      options = false;
    } else if (options && (word == QLatin1String("--help") || word == QLatin1String("-h"))) {
      return {ViewerCommand::Action::Help, {}, {}};
    } else if (options && word == QLatin1String("--version")) {
      return {ViewerCommand::Action::Version, {}, {}};
    } else if (options && word.startsWith(u'-') && word.size() > 1) {
      return {ViewerCommand::Action::Refuse,
              {},
              QStringLiteral("irview: unknown option %1 (see irview --help)").arg(word)};
    } else {
      command.files.append(word);
    }
  }
  return command;
}

QString helpText() {
  return QStringLiteral(
      "Usage: irview [FILE]...\n"
      "Shows impulse responses (.TIM files; WAVE, RF64, AIFF and FLAC files, each\n"
      "channel one response): the waveform, the level and Schroeder decay with the\n"
      "T30 fit of an octave band, the magnitude response, and the room-acoustic\n"
      "parameters per octave band. Several files are overlaid.\n"
      "\n"
      "  --help     show this help and exit\n"
      "  --version  show the version and exit\n"
      "  --         the words after it are files, also when they start with -\n");
}

QString versionText() { return QStringLiteral("irview " IRVIEW_VERSION "\n"); }

}  // namespace irview
