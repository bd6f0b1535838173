// Scenarios for the headless shell: one command a line driving the real form controller, as
// vardo-script, the tests and the fuzz target run them.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/headless/headless_window.h"

namespace vardo {

class Scenario {
 public:
  // dir is the program folder (UTF-16 path text): it holds JWC_TEMP.TXT and VardoHatch.dat.
  // print commands write their line to out.
  Scenario(std::u16string_view dir, std::ostream& out);

  // Runs one line (blank lines and lines starting with "#" do nothing). False, with a message
  // in error, for an unknown command or a bad argument.
  bool Run(std::string_view line, std::string& error);
  // True once the window has closed; the rest of the scenario is not run.
  bool Closed() const { return window_.Closed(); }
  // The end of the scenario: the window closes through its close box if it is still open.
  void End() { window_.CloseBox(); }

  HeadlessWindow& window() { return window_; }

 private:
  std::ostream& out_;
  HeadlessWindow window_;
};

// Runs a whole scenario. Returns the exit code: 0, or 2 after writing a one-line message that
// names the line to err.
int RunScenario(std::istream& in, std::u16string_view dir, std::ostream& out, std::ostream& err);

}  // namespace vardo
