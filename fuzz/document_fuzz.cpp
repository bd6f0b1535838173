// Fuzz target: arbitrary bytes through the exchange-file reader, the writer and the extents; the
// writer must reach a fixed point (the second and third round trips write the same bytes).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/model.h"

namespace {

// What the program does from start-up to OK for a drawing without hatch: read, write back.
std::string RoundTrip(const std::string& bytes) {
  vardo::TJGdata doc;
  doc.ReadTempBytes(bytes);
  doc.S_Init();
  vardo::ViewState view;
  doc.GetMinMaxZahyo(view);
  doc.SendMem(u"hd");
  doc.S_EntAll(-1, -1, -1, -1, -1, -1, -1, 0);
  return doc.TempFileBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string first = RoundTrip(input);
  std::string second = RoundTrip(first);
  std::string third = RoundTrip(second);
  if (second != third) std::abort();
  return 0;
}
