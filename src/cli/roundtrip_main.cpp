// vardo-roundtrip: reads an exchange file as start-up does and writes it back as OK does.
#include <cstdio>
#include <cstring>

#include "common/numbers.h"
#include "document/model.h"
#include "document/text_codec.h"

namespace {

// Command-line paths are UTF-8 here; the document takes UTF-16 path text.
std::u16string PathArg(const char* arg) {
  std::u16string out;
  vardo::DecodeUtf8(arg, out);
  return out;
}

int Usage() {
  std::fprintf(stderr, "usage: vardo-roundtrip IN OUT | vardo-roundtrip --extents IN\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  vardo::TJGdata doc;
  if (std::strcmp(argv[1], "--extents") == 0) {
    doc.OpenTempFile(PathArg(argv[2]));
    vardo::ViewState view;
    doc.GetMinMaxZahyo(view);
    std::printf("%s %s %s %s\n", vardo::FloatStrA(view.ExtXmin).c_str(),
                vardo::FloatStrA(view.ExtYmin).c_str(), vardo::FloatStrA(view.ExtXmax).c_str(),
                vardo::FloatStrA(view.ExtYmax).c_str());
    return 0;
  }
  doc.OpenTempFile(PathArg(argv[1]));
  doc.S_Init();
  if (!doc.CommitTempFile(PathArg(argv[2]))) {
    std::fprintf(stderr, "vardo-roundtrip: cannot write %s\n", argv[2]);
    return 2;
  }
  return 0;
}
