// A cache of glyph masks and measurements in front of a platform rasterizer, shared by threads.
#include "render/glyph_cache.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <list>
#include <optional>
#include <utility>
#include <vector>

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

size_t ExtraBytes(const std::shared_ptr<const GlyphMask>& mask) {
  // The mask with the shared pointer's control block, and its bits.
  return sizeof(GlyphMask) + 16 + mask->bits.capacity();
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
  // What a kept entry costs beyond its value's own heap memory: the list node, its index slots.
  static constexpr size_t kEntryOverhead = 96;

  struct Entry {
    FontDescription font;
    char32_t ch;
    size_t hash;
    size_t cost;
    bool used = false;  // looked up since the eviction last passed it
  };
  // The index: open addressing with linear probing over slots that hold an entry's hash and
  // value beside it, so a lookup reads one slot, and the entry it finds only to confirm the key,
  // instead of a chain of nodes. The low bits of a hash chose the shard; the probe starts from
  // the bits above them.
  struct Slot {
    size_t hash = 0;
    Entry* entry = nullptr;  // none: the slot is free
    Value value{};
  };
  struct Shard {
    std::mutex mutex;
    std::list<Entry> recent;  // newest first, apart from the entries eviction spared
    std::vector<Slot> slots;  // a power of two of them, at most half in use
    size_t used_slots = 0;
    size_t bytes = 0;
  };

  static size_t Home(const Shard& shard, size_t hash) {
    return (hash / kShards) & (shard.slots.size() - 1);
  }

  static Slot* Lookup(Shard& shard, const FontDescription& font, char32_t ch, size_t hash) {
    if (shard.slots.empty()) return nullptr;
    const size_t mask = shard.slots.size() - 1;
    for (size_t i = Home(shard, hash);; i = (i + 1) & mask) {
      Slot& slot = shard.slots[i];
      if (!slot.entry) return nullptr;
      if (slot.hash == hash && slot.entry->ch == ch && slot.entry->font == font) return &slot;
    }
  }

  static void Place(Shard& shard, Slot slot) {
    const size_t mask = shard.slots.size() - 1;
    size_t i = Home(shard, slot.hash);
    while (shard.slots[i].entry)
      i = (i + 1) & mask;
    shard.slots[i] = std::move(slot);
  }

  static void Add(Shard& shard, Slot slot) {
    if (2 * (shard.used_slots + 1) > shard.slots.size()) {
      const size_t size = std::max<size_t>(16, 2 * shard.slots.size());
      std::vector<Slot> old = std::exchange(shard.slots, std::vector<Slot>(size));
      for (Slot& kept : old) {
        if (kept.entry) Place(shard, std::move(kept));
      }
    }
    Place(shard, std::move(slot));
    ++shard.used_slots;
  }

  // Frees the entry's slot and moves up the entries after it that probed past it, so that every
  // entry stays reachable from its home slot without markers for removed ones.
  static void Remove(Shard& shard, const Entry* entry) {
    const size_t mask = shard.slots.size() - 1;
    size_t hole = Home(shard, entry->hash);
    while (shard.slots[hole].entry != entry)
      hole = (hole + 1) & mask;
    for (size_t i = (hole + 1) & mask; shard.slots[i].entry; i = (i + 1) & mask) {
      // The entry at i may fill the hole when the hole lies on its probe path: from its home
      // slot up to i, going round the end.
      const size_t home = Home(shard, shard.slots[i].hash);
      if (((i - home) & mask) >= ((i - hole) & mask)) {
        shard.slots[hole] = std::move(shard.slots[i]);
        hole = i;
      }
    }
    shard.slots[hole] = Slot();
    --shard.used_slots;
  }

  static std::optional<Value> Find(Shard& shard, const FontDescription& font, char32_t ch,
                                   size_t hash) {
    const std::lock_guard lock(shard.mutex);
    Slot* slot = Lookup(shard, font, ch, hash);
    if (!slot) return std::nullopt;
    slot->entry->used = true;
    return slot->value;
  }

  void Insert(Shard& shard, const FontDescription& font, char32_t ch, size_t hash,
              const Value& value) {
    const std::lock_guard lock(shard.mutex);
    const size_t cost = sizeof(Entry) + kEntryOverhead + font.face.capacity() * sizeof(char16_t) +
                        ExtraBytes(value);
    shard.recent.push_front(Entry{font, ch, hash, cost});
    Add(shard, Slot{hash, &shard.recent.front(), value});
    shard.bytes += cost;
    // The oldest entry goes, unless it was looked up since it was made or last spared: then it
    // is spared once more and moved to the front (second chance). That keeps what a redraw
    // uses without reordering the list on every lookup. One entry always stays, even when it
    // alone is over the budget.
    while (shard.bytes > shard_budget_ && shard.recent.size() > 1) {
      Entry& oldest = shard.recent.back();
      if (oldest.used) {
        oldest.used = false;
        shard.recent.splice(shard.recent.begin(), shard.recent, std::prev(shard.recent.end()));
        continue;
      }
      Remove(shard, &oldest);
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
      masks_(std::make_unique<Table<std::shared_ptr<const GlyphMask>>>(mask_budget)),
      extents_(std::make_unique<Table<TextExtent>>(extent_budget)) {}

GlyphCache::~GlyphCache() = default;

GlyphMask GlyphCache::Rasterize(const FontDescription& font, char32_t ch) {
  return *SharedMask(font, ch);
}

std::shared_ptr<const GlyphMask> GlyphCache::SharedMask(const FontDescription& font, char32_t ch) {
  return masks_->Get(font, ch, backend_mutex_, [&] { return backend_->SharedMask(font, ch); });
}

TextExtent GlyphCache::Measure(const FontDescription& font, char32_t ch) {
  return extents_->Get(font, ch, backend_mutex_, [&] { return backend_->Measure(font, ch); });
}

}  // namespace vardo
