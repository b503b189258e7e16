// Runs the built irgen program in a temporary folder: the exact bytes on the
// console streams, the exit status and the files left behind. With
// IRGEN_UNDER_TEST and CONVERTER_LAUNCHER (formats/test_program.h) the same
// tests run the Windows irgen.exe under Wine.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "formats/test_program.h"
#include "formats/test_temp_dir.h"
#include "irgen/test_wave.h"

namespace irgen {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

using formats::test::launched;
std::string quoted(const std::string& word) { return formats::test::shell_quoted(word); }

// The program under test and the shell words that start it.
const std::string& irgen_file() {
  static const std::string file = formats::test::program_file("IRGEN_UNDER_TEST", IRGEN_PROGRAM);
  return file;
}
std::string irgen_command() { return formats::test::shell_program(irgen_file()); }
void exec_irgen(const std::vector<std::string>& args) {
  formats::test::exec_program(irgen_file(), "irgen", args);
}

struct Outcome {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs irgen in `dir` with the stamp pinned to 2026-12-08 07:05:09 UTC.
Outcome run_irgen(const fs::path& dir, const std::vector<std::string>& args,
              const std::string& input = "") {
  const fs::path io = dir / ".io";
  fs::create_directories(io);
  std::ofstream(io / "in", std::ios::binary) << input;
  std::string command = "cd " + quoted(dir.string()) +
                        " && SOURCE_DATE_EPOCH=1796713509 TZ=UTC timeout 30 " +
                        irgen_command();
  for (const std::string& a : args) command += " " + quoted(a);
  command += " <.io/in >.io/out 2>.io/err";
  Outcome run = formats::test::run_through_launcher([&] {
    int status = std::system(command.c_str());
    Outcome r{-1, slurp(io / "out"), slurp(io / "err")};
    // The shell reports a signal as 128 + n, a timeout as 124.
    if (WIFEXITED(status) && WEXITSTATUS(status) < 100) r.status = WEXITSTATUS(status);
    return r;
  });
  fs::remove_all(io);
  return run;
}

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

float load_f32(const Bytes& b, std::size_t at) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(
      b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
      static_cast<std::uint32_t>(b[at + 3]) << 24));
}

TEST(IrgenProgram, MonoThousandFramesByteForByte) {
  formats::TestTempDir dir;
  std::vector<std::int16_t> samples = test::ramp(1000, 91);
  formats::write_bytes(dir / "take1.wav", test::make_wave({}, samples));
  Outcome r = run_irgen(dir.path(), {"take1.wav", "left.tim", "right.tim", "94.5", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string pad31(31, ' ');
  EXPECT_EQ(r.out,
            "\r\n\f\r \r** Irgen 2.0 - Converts a .WAV file in 1 or 2 .TIM Impulse "
            "Responses **\r\n"
            "\r\n  Acoustic IR tools - free software, provided without any warranty\r\n"
            "\r\nFile Name of the .WAV input  file = take1.wav" + pad31 +
                "\r\nFile Name of the .TIM LEFT   file = left.tim " + pad31 +
                "\r\nFile Name of the .TIM RIGHT  file = right.tim" + pad31 +
                "\r\nExpected Sound Pressure Level (dB)= " + std::string(20, ' ') +
                "94.5" + std::string(16, ' ') +
                "\r\nAcquisition Mode (0=scope, 1=MLS) = " + std::string(30, ' ') +
                "1         "
                "\r\nOpening take1.wav" + pad31 + " for input..."
                "\r\nNumber of data points  :    1000 with    1  Channels"
                "\r\nSampling Frequency (Hz):   44100 with   16  Bits"
                "\r\nNumber of .TIM output file points =     2048"
                "\r\n"
                "\r\nReading data from input file..."
                "\r\nConverting integers to reals..."
                "\r\nWriting data to  output file..."
                "\r\n");

  Bytes file = formats::read_bytes(dir / "left.tim");
  ASSERT_EQ(file.size(), 9046u);
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"left.tim", "take1.wav"}));
  double energy = 0;
  for (std::int16_t s : samples) energy += (s / 32768.0) * (s / 32768.0);
  const double factor = 0.5 * std::sqrt(energy) * std::pow(10.0, -94.5 / 20);
  const float stored = load_f32(file, 8346 + 612);
  EXPECT_NEAR(stored, factor, factor * 1e-5);
  Bytes expected = test::expected_tim({.mode = 1,
                                       .rate = 44100,
                                       .points = 2048,
                                       .samples = samples,
                                       .stamp = " 8/12/2026  7: 5: 9",
                                       .source_field = "take1.wav",
                                       .level_factor = stored});
  EXPECT_EQ(test::first_difference(file, expected), -1);

  // A second run gives the same file.
  ASSERT_EQ(run_irgen(dir.path(), {"take1.wav", "again.tim", "x", "94.5", "1"}).status, 0);
  EXPECT_EQ(formats::read_bytes(dir / "again.tim"), file);
}

