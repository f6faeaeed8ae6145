// Finding the font file for a face name of the project. Projects name Windows faces; on Debian the
// IPA fonts stand in for the Gothic and Mincho faces, and anything else gets the installed font
// fontconfig ranks best for the name among those that cover Japanese.
#include <fontconfig/fontconfig.h>

#include <mutex>

#include "platform/host/glyphs.h"
#include "platform/host/text_codec.h"

namespace {

struct sFaceAlias {
  const char* face;    // the Windows name, as the project stores it (written here as UTF-8)
  const char* family;  // the Debian family that stands in for it
};

// Fixed-pitch Gothic faces become IPAGothic, proportional ones IPAPGothic (the "S" faces, whose
// kana are proportional, count as proportional), Mincho faces the IPA Mincho pair in the same way.
// clang-format off
constexpr sFaceAlias kFaceAliases[] = {
    {"ＭＳ ゴシック",        "IPAGothic"},
    {"MS Gothic",            "IPAGothic"},
    {"ＭＳ Ｐゴシック",      "IPAPGothic"},
    {"MS PGothic",           "IPAPGothic"},
    {"MS UI Gothic",         "IPAPGothic"},
    {"メイリオ",             "IPAPGothic"},
    {"HGｺﾞｼｯｸE",             "IPAGothic"},
    {"HGPｺﾞｼｯｸE",            "IPAPGothic"},
    {"HGSｺﾞｼｯｸE",            "IPAPGothic"},
    {"HGｺﾞｼｯｸM",             "IPAGothic"},
    {"HGPｺﾞｼｯｸM",            "IPAPGothic"},
    {"HGSｺﾞｼｯｸM",            "IPAPGothic"},
    {"HG丸ｺﾞｼｯｸM-PRO",       "IPAGothic"},
    {"HG創英角ｺﾞｼｯｸUB",      "IPAGothic"},
    {"HGP創英角ｺﾞｼｯｸUB",     "IPAPGothic"},
    {"HGS創英角ｺﾞｼｯｸUB",     "IPAPGothic"},
    {"ＭＳ 明朝",            "IPAMincho"},
    {"MS Mincho",            "IPAMincho"},
    {"ＭＳ Ｐ明朝",          "IPAPMincho"},
    {"MS PMincho",           "IPAPMincho"},
    {"HG明朝B",              "IPAMincho"},
    {"HGP明朝B",             "IPAPMincho"},
    {"HGS明朝B",             "IPAPMincho"},
    {"HG明朝E",              "IPAMincho"},
    {"HGP明朝E",             "IPAPMincho"},
    {"HGS明朝E",             "IPAPMincho"},
};
// clang-format on

std::mutex s_Lock;  // fontconfig is not to be called from two threads at once
std::filesystem::path s_Override;

// An owned fontconfig object.
template <typename T, void (*Destroy)(T*)>
struct sFcOwned {
  T* p = nullptr;
  explicit sFcOwned(T* object) : p(object) {}
  ~sFcOwned() {
    if (p) Destroy(p);
  }
  sFcOwned(const sFcOwned&) = delete;
  sFcOwned& operator=(const sFcOwned&) = delete;
};
using sPattern = sFcOwned<FcPattern, FcPatternDestroy>;
using sFontSet = sFcOwned<FcFontSet, FcFontSetDestroy>;

std::optional<FontFile> FileOf(FcPattern* font) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
  FontFile out;
  out.path = reinterpret_cast<const char*>(file);
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
  FcChar8* family = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family)
    out.family = reinterpret_cast<const char*>(family);
  return out;
}

bool CoversJapanese(FcPattern* font) {
  FcLangSet* langs = nullptr;
  if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch || !langs) return false;
  return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

bool HasFamily(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (name && FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) return true;
  return false;
}

// The installed fonts for a family name, best first, as fontconfig ranks them for Japanese text;
// the first that is the family itself and covers Japanese, else the first that covers Japanese
// (Windows, too, draws Japanese with a Japanese face whatever face was asked for), else the first.
std::optional<FontFile> BestJapaneseFont(const std::string& familyUtf8) {
  if (!FcInit()) return std::nullopt;
  sPattern pattern(FcPatternCreate());
  if (!pattern.p) return std::nullopt;
  FcPatternAddString(pattern.p, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
  FcPatternAddString(pattern.p, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern.p, FcMatchPattern);
  FcDefaultSubstitute(pattern.p);
  FcResult result = FcResultNoMatch;
  sFontSet fonts(FcFontSort(nullptr, pattern.p, FcFalse, nullptr, &result));
  if (!fonts.p || fonts.p->nfont == 0) return std::nullopt;
  FcPattern* chosen = nullptr;
  for (int i = 0; i < fonts.p->nfont && !chosen; ++i)
    if (HasFamily(fonts.p->fonts[i], familyUtf8) && CoversJapanese(fonts.p->fonts[i])) chosen = fonts.p->fonts[i];
  for (int i = 0; i < fonts.p->nfont && !chosen; ++i)
    if (CoversJapanese(fonts.p->fonts[i])) chosen = fonts.p->fonts[i];
  return FileOf(chosen ? chosen : fonts.p->fonts[0]);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// fontconfig's configuration reader loses a few bytes, once, while it parses the system's font
// configuration; the leak checker of sanitizer builds is told, so that it still catches ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

std::optional<std::string> AliasedFontFamily(const std::string& faceName) {
  for (const sFaceAlias& alias : kFaceAliases)
    if (faceName == SJ(alias.face)) return std::string(alias.family);
  return std::nullopt;
}

void SetFontFileOverride(const std::filesystem::path& file) {
  std::lock_guard lock(s_Lock);
  s_Override = file;
}

std::optional<FontFile> FindFontFile(const std::string& faceName) {
  std::lock_guard lock(s_Lock);
  if (!s_Override.empty()) return FontFile{s_Override, 0, s_Override.stem().string(), false};
  if (std::optional<std::string> family = AliasedFontFamily(faceName)) return BestJapaneseFont(*family);
  std::optional<FontFile> file = BestJapaneseFont(Cp932ToUtf8(faceName));
  if (file) file->fallback = true;
  return file;
}
