// The face names that drawings use, matched to installed font files through fontconfig.
#include <fontconfig/fontconfig.h>

#include <initializer_list>
#include <memory>
#include <span>

#include "document/text_codec.h"
#include "render/font_match.h"

namespace vardo {
namespace {

// Full-width Latin as ASCII and ASCII in lower case, so "ＭＳ Ｐ明朝" and "ms p明朝" compare equal.
std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) {
    if (c >= u'\uFF01' && c <= u'\uFF5E') c = static_cast<char16_t>(c - 0xFEE0);
    if (c == u'\u3000') c = u' ';
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return folded;
}

bool Contains(std::u16string_view text, std::initializer_list<std::u16string_view> parts) {
  for (const std::u16string_view part : parts)
    if (text.find(part) != std::u16string_view::npos) return true;
  return false;
}

// Installed Japanese families of each class, best first; the generic family last lets
// fontconfig's own choice for Japanese stand in when none of them is installed.
std::span<const char* const> Families(FaceClass c) {
  static constexpr const char* kGothic[] = {"IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP",
                                            "VL Gothic", "TakaoGothic", "monospace"};
  static constexpr const char* kPGothic[] = {"IPAPGothic", "IPAexGothic",  "Noto Sans CJK JP",
                                             "VL PGothic", "TakaoPGothic", "sans-serif"};
  static constexpr const char* kMincho[] = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP",
                                            "TakaoMincho", "serif"};
  static constexpr const char* kPMincho[] = {"IPAPMincho", "IPAexMincho", "Noto Serif CJK JP",
                                             "TakaoPMincho", "serif"};
  if (c.mincho) return c.proportional ? kPMincho : kMincho;
  return c.proportional ? kPGothic : kGothic;
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

Pattern Request(std::span<const char* const> families, bool bold, bool italic) {
  Pattern p(FcPatternCreate());
  for (const char* family : families)
    FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddString(p.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddInteger(p.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p.get(), FC_SCALABLE, FcTrue);
  return p;
}

Pattern BestMatch(FcConfig* config, FcPattern* request) {
  FcConfigSubstitute(config, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result = FcResultNoMatch;
  return Pattern(FcFontMatch(config, request, &result));
}

bool HasFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
      return true;
  }
  return false;
}

bool ToFontFile(FcPattern* match, FontFile& file) {
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return false;
  int index = 0;
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  file.path = reinterpret_cast<const char*>(path);
  file.index = index;
  return true;
}

}  // namespace

FaceClass ClassifyFace(std::u16string_view name) {
  const std::u16string f = Folded(name);
  FaceClass c;
  c.mincho = Contains(f, {u"明", u"楷", u"教科書", u"mincho"}) ||
             (Contains(f, {u"serif"}) && !Contains(f, {u"sans"}));
  c.proportional =
      Contains(f, {u"pゴシック", u"p明朝", u"pgothic", u"pmincho", u"ui gothic", u"uiゴシック",
                   u"メイリオ", u"meiryo", u"游", u"yu gothic", u"yu mincho"}) ||
      f.starts_with(u"hgp") || f.starts_with(u"hgs");
  return c;
}

// A configuration of our own rather than the process's current one, which fontconfig keeps until
// the process ends.
FontMatcher::FontMatcher() : config_(FcInitLoadConfigAndFonts()) {}

FontMatcher::~FontMatcher() {
  if (config_) FcConfigDestroy(config_);
}

std::vector<FontFile> FontMatcher::Match(std::u16string_view face, bool bold, bool italic) {
  std::vector<FontFile> files;
  if (!config_) return files;
  std::string family;
  EncodeUtf8(face, family);
  if (!family.empty()) {
    const char* const named[] = {family.c_str()};
    Pattern request = Request(named, bold, italic);
    Pattern match = BestMatch(config_, request.get());
    FontFile file;
    if (match && HasFamily(match.get(), family) && ToFontFile(match.get(), file))
      files.push_back(file);
  }
  Pattern request = Request(Families(ClassifyFace(face)), bold, italic);
  Pattern match = BestMatch(config_, request.get());
  FontFile file;
  if (match && ToFontFile(match.get(), file) &&
      (files.empty() || files.front().path != file.path || files.front().index != file.index))
    files.push_back(file);
  return files;
}

}  // namespace vardo
