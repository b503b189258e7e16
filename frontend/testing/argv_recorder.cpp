// A stand-in converter for the front end's tests. Copied into a test folder
// under the name a command line uses (irgen, IRGEN.EXE, fenwix4, ...), it
// writes what it was started with into "<name>.<pid>.rec" in its current
// folder and ends:
//   program <the name it was started under>
//   cwd <its current folder>
//   stdin <eof | data | closed>
//   arg <word>          one line per word after the program name
// The record is written under a temporary name and renamed, so a reader
// never sees half of it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
  const std::string name = std::filesystem::path(argv[0]).filename().string();
  const std::string cwd = std::filesystem::current_path().string();

  char byte = 0;
  const ssize_t got = read(STDIN_FILENO, &byte, 1);
  const char* input = got == 0 ? "eof" : got > 0 ? "data" : "closed";

  const std::string record = name + "." + std::to_string(getpid()) + ".rec";
  const std::string partial = record + ".part";
  {
    std::ofstream out(partial, std::ios::binary);
    out << "program " << name << '\n' << "cwd " << cwd << '\n' << "stdin " << input << '\n';
    for (int i = 1; i < argc; ++i) out << "arg " << argv[i] << '\n';
    if (!out) return 1;
  }
  std::filesystem::rename(partial, record);
  return 0;
}
