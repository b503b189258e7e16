#include "console/dialogue.h"

#include <gtest/gtest.h>

#include <set>

#include "console/fake_terminal.h"

namespace console {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(std::vector<std::string> words, std::vector<std::string> answers,
            const std::function<void(Dialogue&)>& body) {
  FakeTerminal terminal(std::move(answers));
  Dialogue dialogue(std::move(words), terminal);
  int status = run_dialogue(dialogue, body);
  return {status, terminal.out(), terminal.err()};
}

TEST(Dialogue, NormalEndEndsThePendingLine) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    d.print(" a");
    d.print(" b");
  });
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "a\r\nb\r\n");
  EXPECT_EQ(o.err, "");
}

TEST(Dialogue, NothingPrintedMeansNoLineEnd) {
  EXPECT_EQ(run({"prog"}, {}, [](Dialogue&) {}).out, "");
}

TEST(Dialogue, GetWordCutsPadsAndKeepsOutOfRangeFields) {
  Outcome o = run({"prog", std::string(45, 'x'), "", "ab"}, {}, [](Dialogue& d) {
    EXPECT_EQ(d.word_count(), 4u);
    std::string field(40, ' ');
    d.get_word(1, field);
    EXPECT_EQ(field, std::string(40, 'x'));
    d.get_word(2, field);  // an empty quoted word gives an all-blank field
    EXPECT_EQ(field, std::string(40, ' '));
    std::string mode(10, ' ');
    d.get_word(3, mode);
    EXPECT_EQ(mode, "ab        ");
    std::string right(40, '\0');
    d.get_word(4, right);
    EXPECT_EQ(right, std::string(40, '\0'));
  });
  EXPECT_EQ(o.status, 0);
}

TEST(Dialogue, ReadFieldCutsAndPads) {
  Outcome o = run({"prog"}, {std::string(45, 'n'), "abc", ""}, [](Dialogue& d) {
    EXPECT_EQ(d.read_field(40), std::string(40, 'n'));
    EXPECT_EQ(d.read_field(40), "abc" + std::string(37, ' '));
    EXPECT_EQ(d.read_field(40), std::string(40, ' '));
  });
  EXPECT_EQ(o.status, 0);
}

TEST(Dialogue, PromptAnswerThenLineWithoutEmptyLine) {
  Outcome o = run({"prog"}, {"x.wav"}, [](Dialogue& d) {
    d.print(" before");
    d.prompt(" Name = ");
    d.read_field(40);
    d.print(" after");
  });
  EXPECT_EQ(o.out, "before\r\nName = after\r\n");
}

TEST(Dialogue, EndOfInputAtAnAnswerIsAnErrorStop) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    d.prompt(" Name = ");
    d.read_field(40);
    ADD_FAILURE() << "the run went on";
  });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "Name = ");
  EXPECT_EQ(o.err, "\r\nrun-time error F6201: READ(stdin)\r\n- end of file\r\n");
}

TEST(Dialogue, ErrorStopFrameForAMissingFile) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    d.print(" Opening x.tim");
    d.error_stop(Statement::open, "x.tim", Failure::file_not_found);
  });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "Opening x.tim");  // the error stop starts with its own CR LF
  EXPECT_EQ(o.err, "\r\nrun-time error F6101: OPEN(x.tim)\r\n- file not found\r\n");
}

TEST(Dialogue, EveryFailureHasItsOwnNumberInTheRange) {
  const Failure all[] = {Failure::file_not_found, Failure::cannot_open,
                         Failure::cannot_create,  Failure::end_of_file,
                         Failure::read_failed,    Failure::bad_number,
                         Failure::write_failed,   Failure::cannot_complete};
  std::set<int> numbers;
  for (Failure f : all) {
    int n = failure_number(f);
    EXPECT_GE(n, 6000);
    EXPECT_LE(n, 6999);
    EXPECT_TRUE(numbers.insert(n).second) << n << " used twice";
    EXPECT_FALSE(failure_message(f).empty());
  }
  EXPECT_EQ(error_stop_text(Statement::write, "a", Failure::write_failed),
            "\r\nrun-time error F6301: WRITE(a)\r\n- write error\r\n");
  EXPECT_EQ(error_stop_text(Statement::close, "a", Failure::cannot_complete),
            "\r\nrun-time error F6302: CLOSE(a)\r\n- file cannot be completed\r\n");
}

