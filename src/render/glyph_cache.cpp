// A cache of glyph masks and measurements in front of a platform rasterizer, shared by threads.
#include "render/glyph_cache.h"

#include <array>
#include <functional>
#include <list>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vardo {
namespace {

size_t HashGlyph(const FontDescription& f, char32_t ch) {
  size_t h = std::hash<std::u16string>{}(f.face);
  const auto mix = [&h](uint64_t v) {
    h ^= static_cast<size_t>(v + 0x9E3779B97F4A7C15u + (h << 6) + (h >> 2));
  };
  mix(static_cast<uint32_t>(f.height));
  mix(static_cast<uint32_t>(f.width));
  mix(static_cast<uint32_t>(f.escapement));
  mix(static_cast<uint32_t>(f.orientation));
  mix(static_cast<uint32_t>(f.weight));
  mix((f.italic ? 1u : 0u) | (f.underline ? 2u : 0u) | (f.strike_out ? 4u : 0u));
  mix(static_cast<uint32_t>(f.charset));
  mix(ch);
  return h;
}

size_t ExtraBytes(const GlyphMask& mask) {
  return mask.bits.capacity();
}
size_t ExtraBytes(const TextExtent&) {
  return 0;
}

}  // namespace

// One table of values by (font, character): shards of a recency list and an index into it.
template <typename Value>
class GlyphCache::Table {
 public:
  explicit Table(size_t budget) : shard_budget_(budget / kShards) {}

  // The value of (font, ch): the kept one, or make() called under backend_mutex and kept.
  template <typename Make>
  Value Get(const FontDescription& font, char32_t ch, std::mutex& backend_mutex, Make make) {
    const size_t hash = HashGlyph(font, ch);
    Shard& shard = shards_[hash % kShards];
    if (std::optional<Value> hit = Find(shard, font, ch, hash)) return *std::move(hit);
    const std::lock_guard backend_lock(backend_mutex);
    // Another thread may have made it while this one waited for the backend.
    if (std::optional<Value> hit = Find(shard, font, ch, hash)) return *std::move(hit);
    Value value = make();
    Insert(shard, font, ch, hash, value);
    return value;
  }

 private:
  static constexpr size_t kShards = 16;
  // What a kept entry costs beyond its value's own heap memory: the list node, the index node.
  static constexpr size_t kEntryOverhead = 96;

  struct Entry {
    FontDescription font;
    char32_t ch;
    size_t hash;
    Value value;
    size_t cost;
  };
  using Iterator = typename std::list<Entry>::iterator;
  // The index's key points into its entry, so a lookup needs no copy of the caller's font.
  struct Ref {
    const FontDescription* font;
    char32_t ch;
    size_t hash;
  };
  struct RefHash {
    size_t operator()(const Ref& r) const { return r.hash; }
  };
  struct RefEqual {
    bool operator()(const Ref& a, const Ref& b) const { return a.ch == b.ch && *a.font == *b.font; }
  };
  struct Shard {
    std::mutex mutex;
    std::list<Entry> recent;  // most recently used first
    std::unordered_map<Ref, Iterator, RefHash, RefEqual> index;
    size_t bytes = 0;
  };

  static std::optional<Value> Find(Shard& shard, const FontDescription& font, char32_t ch,
                                   size_t hash) {
    const std::lock_guard lock(shard.mutex);
    const auto it = shard.index.find(Ref{&font, ch, hash});
    if (it == shard.index.end()) return std::nullopt;
    shard.recent.splice(shard.recent.begin(), shard.recent, it->second);
    return it->second->value;
  }

  void Insert(Shard& shard, const FontDescription& font, char32_t ch, size_t hash,
              const Value& value) {
    const std::lock_guard lock(shard.mutex);
    const size_t cost = sizeof(Entry) + kEntryOverhead + font.face.capacity() * sizeof(char16_t) +
                        ExtraBytes(value);
    shard.recent.push_front(Entry{font, ch, hash, value, cost});
    Entry& entry = shard.recent.front();
    shard.index.emplace(Ref{&entry.font, ch, hash}, shard.recent.begin());
    shard.bytes += cost;
    // The newest entry stays even when it alone is over the budget.
    while (shard.bytes > shard_budget_ && shard.recent.size() > 1) {
      const Entry& oldest = shard.recent.back();
      shard.index.erase(Ref{&oldest.font, oldest.ch, oldest.hash});
      shard.bytes -= oldest.cost;
      shard.recent.pop_back();
    }
  }

  size_t shard_budget_;
  std::array<Shard, kShards> shards_;
};

GlyphCache::GlyphCache(std::unique_ptr<GlyphRasterizer> backend, size_t mask_budget,
                       size_t extent_budget)
    : backend_(std::move(backend)),
      masks_(std::make_unique<Table<GlyphMask>>(mask_budget)),
      extents_(std::make_unique<Table<TextExtent>>(extent_budget)) {}

GlyphCache::~GlyphCache() = default;

GlyphMask GlyphCache::Rasterize(const FontDescription& font, char32_t ch) {
  return masks_->Get(font, ch, backend_mutex_, [&] { return backend_->Rasterize(font, ch); });
}

TextExtent GlyphCache::Measure(const FontDescription& font, char32_t ch) {
  return extents_->Get(font, ch, backend_mutex_, [&] { return backend_->Measure(font, ch); });
}

}  // namespace vardo
