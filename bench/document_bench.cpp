// Reading and writing a drawing of a million entities, against bare from_chars / to_chars
// baselines on the same file and numbers, plus the peak memory of reading and indexing it and
// the form's timings showing it and zooming in.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "bench_support.h"
#include "cli/script.h"
#include "common/file_io.h"
#include "common/stopwatch.h"
#include "document/model.h"
#include "render/entity_index.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Dir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("vardo-document-bench-" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

fs::path InputPath() {
  return Dir() / "JWC_TEMP.TXT";
}

// A CP932 drawing of one million entities laid out like a plan 10,000 units across: mostly
// lines up to 200 units long, with circles, arcs, points, marks, texts, dimensions and solids,
// and attribute changes along the way.
void GenerateDrawing(const fs::path& path) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> coord(-5000.0, 5000.0);
  std::uniform_real_distribution<double> offset(-140.0, 140.0);
  std::uniform_int_distribution<int> pick(0, 999);
  auto num = [&](std::string& out, double v) {
    char buf[32];
    // Three decimals, as a CAD system writes millimetres.
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    (void)ec;
    out.append(buf, end);
  };
  auto nums = [&](std::string& out, std::initializer_list<double> values) {
    for (double v : values) {
      out.push_back(' ');
      num(out, v);
    }
  };
  // "日本語の文字" and "寸法" in Shift-JIS.
  const std::string kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8e\x9a";
  std::string text = "hs 1 50 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nlg1\nly0\nlc2\nlt1\nlw0\ncn1\n";
  text.reserve(48u << 20);
  for (int i = 0; i < 1000000; ++i) {
    if (i % 50 == 0) text += "lc" + std::to_string(1 + i / 50 % 9) + "\n";
    if (i % 500 == 0) text += "ly" + std::to_string(i / 500 % 10) + "\n";
    const int k = pick(rng);
    if (k < 800) {
      const double x = coord(rng), y = coord(rng);
      num(text, x);
      nums(text, {y, x + offset(rng), y + offset(rng)});
    } else if (k < 840) {
      text += "ci";
      nums(text, {coord(rng), coord(rng), 50 + coord(rng) / 100});
    } else if (k < 880) {
      text += "ci";
      nums(text, {coord(rng), coord(rng), 60.0, 30.0, 120.0, 1.0, 0.0});
    } else if (k < 910) {
      text += "pt";
      nums(text, {coord(rng), coord(rng)});
    } else if (k < 930) {
      text += "pt";
      nums(text, {coord(rng), coord(rng), 1.5, 30.0});
      text += " 3";
    } else if (k < 970) {
      text += "ch";
      nums(text, {coord(rng), coord(rng), 25.0, 0.0});
      text += " \"" + kJapanese + " A-" + std::to_string(i);
    } else if (k < 980) {
      text += "msg\n";
      const double x = coord(rng), y = coord(rng);
      num(text, x);
      nums(text, {y, x + offset(rng), y});
      text += "\ncs";
      nums(text, {coord(rng), coord(rng), 10.0, 0.0});
      text += " \"1234.5";
    } else if (k < 990) {
      text += "sl";
      nums(text, {0, 0, 10, 0, 10, 10, 0, 10});
    } else {
      text += "sc";
      nums(text, {coord(rng), coord(rng), 30.0, 1.0, 0.0, 0.0, 3.14159});
      text += " 100";
    }
    text.push_back('\n');
  }
  vardo::WriteFileAtomic(path, text);
}

void BM_ReadOurs(benchmark::State& state) {
  const std::u16string path = InputPath().u16string();
  for (auto _ : state) {
    vardo::TJGdata doc;
    doc.OpenTempFile(path);
    benchmark::DoNotOptimize(doc.EntN());
  }
}

// The bare minimum: load the file and convert every number on every line.
void BM_ReadBaseline(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes;
    vardo::ReadFileBytes(InputPath(), bytes);
    double sum = 0;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
      while (p < end && (*p == ' ' || *p == '\n' || *p == '\r'))
        ++p;
      const char* token = p;
      while (p < end && *p != ' ' && *p != '\n' && *p != '\r')
        ++p;
      double v;
      if (std::from_chars(token, p, v).ec == std::errc()) sum += v;
    }
    benchmark::DoNotOptimize(sum);
  }
}

struct Loaded {
  vardo::TJGdata doc;
  std::vector<double> numbers;  // every number the writer writes for the entities
  Loaded() {
    doc.OpenTempFile(InputPath().u16string());
    for (const auto& e : doc.EntLine)
      numbers.insert(numbers.end(), {e.x1, e.y1, e.x2, e.y2});
    for (const auto& e : doc.EntCirc)
      numbers.insert(numbers.end(), {e.cx, e.cy, e.cr});
    for (const auto& e : doc.EntArc) {
      numbers.insert(numbers.end(), {e.cx, e.cy, e.cr, e.sa, e.ea, e.he, e.ka});
    }
    for (const auto& e : doc.EntPnt)
      numbers.insert(numbers.end(), {e.px, e.py});
    for (const auto& e : doc.EntMark)
      numbers.insert(numbers.end(), {e.px, e.py, e.bai, e.ang});
    for (const auto& e : doc.EntText)
      numbers.insert(numbers.end(), {e.x1, e.y1, e.x2, e.y2});
    for (const auto& e : doc.EntDim) {
      numbers.insert(numbers.end(), {e.lin.x1, e.lin.y1, e.lin.x2, e.lin.y2, e.txt.x1, e.txt.y1,
                                     e.txt.x2, e.txt.y2});
    }
    for (const auto& e : doc.EntSld4) {
      numbers.insert(numbers.end(), {e.x1, e.y1, e.x2, e.y2, e.x3, e.y3, e.x4, e.y4});
    }
    for (const auto& e : doc.EntSldC) {
      numbers.insert(numbers.end(), {e.cx, e.cy, e.cr, e.he, e.ka, e.sa, e.da});
    }
  }
};