TEST(IrgenProgram, InteractiveRunReadsStandardInput) {
  formats::TestTempDir dir;
  formats::write_bytes(dir / "st.wav", test::make_wave({.channels = 2}, test::ramp(600)));
  Outcome r = run_irgen(dir.path(), {}, "st.wav\r\nl.tim\nr.tim\n94.0\n1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Acquistion Mode (0=scope, 1=MLS)     = Opening st.wav "),
            std::string::npos);
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"l.tim", "r.tim", "st.wav"}));
  EXPECT_EQ(formats::read_bytes(dir / "r.tim")[4], 1);

  // Input that ends before the last answer.
  formats::TestTempDir dir2;
  formats::write_bytes(dir2 / "st.wav", test::make_wave({.channels = 2}, test::ramp(600)));
  Outcome cut = run_irgen(dir2.path(), {}, "st.wav\nl.tim\nr.tim\n");
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.err, "\r\nrun-time error F6201: READ(stdin)\r\n- end of file\r\n");
  EXPECT_EQ(entries(dir2.path()), (std::vector<std::string>{"st.wav"}));
}

// Only the sole argument --help or --version is an option; every other
// command line holding them converts as always, and ./--help names a file.
TEST(IrgenProgram, LoneHelpOrVersionIsAnsweredAndOtherwiseNamesAFile) {
  formats::TestTempDir dir;
  const std::string eol = launched() ? "\r\n" : "\n";
  const Outcome version = run_irgen(dir.path(), {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("irgen (sonabrix) ") + PROJECT_VERSION_TEXT + eol);
  EXPECT_EQ(version.err, "");
  const Outcome help = run_irgen(dir.path(), {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: irgen WAVE LEFT.TIM [RIGHT.TIM [SPL [MODE]]]" + eol))
      << help.out;
  EXPECT_TRUE(help.out.ends_with("See irgen(1)." + eol)) << help.out;
  // Every line ends as text does on the platform: CR LF on Windows, else LF.
  std::string marked = help.out;
  for (std::size_t at; (at = marked.find(eol)) != std::string::npos;) marked.replace(at, eol.size(), "|");
  EXPECT_EQ(marked.find_first_of("\r\n"), std::string::npos) << help.out;
  EXPECT_EQ(help.err, "");
  EXPECT_TRUE(entries(dir.path()).empty());

  formats::write_bytes(dir / "--help", test::make_wave({}, test::ramp(100)));
  // Alone, as the name the blank-name rule takes for an empty answer.
  const Outcome lone = run_irgen(dir.path(), {"./--help"}, "\nlone.tim\n94.0\n1\n");
  EXPECT_EQ(lone.status, 0) << lone.err;
  EXPECT_NE(lone.out.find("Number of data points  :     100 with    1  Channels"),
            std::string::npos) << lone.out;
  // Among other words, without ./ too.
  const Outcome first = run_irgen(dir.path(), {"--help", "first.tim"});
  EXPECT_EQ(first.status, 0) << first.err;
  const Outcome missing = run_irgen(dir.path(), {"--version", "x.tim"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "\r\nrun-time error F6101: OPEN(--version)\r\n- file not found\r\n");
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"--help", "first.tim", "lone.tim"}));
}

TEST(IrgenProgram, FailuresAndTheirStatuses) {
  formats::TestTempDir dir;
  Outcome missing = run_irgen(dir.path(), {"x.tim", "left.tim"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "\r\nrun-time error F6101: OPEN(x.tim)\r\n- file not found\r\n");

  formats::write_bytes(dir / "b8.wav", test::make_wave({.bits = 8}, test::ramp(100)));
  Outcome refused = run_irgen(dir.path(), {"b8.wav", "left.tim"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(refused.out.ends_with(
      "\r\nERROR - The input file must be 16 bits!\r\nStop - Program terminated.\r\n"));
  EXPECT_EQ(refused.err, "");
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"b8.wav"}));
}

TEST(IrgenProgram, ConsoleThatWentAwayDoesNotStopTheConversion) {
  formats::TestTempDir dir;
  formats::write_bytes(dir / "st.wav", test::make_wave({.channels = 2}, test::ramp(600)));
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);  // nobody will ever read the program's standard output
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(ends[1], 1);
    if (chdir(dir.path().c_str()) != 0) _exit(99);
    exec_irgen({"st.wav", "l.tim", "r.tim", "94.0", "1"});
    _exit(98);
  }
  close(ends[1]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"l.tim", "r.tim", "st.wav"}));
}

