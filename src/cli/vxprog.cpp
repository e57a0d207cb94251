// vxprog's entry point: hands the arguments to runVxprog. On Windows the arguments come in as
// UTF-16 (wmain, linked with -municode) and are passed on as UTF-8, so that file names outside
// the ANSI code page survive.
#include <iostream>
#include <string>
#include <vector>

#include "cli/text_encoding.h"
#include "cli/vxprog_cli.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string utf16;
    for (const wchar_t* c = argv[i]; *c != L'\0'; ++c) utf16.push_back(static_cast<char16_t>(*c));
    args.push_back(vx::utf16ToUtf8(utf16));
  }
  return vx::runVxprog(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return vx::runVxprog(args, std::cout, std::cerr);
}
#endif
