// The glyph cache: each distinct glyph reaches the rasterizer once, within a memory budget,
// from any number of threads.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "glyph_masks.h"
#include "render/glyph_cache.h"

namespace vardo {
namespace {

using test::SameMask;

// A rasterizer whose masks spell out what was asked, counting the calls per glyph. It fails the
// test when two threads call it at once: the cache must serialise its backend.
class CountingRasterizer final : public GlyphRasterizer {
 public:
  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override {
    Enter();
    ++mask_calls[{font.face, font.height, font.escapement, font.weight, ch}];
    GlyphMask m;
    m.left = font.escapement;
    m.top = -font.height;
    m.width = 8;
    m.height = 3;
    m.stride = 1;
    // Big enough that a few dozen masks fill a small budget.
    m.bits.assign(1024, 0);
    m.bits[0] = static_cast<uint8_t>(ch);
    m.bits[1] = static_cast<uint8_t>(font.height);
    m.bits[2] = static_cast<uint8_t>(font.face.size());
    Leave();
    return m;
  }
  TextExtent Measure(const FontDescription& font, char32_t ch) override {
    Enter();
    ++extent_calls[{font.face, font.height, font.escapement, font.weight, ch}];
    Leave();
    return {static_cast<int>(ch), font.height};
  }

  using Key = std::tuple<std::u16string, int, int, int, char32_t>;
  std::map<Key, int> mask_calls;
  std::map<Key, int> extent_calls;
  std::atomic<bool> overlapped{false};

 private:
  void Enter() {
    if (busy_.exchange(true)) overlapped = true;
  }
  void Leave() { busy_ = false; }
  std::atomic<bool> busy_{false};
};

FontDescription Font(std::u16string face, int height, int escapement = 0) {
  FontDescription f;
  f.face = std::move(face);
  f.height = height;
  f.escapement = escapement;
  return f;
}

GlyphMask Expected(const FontDescription& font, char32_t ch) {
  return CountingRasterizer().Rasterize(font, ch);
}

TEST(GlyphCache, RasterizesEachDistinctGlyphOnce) {
  auto backend = std::make_unique<CountingRasterizer>();
  CountingRasterizer& counts = *backend;
  GlyphCache cache(std::move(backend));
  // Descriptions that differ in any one field are different glyphs.
  FontDescription variants[] = {Font(u"ＭＳ ゴシック", 20), Font(u"ＭＳ 明朝", 20),
                                Font(u"ＭＳ ゴシック", 21), Font(u"ＭＳ ゴシック", 20, 900),
                                Font(u"ＭＳ ゴシック", 20)};
  variants[4].weight = 700;
  for (int round = 0; round < 3; ++round) {
    for (const FontDescription& f : variants) {
      for (char32_t ch : {U'漢', U'A'}) {
        EXPECT_TRUE(SameMask(cache.Rasterize(f, ch), Expected(f, ch)));
        const TextExtent e = cache.Measure(f, ch);
        EXPECT_EQ(e.width, static_cast<int>(ch));
        EXPECT_EQ(e.height, f.height);
      }
    }
  }
  EXPECT_EQ(counts.mask_calls.size(), 10u);
  for (const auto& [key, calls] : counts.mask_calls)
    EXPECT_EQ(calls, 1);
  EXPECT_EQ(counts.extent_calls.size(), 10u);
  for (const auto& [key, calls] : counts.extent_calls)
    EXPECT_EQ(calls, 1);
}

TEST(GlyphCache, KeepsWithinItsBudgetDroppingGlyphsNoLongerUsed) {
  auto backend = std::make_unique<CountingRasterizer>();
  CountingRasterizer& counts = *backend;
  // Room for a score of masks per shard: the glyphs passing through are dropped again and
  // again, moving the kept glyphs about in the index, which must still find every one of them.
  GlyphCache cache(std::move(backend), 512 * 1024, 64 * 1024);
  std::vector<FontDescription> kept;
  for (int k = 0; k < 24; ++k)
    kept.push_back(Font(u"kept", 30 + k));
  for (int i = 0; i < 4000; ++i) {
    const FontDescription f = Font(u"passing", 10 + i % 500, i);
    EXPECT_TRUE(SameMask(cache.Rasterize(f, U'x'), Expected(f, U'x')));
    // Used all along, so never dropped.
    for (const FontDescription& k : kept)
      EXPECT_TRUE(SameMask(cache.Rasterize(k, U'K'), Expected(k, U'K')));
  }
  for (const FontDescription& k : kept)
    EXPECT_EQ((counts.mask_calls[{u"kept", k.height, 0, 400, U'K'}]), 1) << k.height;
  // The passing glyphs did not all stay: asking for the first again rasterizes it again.
  const FontDescription first = Font(u"passing", 10, 0);
  EXPECT_TRUE(SameMask(cache.Rasterize(first, U'x'), Expected(first, U'x')));
  EXPECT_EQ((counts.mask_calls[{u"passing", 10, 0, 400, U'x'}]), 2);
}

TEST(GlyphCache, ServesManyThreadsAndCallsTheBackendOneAtATime) {
  auto backend = std::make_unique<CountingRasterizer>();
  CountingRasterizer& counts = *backend;
  // A small budget, so that threads evict what others are reading.
  GlyphCache cache(std::move(backend), 256 * 1024, 256 * 1024);
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&cache, &wrong, t] {
      for (int i = 0; i < 3000; ++i) {
        const FontDescription f =
            Font(i % 2 ? u"ＭＳ ゴシック" : u"ＭＳ 明朝", 8 + (i * 7 + t) % 90);
        const char32_t ch = U'A' + static_cast<char32_t>(i % 26);
        if (!SameMask(cache.Rasterize(f, ch), Expected(f, ch))) ++wrong;
        if (cache.Measure(f, ch).height != f.height) ++wrong;
      }
    });
  }
  for (std::thread& t : threads)
    t.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_FALSE(counts.overlapped);
}

}  // namespace
}  // namespace vardo