Loaded& Drawing() {
  static Loaded loaded;
  return loaded;
}

void BM_WriteOurs(benchmark::State& state) {
  vardo::TJGdata& doc = Drawing().doc;
  const std::u16string out = (Dir() / "out.txt").u16string();
  for (auto _ : state) {
    doc.StopGaibu();
    doc.S_Init();
    doc.SendMem(u"hd");
    doc.S_EntAll(-1, -1, -1, -1, -1, -1, -1, 0);
    benchmark::DoNotOptimize(doc.SaveTempFile(out));
  }
}

// The bare minimum: the same numbers through to_chars into one buffer, then one write.
void BM_WriteBaseline(benchmark::State& state) {
  const std::vector<double>& numbers = Drawing().numbers;
  const fs::path out = Dir() / "baseline.txt";
  for (auto _ : state) {
    std::string buf;
    buf.reserve(numbers.size() * 12);
    char tmp[32];
    for (size_t i = 0; i < numbers.size(); ++i) {
      buf.append(tmp, std::to_chars(tmp, tmp + sizeof tmp, numbers[i]).ptr);
      buf.push_back(i % 4 == 3 ? '\n' : ' ');
    }
    FILE* f = std::fopen(out.c_str(), "wb");
    std::fwrite(buf.data(), 1, buf.size(), f);
    std::fclose(f);
  }
}

BENCHMARK(BM_ReadOurs)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReadBaseline)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_WriteOurs)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_WriteBaseline)->Unit(benchmark::kMillisecond)->MinTime(2);

// The bytes the document's records occupy: table entries plus the heap of their strings.
template <typename T>
size_t TableBytes(const std::vector<T>& v) {
  return v.size() * sizeof(T);
}

size_t StringHeap(const std::u16string& s) {
  return s.capacity() > 7 ? (s.capacity() + 1) * sizeof(char16_t) : 0;
}

size_t RecordBytes(const vardo::TJGdata& d) {
  size_t n =
      TableBytes(d.EntNo) + TableBytes(d.EntLine) + TableBytes(d.EntCirc) + TableBytes(d.EntArc) +
      TableBytes(d.EntText) + TableBytes(d.EntPnt) + TableBytes(d.EntMark) + TableBytes(d.EntDim) +
      TableBytes(d.EntBlk) + TableBytes(d.EntSld2) + TableBytes(d.EntSld3) + TableBytes(d.EntSld4) +
      TableBytes(d.EntSldC) + TableBytes(d.EntSldE) + TableBytes(d.EntSldO) + TableBytes(d.EntSldG);
  for (const auto& t : d.EntText)
    n += StringHeap(t.st) + StringHeap(t.fo);
  for (const auto& t : d.EntDim)
    n += StringHeap(t.txt.st) + StringHeap(t.txt.fo);
  return n;
}

// Peak memory of reading and then building the entity index, as start-up does, measured in a
// child process so nothing else has touched its heap.
void ReportReadMemory() {
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    long before = vardo::bench::PeakRssBytes();
    vardo::TJGdata doc;
    doc.OpenTempFile(InputPath().u16string());
    long read_peak = vardo::bench::PeakRssBytes() - before;
    vardo::TgraAttribute attr;
    vardo::SetUpStartAttributes(attr);
    vardo::EntityIndex index;
    index.Build(doc, attr);
    long peak = vardo::bench::PeakRssBytes() - before;
    size_t file = fs::file_size(InputPath());
    size_t records = RecordBytes(doc);
    double budget = static_cast<double>(file) + 1.7 * static_cast<double>(records);
    std::printf(
        "read memory: entities %d, file %.1f MB, records %.1f MB, peak growth reading %.1f MB, "
        "with the index built %.1f MB, budget (file + 1.7 x records) %.1f MB: %s\n",
        doc.EntN(), file / 1e6, records / 1e6, read_peak / 1e6, peak / 1e6, budget / 1e6,
        peak <= budget ? "within" : "OVER");
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
}

// The drawing shown as vardo-script shows it at 1600 x 1000, then the wheel turned ten notches
// towards the pointer at the centre; the form's timings after each step.
void ReportEndToEnd() {
  std::string scenario = "size 1600 1000\nshow\nprint timings\n";
  for (int i = 0; i < 10; ++i)
    scenario += "wheel down 800 500\nprint timings\n";
  std::istringstream in(scenario);
  std::ostringstream out, err;
  const vardo::Stopwatch whole;
  const int rc = vardo::RunScenario(in, Dir().u16string(), out, err);
  const double total = whole.Millis();
  if (rc != 0) {
    std::printf("end to end: the scenario failed: %s", err.str().c_str());
    return;
  }
  std::istringstream lines(out.str());
  std::string line;
  std::getline(lines, line);
  std::printf("end to end, 1600 x 1000 (ms): show: %s\n", line.c_str());
  for (int notch = 1; std::getline(lines, line); ++notch) {
    std::printf("  wheel %d: %s\n", notch,
                line.substr(std::min(line.find("redraw"), line.size())).c_str());
  }
  std::printf("  whole scenario %.1f ms\n", total);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  GenerateDrawing(InputPath());
  ReportReadMemory();
  ReportEndToEnd();
  int rc = vardo::bench::RunAndCompare(
      argc, argv,
      {{"BM_ReadOurs/min_time:2.000", "BM_ReadBaseline/min_time:2.000"},
       {"BM_WriteOurs/min_time:2.000", "BM_WriteBaseline/min_time:2.000"}});
  std::error_code ec;
  fs::remove_all(Dir(), ec);
  return rc;
}
