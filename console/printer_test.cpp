#include "console/printer.h"

#include <gtest/gtest.h>

#include "console/fake_terminal.h"

namespace console {
namespace {

TEST(LineStart, EachControlCharacterInEachState) {
  struct Case {
    char control;
    bool pending;
    std::string_view bytes;
  };
  const Case cases[] = {
      {' ', false, ""},          {' ', true, "\r\n"},
      {'x', true, "\r\n"},       {'0', false, "\r\n"},
      {'0', true, "\r\n\r\n"},   {'1', false, "\r\n\f\r \r"},
      {'1', true, "\r\n\f\r \r"}, {'+', false, "\r"},
      {'+', true, "\r"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(line_start(c.control, c.pending), c.bytes)
        << "control '" << c.control << "' pending " << c.pending;
  }
}

TEST(Printer, NewPageBannerWithLineBreakThenBlankLine) {
  FakeTerminal terminal;
  Printer printer(terminal);
  printer.print("1Banner\n");
  printer.print(" next");
  printer.end_line();
  EXPECT_EQ(terminal.out(),
            "\r\n\f\r \rBanner"
            "\r\n"           // the empty line of the line break
            "\r\nnext\r\n");
}

TEST(Printer, BlankControlLinesDeferTheirLineEnd) {
  FakeTerminal terminal;
  Printer printer(terminal);
  printer.print(" one");
  printer.print(" two");
  printer.print(" three");
  EXPECT_EQ(terminal.out(), "one\r\ntwo\r\nthree");
  printer.end_line();
  printer.end_line();  // nothing pending any more
  EXPECT_EQ(terminal.out(), "one\r\ntwo\r\nthree\r\n");
}

TEST(Printer, AnswerEndsThePromptLine) {
  FakeTerminal terminal({"take1.wav"});
  Printer printer(terminal);
  printer.print(" first");
  printer.prompt(" Name = ");
  EXPECT_EQ(printer.read_line(), "take1.wav");
  EXPECT_FALSE(printer.line_pending());
  printer.print(" after");
  EXPECT_EQ(terminal.out(), "first\r\nName = after");
}

TEST(Printer, ZeroAndPlusControl) {
  FakeTerminal terminal;
  Printer printer(terminal);
  printer.print("0a");
  printer.print("0b");
  printer.print("+c");
  EXPECT_EQ(terminal.out(), "\r\na\r\n\r\nb\rc");
}

TEST(Printer, RecordsOfOneLayoutEachHaveAControlCharacter) {
  FakeTerminal terminal;
  Printer printer(terminal);
  printer.print(" a\n b\n\n c");
  EXPECT_EQ(terminal.out(), "a\r\nb\r\n\r\nc");
}

}  // namespace
}  // namespace console
