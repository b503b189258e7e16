#include "frontend/startup/program_info.h"

namespace frontend {

QString usageText() {
  return QStringLiteral(
      "Usage: sonabrix [IRGEN|IREXPO|KALDOR|VERATOTIM|VERATOWAV] [Qt options]\n"
      "       sonabrix --help | --version\n"
      "\n"
      "The desktop front end of the impulse-response converters irgen and irexpo.\n"
      "The argument text, compared without regard to case, picks the first\n"
      "conversion mode; any other text, or none, starts in Veradis->WAV.\n"
      "\n"
      "  --help     print this text and end\n"
      "  --version  print the version and end\n"
      "\n"
      "Numbers must be set to use \".\" as the decimal point and \",\" to group\n"
      "thousands, for example with LC_NUMERIC=en_US.UTF-8. See sonabrix(1).\n");
}

QString versionText(const QString& version) {
  return QStringLiteral("sonabrix %1\n").arg(version);
}

std::optional<QString> informationRequest(const QStringList& arguments, const QString& version) {
  if (arguments == QStringList{QStringLiteral("--help")}) return usageText();
  if (arguments == QStringList{QStringLiteral("--version")}) return versionText(version);
  return std::nullopt;
}

}  // namespace frontend
