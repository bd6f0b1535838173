// The face names that drawings use, matched to installed font files through fontconfig.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct _FcConfig;

namespace vardo {

// What a face name says about the face a drawing expects: Gothic (sans) or Mincho (serif), and
// fixed pitch or proportional ("ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic", "HGP..."). Names
// that say nothing are fixed-pitch Gothic, the faces Japanese drawings are made with.
struct FaceClass {
  bool mincho = false;
  bool proportional = false;

  bool operator==(const FaceClass&) const = default;
};
FaceClass ClassifyFace(std::u16string_view name);

// A face of a font file.
struct FontFile {
  std::string path;
  int index = 0;  // face within a collection
};

// Finds the files to draw a face name with. The drawings name Windows faces that are seldom
// installed here, so a name is taken at its word only when fontconfig has a face of exactly that
// family; every name is also given the installed Japanese face of its class, for the characters
// the named face lacks and for when nothing of that name is installed. Bold and italic faces are
// preferred when asked for; whoever draws makes them up where the face found has none.
class FontMatcher {
 public:
  FontMatcher();
  ~FontMatcher();
  FontMatcher(const FontMatcher&) = delete;
  FontMatcher& operator=(const FontMatcher&) = delete;

  // Best first; empty only when fontconfig finds no font at all.
  std::vector<FontFile> Match(std::u16string_view face, bool bold, bool italic);

 private:
  _FcConfig* config_;
};

}  // namespace vardo
