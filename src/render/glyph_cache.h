// A cache of glyph masks and measurements in front of a platform rasterizer, shared by threads.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>

#include "render/glyph.h"

namespace vardo {

// Keeps every mask and measurement by font description and character, so a redraw rasterizes
// each distinct glyph once and creates no font per glyph. Lookups are spread over shards with a
// lock each, so threads drawing at once rarely wait for one another; the backend, which need not
// be thread-safe, is called under a lock of its own. Each table keeps within a byte budget by
// dropping the entries that have not been used for longest (approximately: a lookup only marks
// its entry, and eviction gives a marked one a second chance).
class GlyphCache final : public GlyphRasterizer {
 public:
  static constexpr size_t kDefaultMaskBudget = size_t{32} << 20;
  static constexpr size_t kDefaultExtentBudget = size_t{4} << 20;

  explicit GlyphCache(std::unique_ptr<GlyphRasterizer> backend,
                      size_t mask_budget = kDefaultMaskBudget,
                      size_t extent_budget = kDefaultExtentBudget);
  ~GlyphCache() override;

  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override;
  std::shared_ptr<const GlyphMask> SharedMask(const FontDescription& font, char32_t ch) override;
  TextExtent Measure(const FontDescription& font, char32_t ch) override;

 private:
  template <typename Value>
  class Table;

  std::unique_ptr<GlyphRasterizer> backend_;
  std::mutex backend_mutex_;
  std::unique_ptr<Table<std::shared_ptr<const GlyphMask>>> masks_;
  std::unique_ptr<Table<TextExtent>> extents_;
};

}  // namespace vardo
