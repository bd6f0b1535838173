// A spatial index over what each entity draws: which entities can touch a rectangle of the
// drawing, found without walking the tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "document/model.h"

namespace vardo {

// The entity tables the renderer draws, in the order its passes first reach them (texts come
// first for their images and again for their characters). Block inserts are never drawn.
enum EntityTable : int {
  kTableText,
  kTableSld2,
  kTableSld3,
  kTableSld4,
  kTableSldC,
  kTableSldE,
  kTableSldO,
  kTableSldG,
  kTableLine,
  kTableCirc,
  kTableArc,
  kTablePnt,
  kTableMark,
  kTableDim,
  kEntityTables
};

// A rectangle in drawing coordinates, edges included.
struct DrawRect {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// Pixels an entity may draw beyond its box: the rounding of the pixel mapping, the one-pixel
// least radius of a point, half of the three-pixel text baseline. A query for what a surface
// shows grows its rectangle by this many pixels.
constexpr double kEntityMarginPixels = 4;

// The drawing-coordinate rectangle of rows row0 .. row1 - 1 and every column of a surface
// width pixels wide in the view, grown by kEntityMarginPixels: every entity that can set a
// pixel there has a box meeting it. False when the view has no usable scale (nothing can be
// ruled out then).
bool SurfaceRect(const ViewState& view, int width, int row0, int row1, DrawRect& rect);

// One entity: its table and its index there.
struct EntityRef {
  EntityTable table = kTableText;
  size_t index = 0;
};

// The entities a query found, table by table.
class EntitySet {
 public:
  bool Contains(EntityTable t, size_t i) const {
    const std::vector<uint64_t>& bits = bits_[t];
    return i / 64 < bits.size() && ((bits[i / 64] >> (i % 64)) & 1) != 0;
  }
  // Calls visit(i) for every index i of table t found, in increasing order; stops early and
  // returns false as soon as visit returns false.
  template <typename Visit>
  bool ForEach(EntityTable t, Visit&& visit) const {
    const std::vector<uint64_t>& bits = bits_[t];
    for (size_t w = 0; w < bits.size(); ++w) {
      for (uint64_t word = bits[w]; word != 0; word &= word - 1) {
        if (!visit(w * 64 + static_cast<size_t>(__builtin_ctzll(word)))) return false;
      }
    }
    return true;
  }
  // How many entities were found.
  size_t Count() const;

 private:
  friend class EntityIndex;
  void Reset(const std::array<size_t, kEntityTables>& sizes);
  void Add(int table, size_t i) { bits_[table][i / 64] |= uint64_t{1} << (i % 64); }

  std::array<std::vector<uint64_t>, kEntityTables> bits_;
};

// Boxes, in drawing coordinates (stored coordinates divided by the layer group's scale,
// TJGdata::ScaleOf), round everything each entity draws with the display attributes given:
// its lines, chords, rings, point and mark figures, image rectangles, and for texts every
// character and the baseline its size guard draws. What depends on pixels is left to the
// query's margin (kEntityMarginPixels). An entity that draws nothing has no box and is never
// found; one whose extent cannot be bounded (coordinates beyond the range of doubles, texts
// whose content a substitution code replaces) is found by every query.
//
// The owner builds the index once the document is read and calls Update whenever entities are
// appended to or removed from the ends of tables (the hatch lines): entities are never changed
// in place. Queries answer for the tables as the last Build or Update saw them.
class EntityIndex {
 public:
  void Build(const TJGdata& doc, const TgraAttribute& attr);
  // Takes in the entities appended since the last Build or Update and forgets the removed
  // ones; rebuilds when the additions have grown large.
  void Update(const TJGdata& doc, const TgraAttribute& attr);
  // Every entity whose box meets rect (edges included), table by table in table order.
  void Query(const DrawRect& rect, EntitySet& found) const;
  // The same entities as a list, in no particular order (replacing found's content): for small
  // rectangles, where a set over every table would cost more than the search.
  void Query(const DrawRect& rect, std::vector<EntityRef>& found) const;

  // How many entities of a table the last Build or Update saw.
  size_t Seen(EntityTable t) const { return sizes_[t]; }
  // For a caller that keeps something per entity from one Update to a later one: Mark() names
  // this moment, and KeptSince(t, mark, size) tells how many of table t's first entities are
  // still the ones it held at mark, when it held size then. Removals since take the count
  // down to the shortest length the table reached; a Build takes it to 0.
  uint64_t Mark() const { return clock_; }
  size_t KeptSince(EntityTable t, uint64_t mark, size_t size) const;

 private:
  struct Box {
    float x0, y0, x1, y1;
  };
  struct Extra {
    int table;
    size_t index;
    Box box;
  };
  void BuildTree(const TJGdata& doc, const TgraAttribute& attr);
  void AddExtras(const TJGdata& doc, const TgraAttribute& attr, int table, size_t from, size_t to);
  // Calls found(table, index) for every entity whose box meets rect.
  template <typename Found>
  void Search(const DrawRect& rect, Found&& found) const;

  // The packed tree: level 0 holds the entities' boxes sorted along a Hilbert curve, each
  // further level one box per kNodeSize boxes of the level below. Level l starts at
  // level_start_[l] in boxes_; level 0's entries name their entity in ids_ (table in the top
  // bits, index in the rest).
  std::vector<Box> boxes_;
  std::vector<uint32_t> ids_;
  std::vector<size_t> level_start_;
  // Per table: its size as last seen; the indices below tree_live_ are the tree's, the ones
  // from there on are in extras_ (hatch lines added after the build, entries removed and
  // added again).
  std::array<size_t, kEntityTables> sizes_{};
  std::array<size_t, kEntityTables> tree_live_{};
  std::vector<Extra> extras_;
  // The history KeptSince reads: a clock that moves on with every Build and every removal,
  // when the last Build was, and each removal's table and what it left.
  struct Cut {
    uint64_t when;
    int table;
    size_t kept;
  };
  uint64_t clock_ = 0, built_ = 0;
  std::vector<Cut> cuts_;
};

}  // namespace vardo
