#include "frontend/desktop/file_dialog.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(FileDialogTest, FilterTextsBecomeQtNameFilters) {
  struct Case {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"MS RIFF Audio File (*.WAV)|*.WAV", {"MS RIFF Audio File (*.WAV)"}},
      {"2Ch. Time File (*.DTI)|*.DTI|Ch.A Time File (*.TIA)|*.TIA|Ch.B Time File (*.TIB)|*.TIB",
       {"2Ch. Time File (*.DTI)", "Ch.A Time File (*.TIA)", "Ch.B Time File (*.TIB)"}},
      {"Veradis files (*._*)|*._*", {"Veradis files (*._*)"}},
      // A description that does not show its pattern gets it appended.
      {"Filters|*.DAT", {"Filters (*.DAT)"}},
      {"|*.DAT", {"(*.DAT)"}},
      // A description left without a pattern is dropped.
      {"A (*.A)|*.A|dangling", {"A (*.A)"}},
      {"", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(qtNameFilters(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

}  // namespace
}  // namespace frontend
