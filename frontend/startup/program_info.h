// What sonabrix answers, before any window or locale check, to a lone
// "--help" or "--version": the text it prints on standard output before it
// ends with status 0. Any other arguments pick the first mode as always.
#ifndef FRONTEND_STARTUP_PROGRAM_INFO_H_
#define FRONTEND_STARTUP_PROGRAM_INFO_H_

#include <QString>
#include <QStringList>
#include <optional>

namespace frontend {

// The usage text, ending with a line feed.
QString usageText();

// "sonabrix <version>" and a line feed.
QString versionText(const QString& version);

// usageText() for exactly {"--help"}, versionText() for exactly
// {"--version"}; nullopt for anything else ("--help IRGEN", "--HELP").
std::optional<QString> informationRequest(const QStringList& arguments, const QString& version);

}  // namespace frontend

#endif  // FRONTEND_STARTUP_PROGRAM_INFO_H_
