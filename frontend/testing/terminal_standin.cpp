// A stand-in terminal emulator for the front end's tests. Started as
// "terminal_standin -e COMMAND WORD...", it writes what it was started with
// into "<name>.<pid>.rec" in its current folder, in argv_recorder's format,
// then runs COMMAND with its words, standard output and error going to
// "<name>.<pid>.screen" (what a terminal would show), standard input as it
// was given.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
  const std::string name = std::filesystem::path(argv[0]).filename().string();
  const std::string base = name + "." + std::to_string(getpid());
  {
    std::ofstream out(base + ".rec.part", std::ios::binary);
    out << "program " << name << '\n'
        << "cwd " << std::filesystem::current_path().string() << '\n'
        << "stdin terminal\n";
    // The script holds line breaks; a record line must not.
    for (int i = 1; i < argc; ++i)
      out << "arg " << (std::strchr(argv[i], '\n') ? "<script>" : argv[i]) << '\n';
    if (!out) return 1;
  }
  std::filesystem::rename(base + ".rec.part", base + ".rec");

  int command = 1;
  while (command < argc && std::strcmp(argv[command], "-e") != 0) ++command;
  if (command + 1 >= argc) return 1;
  if (!std::freopen((base + ".screen").c_str(), "w", stdout)) return 1;
  dup2(STDOUT_FILENO, STDERR_FILENO);
  execvp(argv[command + 1], argv + command + 1);
  std::perror("execvp");
  return 127;
}
