// vardo-script: drives the real form controller through the headless shell from a scenario.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/script.h"
#include "common/file_io.h"
#include "document/text_codec.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vardo-script [--dir DIR] SCENARIO|-\n");
  return 2;
}

std::u16string FromUtf8(const char* s) {
  std::u16string out;
  vardo::DecodeUtf8(s, out);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::u16string dir = u".";
  int i = 1;
  if (i + 1 < argc && std::strcmp(argv[i], "--dir") == 0) {
    dir = FromUtf8(argv[i + 1]);
    i += 2;
  }
  if (argc - i != 1) return Usage();
  const std::string scenario = argv[i];
  if (scenario == "-") return vardo::RunScenario(std::cin, dir, std::cout, std::cerr);
  std::ifstream file(vardo::ToPath(FromUtf8(scenario.c_str())), std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "vardo-script: cannot read %s\n", scenario.c_str());
    return 2;
  }
  return vardo::RunScenario(file, dir, std::cout, std::cerr);
}