TEST(IrgenProgram, FailedWriteIsAnErrorStopAndLeavesExistingFilesAlone) {
  if (launched()) GTEST_SKIP() << "a file size limit (RLIMIT_FSIZE) kills Wine itself";
  formats::TestTempDir dir;
  formats::write_bytes(dir / "m.wav", test::make_wave({}, test::ramp(32768)));
  formats::write_bytes(dir / "l.tim", Bytes{7, 7});
  const fs::path out = dir / "out.txt";
  const fs::path err = dir / "err.txt";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Files may not grow beyond 64 KiB, as on a full disk. The program
    // itself sees to it that the write fails instead of raising SIGXFSZ.
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
    int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(o, 1);
    dup2(e, 2);
    if (chdir(dir.path().c_str()) != 0) _exit(99);
    exec_irgen({"m.wav", "l.tim"});
    _exit(98);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_TRUE(slurp(out).ends_with("\r\nReading data from input file..."
                                   "\r\nConverting integers to reals..."
                                   "\r\nWriting data to  output file..."));
  EXPECT_EQ(slurp(err), "\r\nrun-time error F6301: WRITE(l.tim)\r\n- write error\r\n");
  EXPECT_EQ(formats::read_bytes(dir / "l.tim"), (Bytes{7, 7}));
  EXPECT_EQ(entries(dir.path()),
            (std::vector<std::string>{"err.txt", "l.tim", "m.wav", "out.txt"}));
}

// Runs a shell command line in `dir`, its console streams in files of
// another folder.
Outcome run_shell(const fs::path& dir, const std::string& command) {
  formats::TestTempDir logs;
  const std::string line = "cd " + quoted(dir.string()) + " && ( " + command + " ) >" +
                           quoted((logs / "out").string()) + " 2>" +
                           quoted((logs / "err").string());
  return formats::test::run_through_launcher([&] {
    const int status = std::system(line.c_str());
    Outcome r{-1, slurp(logs / "out"), slurp(logs / "err")};
    if (WIFEXITED(status) && WEXITSTATUS(status) < 100) r.status = WEXITSTATUS(status);
    return r;
  });
}

TEST(IrgenProgram, ClosedStandardInputIsNotTakenByTheWaveFile) {
  // Large enough that the file is only partly buffered when the right name
  // is asked for: read from the file, the "answer" would be sample bytes.
  formats::TestTempDir dir;
  formats::write_bytes(dir / "big2.wav", test::make_wave({.channels = 2}, test::ramp(2 * 20000)));
  const std::string irgen = irgen_command();
  Outcome r = run_shell(dir.path(), "exec 2>&1; " + irgen + " big2.wav a.tim <&-");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.ends_with("\r\nrun-time error F6201: READ(stdin)\r\n- end of file\r\n"))
      << r.out;
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"big2.wav"}));

  // Standard output closed: the files are still exactly what they should be.
  Outcome quiet = run_shell(dir.path(), irgen + " big2.wav l.tim r.tim 94 1 >&-");
  EXPECT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(fs::file_size(dir / "l.tim"), 14u + 4 * 32768 + 840);
  EXPECT_EQ(fs::file_size(dir / "r.tim"), 14u + 4 * 32768 + 840);
}

