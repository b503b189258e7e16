#include "console/process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace console {
namespace {

// Runs `body` in a child process and returns its wait status, so that closed
// descriptors and signal dispositions do not leak into the test runner.
template <typename Body>
int in_child(Body body) {
  const pid_t child = fork();
  if (child == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

bool is_dev_null(int fd) {
  struct stat a {}, b {};
  return fstat(fd, &a) == 0 && stat("/dev/null", &b) == 0 && a.st_rdev == b.st_rdev &&
         S_ISCHR(a.st_mode);
}

TEST(PrepareProcess, ClosedStandardDescriptorsAreNotHandedToFiles) {
  const int status = in_child([] {
    close(0);
    close(1);
    close(2);
    prepare_process(nullptr);
    if (!is_dev_null(0) || !is_dev_null(1) || !is_dev_null(2)) _exit(10);
    if ((fcntl(0, F_GETFL) & O_ACCMODE) != O_RDONLY) _exit(11);
    const int file = open("/dev/zero", O_RDONLY);
    _exit(file > 2 ? 0 : 12);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // An open descriptor is left as it is.
  const int kept = in_child([] {
    dup2(open("/dev/zero", O_RDONLY), 1);
    close(2);
    prepare_process(nullptr);
    struct stat out {};
    fstat(1, &out);
    struct stat zero {};
    stat("/dev/zero", &zero);
    _exit(out.st_rdev == zero.st_rdev && is_dev_null(2) ? 0 : 13);
  });
  ASSERT_TRUE(WIFEXITED(kept));
  EXPECT_EQ(WEXITSTATUS(kept), 0);
}

std::string g_marker;

void remove_marker() noexcept { unlink(g_marker.c_str()); }

TEST(PrepareProcess, FatalSignalRunsTheCleanupAndStillKillsTheProcess) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    char folder[] = "/tmp/process_test_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    g_marker = std::string(folder) + "/pending";
    close(open(g_marker.c_str(), O_WRONLY | O_CREAT, 0644));
    const int status = in_child([signal_number] {
      // Whoever started the tests may have ignored or blocked the signal, and
      // prepare_process keeps an ignored signal ignored: start from the default.
      signal(signal_number, SIG_DFL);
      sigset_t set;
      sigemptyset(&set);
      sigaddset(&set, signal_number);
      sigprocmask(SIG_UNBLOCK, &set, nullptr);
      // SIGQUIT's default action dumps core: no core file from the test.
      const rlimit no_core{0, 0};
      setrlimit(RLIMIT_CORE, &no_core);
      prepare_process(remove_marker);
      raise(signal_number);
      _exit(20);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number)
        << "signal " << signal_number << ", wait status " << status;
    EXPECT_NE(access(g_marker.c_str(), F_OK), 0) << "signal " << signal_number;
    unlink(g_marker.c_str());
    rmdir(folder);
  }
}

TEST(PrepareProcess, BrokenPipeAndFileSizeLimitBecomeFailedWrites) {
  const int status = in_child([] {
    prepare_process(nullptr);
    raise(SIGPIPE);
    raise(SIGXFSZ);
    _exit(0);
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // A signal ignored by whoever started the process stays ignored.
  const int ignored = in_child([] {
    signal(SIGHUP, SIG_IGN);
    prepare_process(nullptr);
    raise(SIGHUP);
    _exit(0);
  });
  ASSERT_TRUE(WIFEXITED(ignored));
  EXPECT_EQ(WEXITSTATUS(ignored), 0);
}

TEST(FileCalls, CreateNewReplaceAndRemove) {
  char folder[] = "/tmp/process_test_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::filesystem::path dir(folder);
  const std::filesystem::path temporary = dir / "t";
  const std::filesystem::path target = utf8_path("ziel \xc3\xa4.tim");

  std::FILE* created = create_new_file(temporary);
  ASSERT_NE(created, nullptr);
  std::fputs("new", created);
  std::fclose(created);
  // Never an existing file: the temporary name is taken.
  errno = 0;
  EXPECT_EQ(create_new_file(temporary), nullptr);
  EXPECT_EQ(errno, EEXIST);

  std::FILE* old = open_file(dir / target, "wb");
  ASSERT_NE(old, nullptr);
  std::fputs("old contents", old);
  std::fclose(old);
  ASSERT_TRUE(replace_file(temporary, dir / target));
  EXPECT_EQ(std::filesystem::file_size(dir / target), 3u);
  EXPECT_FALSE(std::filesystem::exists(temporary));
  EXPECT_FALSE(replace_file(temporary, dir / target)) << "nothing left to move";
  EXPECT_EQ(path_utf8(dir / target), std::string(folder) + "/ziel \xc3\xa4.tim");

  remove_file_now((dir / target).c_str());
  EXPECT_FALSE(std::filesystem::exists(dir / target));
  rmdir(folder);
}

TEST(FileCalls, CommandLineWordsAreArgvOnLinux) {
  char program[] = "irgen";
  char word[] = "a \"b\" c";
  char* argv[] = {program, word, nullptr};
  EXPECT_EQ(command_line_words(2, argv), (std::vector<std::string>{"irgen", "a \"b\" c"}));
}

}  // namespace
}  // namespace console
