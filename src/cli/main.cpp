#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The commands take UTF-8 words; Windows hands them over as UTF-16. Standard input and output
// carry bytes (base64 decodes binary data), so no CR LF translation and no end at Ctrl-Z.
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string word(size > 0 ? static_cast<std::size_t>(size - 1) : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, word.data(), size, nullptr, nullptr);
    args.push_back(std::move(word));
  }
  return athup::cli::runCli(args, std::cin, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return athup::cli::runCli(args, std::cin, std::cout, std::cerr);
}
#endif