TEST(IrgenProgram, WaveFileCanBeReadFromAPipe) {
  if (launched()) GTEST_SKIP() << "/dev/stdin (a pipe through /proc) has no Windows name";
  formats::TestTempDir dir;
  const Bytes wave = test::make_wave({}, test::ramp(1000, 91));
  formats::write_bytes(dir / "take1.wav", wave);
  const std::string irgen = irgen_command();
  ASSERT_EQ(run_irgen(dir.path(), {"take1.wav", "file.tim", "x", "94.5", "1"}).status, 0);
  Outcome piped = run_shell(dir.path(), "cat take1.wav | SOURCE_DATE_EPOCH=1796713509 TZ=UTC " +
                                            irgen + " /dev/stdin pipe.tim x 94.5 1");
  ASSERT_EQ(piped.status, 0) << piped.err;
  Bytes from_file = formats::read_bytes(dir / "file.tim");
  Bytes from_pipe = formats::read_bytes(dir / "pipe.tim");
  ASSERT_EQ(from_pipe.size(), from_file.size());
  // The name of the input is recorded in the trailer; head and samples agree.
  EXPECT_TRUE(std::equal(from_file.begin(), from_file.begin() + 14 + 4 * 2048,
                         from_pipe.begin()));

  // A pipe that ends inside the data is still a truncated file.
  Outcome cut = run_shell(dir.path(), "head -c 1500 take1.wav | " + irgen + " /dev/stdin cut.tim");
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.err, "\r\nrun-time error F6201: READ(/dev/stdin)\r\n- end of file\r\n");
  EXPECT_FALSE(fs::exists(dir / "cut.tim"));
}