TEST(Dialogue, StopEndsThePendingLineAndExitsWithZero) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    d.print(" last");
    d.stop();
  });
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "last\r\nStop - Program terminated.\r\n");
}

TEST(Dialogue, RefusalPrintsErrorLineAndStopWithStatusTwo) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    d.print(" header");
    d.refuse("The input file must be 16 bits!");
  });
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.out,
            "header\r\nERROR - The input file must be 16 bits!\r\n"
            "Stop - Program terminated.\r\n");
  EXPECT_EQ(o.err, "");
}

TEST(Dialogue, FieldConversions) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) {
    EXPECT_EQ(d.field_to_fixed("94", 3), 0.094f);
    EXPECT_EQ(d.field_to_integer(" 1        "), 1);
    d.field_to_fixed("loud", 3);
  });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "\r\nrun-time error F6203: READ(internal)\r\n- invalid number\r\n");
}

TEST(Dialogue, FreeFormAnswers) {
  Outcome o = run({"prog"}, {"94.5, 3", "", "x"}, [](Dialogue& d) {
    EXPECT_EQ(d.read_free_real(0.0f), 94.5f);
    EXPECT_EQ(d.read_free_integer(7), 7);  // empty answer keeps the value
    d.read_free_integer(0);
  });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "\r\nrun-time error F6203: READ(stdin)\r\n- invalid number\r\n");
}

TEST(BlankNameRule, NamesAreTrimmed) {
  run({"prog"}, {}, [](Dialogue& d) {
    EXPECT_EQ(d.file_name("  a b.wav   ", 1), "a b.wav");
  });
}

TEST(BlankNameRule, TakesCommandLineWordsFromWordOneOnwards) {
  Outcome o = run({"prog", " first ", "second"}, {}, [](Dialogue& d) {
    EXPECT_EQ(d.file_name("   ", 3), "first");
    EXPECT_EQ(d.file_name("given", 3), "given");  // does not use a word
    EXPECT_EQ(d.file_name("", 4), "second");
  });
  EXPECT_EQ(o.out, "");
}

TEST(BlankNameRule, PromptsWhenNoWordIsLeftAndRepeatsOnBlankAnswers) {
  Outcome o = run({"prog"}, {"   ", " n.tim "}, [](Dialogue& d) {
    d.print(" pending");
    EXPECT_EQ(d.file_name("", 3), "n.tim");
    d.print(" next");
  });
  EXPECT_EQ(o.out,
            "pending\r\n"
            "File name missing or blank - please enter file name\r\nUNIT 3? "
            "File name missing or blank - please enter file name\r\nUNIT 3? "
            "next\r\n");
}

TEST(BlankNameRule, AnEmptyWordFallsThroughToThePrompt) {
  Outcome o = run({"prog", ""}, {"z"}, [](Dialogue& d) {
    EXPECT_EQ(d.file_name("", 4), "z");
  });
  EXPECT_EQ(o.out,
            "File name missing or blank - please enter file name\r\nUNIT 4? ");
}

TEST(BlankNameRule, EndOfInputAtThePromptIsAnErrorStop) {
  Outcome o = run({"prog"}, {}, [](Dialogue& d) { d.file_name("", 1); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "\r\nrun-time error F6201: READ(stdin)\r\n- end of file\r\n");
}

TEST(BlankNameRule, AnswerIsCutAt260Characters) {
  std::string answer(300, 'q');
  run({"prog"}, {answer}, [](Dialogue& d) {
    EXPECT_EQ(d.file_name("", 1), std::string(260, 'q'));
  });
}

}  // namespace
}  // namespace console
