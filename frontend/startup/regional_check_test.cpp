#include "frontend/startup/regional_check.h"

#include <gtest/gtest.h>

#include "frontend/desktop/messages.h"

namespace frontend {
namespace {

TEST(RegionalCheck, DecimalAndSeparatorChecksByLocale) {
  struct Case {
    QLocale locale;
    bool decimalPasses;
    bool separatorPasses;
  } cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), true, true},
      {QLocale(QLocale::English, QLocale::UnitedKingdom), true, true},
      {QLocale::c(), true, true},
      {QLocale(QLocale::German, QLocale::Germany), false, false},
      {QLocale(QLocale::French, QLocale::France), false, false},
      {QLocale(QLocale::German, QLocale::Switzerland), true, false},  // apostrophe groups
      {QLocale(QLocale::English, QLocale::SouthAfrica), false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decimalCheckPasses(c.locale), c.decimalPasses) << c.locale.name().toStdString();
    EXPECT_EQ(separatorCheckPasses(c.locale), c.separatorPasses) << c.locale.name().toStdString();
  }
}

TEST(RegionalCheck, GroupSeparatorsOtherThanCommaFailOnlyBeforeConversion) {
  // With "." as the decimal point the start-up check passes, but a group
  // separator other than "," refuses every conversion.
  for (const char16_t* group : {u" ", u"\u00a0", u"\u202f", u"'", u"\u2019", u".", u""}) {
    const NumberSymbols symbols{QStringLiteral("."), QString::fromUtf16(group)};
    EXPECT_TRUE(decimalCheckPasses(symbols));
    EXPECT_FALSE(separatorCheckPasses(symbols)) << "group U+" << std::hex
                                                << (group[0] ? int(group[0]) : 0);
  }
  EXPECT_FALSE(decimalCheckPasses(NumberSymbols{QStringLiteral(","), QStringLiteral(",")}));
  EXPECT_FALSE(separatorCheckPasses(NumberSymbols{QStringLiteral(","), QStringLiteral(",")}));
}

TEST(RegionalCheck, MessagesCarryTheirTitlesIconsAndButtons) {
  EXPECT_EQ(unrecoverableErrorMessage().title, QStringLiteral("Unrecoverable Error"));
  EXPECT_EQ(unrecoverableErrorMessage().icon, MessageIcon::Critical);
  EXPECT_EQ(unrecoverableErrorMessage().buttons, MessageButtons::Ok);
  EXPECT_EQ(incompatibleSettingsQuestion().title, QStringLiteral("Warning - incompatible settings!"));
  EXPECT_EQ(incompatibleSettingsQuestion().icon, MessageIcon::Critical);
  EXPECT_EQ(incompatibleSettingsQuestion().buttons, MessageButtons::YesNo);
  EXPECT_EQ(forcePinkInformation().text.count(u'\r'), 4);
  // Every variable that decides the number settings, LC_ALL first of all.
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"})
    EXPECT_TRUE(regionalSettingsHint().text.contains(QLatin1String(variable))) << variable;
  EXPECT_FALSE(forcePinkInformation().text.contains(u'\n'));
}

}  // namespace
}  // namespace frontend