TEST(IrgenProgram, NonAsciiNamesAreTheFilesOfThoseNames) {
  formats::TestTempDir dir;
  formats::write_bytes(dir / "take1.wav", test::make_wave({.channels = 2}, test::ramp(1200, 7)));
  formats::write_bytes(dir / "Mess\u00fcng \u00e9t\u00e9 \u6e2c.wav",
                       formats::read_bytes(dir / "take1.wav"));
  ASSERT_EQ(run_irgen(dir.path(), {"take1.wav", "l.tim", "r.tim", "94.5", "1"}).status, 0);
  const Outcome r = run_irgen(
      dir.path(), {"Mess\u00fcng \u00e9t\u00e9 \u6e2c.wav", "links \u00e4.tim",
                   "rechts \u00df.tim", "94.5", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("File Name of the .TIM LEFT   file = links \u00e4.tim "), std::string::npos);
  // The trailer holds the input name: the files agree up to it.
  const Bytes left = formats::read_bytes(dir / "links \u00e4.tim");
  const Bytes ascii = formats::read_bytes(dir / "l.tim");
  ASSERT_EQ(left.size(), ascii.size());
  EXPECT_TRUE(std::equal(ascii.begin(), ascii.begin() + 14 + 4 * 2048, left.begin()));
  EXPECT_EQ(formats::read_bytes(dir / "rechts \u00df.tim").size(), ascii.size());
  // A missing file keeps its name in the error stop.
  const Outcome missing = run_irgen(dir.path(), {"f\u00fcnf.wav", "x.tim"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "\r\nrun-time error F6101: OPEN(f\u00fcnf.wav)\r\n- file not found\r\n");
}

TEST(IrgenProgram, WordsWithQuotesAndBackslashesArriveWhole) {
  // Under Wine the words travel as one Windows command line, quoted by Wine
  // and split again by the program: blanks inside quotes, 2n
  // backslashes before a quote for n backslashes, 2n+1 for a literal quote.
  formats::TestTempDir dir;
  const std::vector<std::string> words = {R"(a "b" c\d.wav)", R"(e\"f\\"g)",
                                          "h\\ i\\"};
  const Outcome r = run_irgen(dir.path(), words);
  EXPECT_EQ(r.status, 1);
  auto field = [](const std::string& w) { return w + std::string(40 - w.size(), ' '); };
  EXPECT_NE(r.out.find("File Name of the .WAV input  file = " + field(words[0]) + "\r\n"),
            std::string::npos) << r.out;
  EXPECT_NE(r.out.find("File Name of the .TIM LEFT   file = " + field(words[1]) + "\r\n"),
            std::string::npos) << r.out;
  EXPECT_TRUE(r.out.ends_with("File Name of the .TIM RIGHT  file = " + field(words[2])))
      << r.out;
  EXPECT_EQ(r.err, "\r\nrun-time error F6101: OPEN(" + words[0] + ")\r\n- file not found\r\n");
}

TEST(IrgenProgram, KilledAtAPromptLeavesNoTemporaryFile) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    // Windows has no SIGTERM or SIGHUP; Wine turns SIGINT into the console's
    // Ctrl-C event, which is what this checks for the .exe.
    if (launched() && signal_number != SIGINT) {
      std::cout << "note: signal " << signal_number << " not tested under Wine\n";
      continue;
    }
    formats::TestTempDir dir;
    formats::write_bytes(dir / "a.wav", test::make_wave({.channels = 2}, test::ramp(64)));
    formats::write_bytes(dir / "l.tim", Bytes{7});
    int to_child[2];
    int from_child[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(from_child), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      dup2(to_child[0], 0);
      dup2(from_child[1], 1);
      close(to_child[1]);
      close(from_child[0]);
      // Whoever started the tests may have ignored or blocked the signal, and
      // the program keeps an ignored signal ignored: give it the default.
      std::signal(signal_number, SIG_DFL);
      sigset_t set;
      sigemptyset(&set);
      sigaddset(&set, signal_number);
      sigprocmask(SIG_UNBLOCK, &set, nullptr);
      if (chdir(dir.path().c_str()) != 0) _exit(99);
      exec_irgen({});
      _exit(98);
    }
    close(to_child[0]);
    close(from_child[1]);
    // A blank right name: the left temporary is open while unit 4 is asked for.
    const std::string answers = "a.wav\nl.tim\n  \n0\n0\n";
    ASSERT_EQ(write(to_child[1], answers.data(), answers.size()),
              static_cast<ssize_t>(answers.size()));
    std::string shown;
    char buffer[256];
    while (!shown.ends_with("UNIT 4? ")) {
      const ssize_t n = read(from_child[0], buffer, sizeof buffer);
      ASSERT_GT(n, 0) << shown;
      shown.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(entries(dir.path()).size(), 3u) << "the left temporary exists";
    kill(child, signal_number);
    int status = 0;
    pid_t ended = 0;
    if (launched()) {
      // Wine hands the Ctrl-C to a handler thread of its own: the input stays
      // open for up to ten seconds, as it would at a console, so that the end
      // of the input does not overtake the handler.
      for (int waited = 0; waited < 1000 && ended == 0; ++waited) {
        ended = waitpid(child, &status, WNOHANG);
        if (ended == 0) usleep(10000);
      }
    }
    // Should the signal not end it, the program sees the end of its input
    // and stops instead of waiting at the prompt for ever.
    close(to_child[1]);
    if (ended == 0) ended = waitpid(child, &status, 0);
    ASSERT_EQ(ended, child);
    close(from_child[0]);
    if (launched()) {
      // Ended by Ctrl-C: STATUS_CONTROL_C_EXIT (0xC000013A), of which the
      // Linux side sees the low byte.
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0x3A)
          << "wait status " << status;
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number)
          << "signal " << signal_number << ", wait status " << status;
    }
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"a.wav", "l.tim"}))
        << "signal " << signal_number;
    EXPECT_EQ(formats::read_bytes(dir / "l.tim"), Bytes{7});
  }
}

// The external files, read independently: where the samples are and what
// the format says, with the pad byte after odd-sized chunks.
struct Parsed {
  bool has_format = false;
  bool has_data = false;
  int code = 0;
  int channels = 0;
  int bits = 0;
  std::size_t data_offset = 0;
  std::size_t data_size = 0;
};

Parsed parse(const Bytes& b) {
  Parsed p;
  auto u16 = [&](std::size_t at) { return b[at] | b[at + 1] << 8; };
  auto u32 = [&](std::size_t at) {
    return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
  };
  std::size_t at = 12;
  while (b.size() >= 12 && at + 8 <= b.size()) {
    std::string id(b.begin() + at, b.begin() + at + 4);
    std::size_t size = u32(at + 4);
    if (id == "fmt " && at + 8 + 16 <= b.size()) {
      p.has_format = true;
      p.code = u16(at + 8);
      p.channels = u16(at + 10);
      p.bits = u16(at + 22);
      if (p.code == 0xFFFE && size >= 40 && at + 8 + 26 <= b.size()) p.code = u16(at + 32);
    }
    if (id == "data" && p.has_format) {
      p.has_data = at + 8 + size <= b.size();
      p.data_offset = at + 8;
      p.data_size = size;
      break;
    }
    at += 8 + size + (size & 1);
  }
  return p;
}

TEST(IrgenProgram, ExternalFilesConvertOrEndCleanly) {
  const fs::path root = WAV_EXTERNAL_DIR;
  int converted = 0;
  int refused_depth = 0;
  for (const char* group : {"valid", "unsupported", "invalid"}) {
    for (const auto& entry : fs::directory_iterator(root / group)) {
      if (entry.path().extension() != ".wav") continue;
      const std::string name = std::string(group) + "/" + entry.path().filename().string();
      formats::TestTempDir dir;
      fs::copy_file(entry.path(), dir / "in.wav");
      Bytes wave = formats::read_bytes(dir / "in.wav");
      Outcome r = run_irgen(dir.path(), {"in.wav", "l.tim", "r.tim", "94.0", "1"});
      ASSERT_TRUE(r.status == 0 || r.status == 1 || r.status == 2)
          << name << ": crashed or hung";
      EXPECT_EQ(formats::read_bytes(dir / "in.wav"), wave) << name;

      Parsed p = parse(wave);
      const bool usable = p.has_data && p.code == 1 && p.bits == 16 &&
                          (p.channels == 1 || p.channels == 2);
      if (std::string(group) == "valid") {
        if (usable) {
          EXPECT_EQ(r.status, 0) << name << r.out << r.err;
        } else if (p.bits != 16) {
          EXPECT_EQ(r.status, 2) << name;
          EXPECT_NE(r.out.find("ERROR - The input file must be 16 bits!"),
                    std::string::npos) << name;
          ++refused_depth;
        }
      }
      if (r.status != 0) {
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"in.wav"}) << name;
        const bool stopped = r.out.ends_with("Stop - Program terminated.\r\n");
        if (r.status == 2) {
          EXPECT_TRUE(stopped && r.err.empty())
              << name << ": a refusal\nout:\n" << r.out << "\nerr:\n" << r.err;
        } else {
          EXPECT_TRUE(!stopped && r.err.starts_with("\r\nrun-time error F6"))
              << name << ": an error stop, status " << r.status << "\nout:\n"
              << r.out << "\nerr:\n" << r.err;
        }
        continue;
      }
      ASSERT_TRUE(usable) << name << " converted though it is not 16-bit PCM";
      ++converted;
      const std::size_t frames = p.data_size / (2 * static_cast<std::size_t>(p.channels));
      for (int channel = 0; channel < p.channels; ++channel) {
        Bytes tim = formats::read_bytes(dir / (channel == 0 ? "l.tim" : "r.tim"));
        ASSERT_GE(tim.size(), 14 + 4 * frames + 840) << name;
        for (std::size_t i = 0; i < frames; ++i) {
          std::size_t at = p.data_offset + (i * p.channels + channel) * 2;
          auto s = static_cast<std::int16_t>(wave[at] | wave[at + 1] << 8);
          ASSERT_EQ(load_f32(tim, 14 + 4 * i), s / 32768.0f)
              << name << " channel " << channel << " frame " << i;
        }
      }
      EXPECT_EQ(fs::exists(dir / "r.tim"), p.channels == 2) << name;
    }
  }
  EXPECT_GE(converted, 10);
  EXPECT_GE(refused_depth, 30);
}

}  // namespace
}  // namespace irgen
