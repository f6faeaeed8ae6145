#include "platform/host/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <mutex>

namespace {

// "CP932", not "SHIFT_JIS": glibc's Shift-JIS turns 0x5C into the yen sign and 0x7E into the
// overline, and the game's paths are full of 0x5C separators.
constexpr const char* kCodePage = "CP932";

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kCp932Replacement = "?";

constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// One iconv descriptor, opened once per thread: file names are converted on every open, and
// iconv_open reads the gconv configuration each time.
class cIconv {
 public:
  cIconv(const char* to, const char* from) : m_Handle(iconv_open(to, from)) {}
  ~cIconv() {
    if (Ok()) iconv_close(m_Handle);
  }
  cIconv(const cIconv&) = delete;
  cIconv& operator=(const cIconv&) = delete;

  bool Ok() const { return m_Handle != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return m_Handle; }

 private:
  iconv_t m_Handle;
};

cIconv& Decoder() {
  thread_local cIconv decoder("UTF-8", kCodePage);
  return decoder;
}

cIconv& Encoder() {
  thread_local cIconv encoder(kCodePage, "UTF-8");
  return encoder;
}

// How many bytes one bad character takes. In code page 932 a lead byte with a trail byte is one
// character even when it has no code, so an unassigned code gives one replacement, not a
// replacement and a stray ASCII letter from its trail byte.
std::size_t BadCp932Length(std::string_view rest) {
  if (rest.size() >= 2 && IsLeadByte(static_cast<unsigned char>(rest[0])) &&
      IsTrailByte(static_cast<unsigned char>(rest[1])))
    return 2;
  return 1;
}

// In UTF-8 a character without a code page 932 code is skipped whole; a broken sequence is skipped
// as far as it looks like one character (its lead byte and the continuation bytes that follow).
std::size_t BadUtf8Length(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  std::size_t expected = 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    expected = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    expected = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    expected = 4;
  std::size_t length = 1;
  while (length < expected && length < rest.size() && (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80)
    ++length;
  return length;
}

// Converts text with converter into out. A bad character either stops the conversion (strict) or
// is replaced and skipped. Returns false when some character did not convert.
bool Convert(cIconv& converter, std::string_view text, std::string& out, bool strict, std::string_view replacement,
             std::size_t (*badLength)(std::string_view)) {
  out.clear();
  if (!converter.Ok()) {
    // Without the gconv modules only ASCII is known to be the same on both sides.
    bool clean = true;
    for (std::size_t i = 0; i < text.size();) {
      if (static_cast<unsigned char>(text[i]) < 0x80) {
        out += text[i++];
        continue;
      }
      if (strict) return false;
      clean = false;
      out += replacement;
      i += badLength(text.substr(i));
    }
    return clean;
  }

  iconv_t handle = converter.Get();
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());  // iconv's signature; it does not write the input
  std::size_t inLeft = text.size();
  bool clean = true;
  char buffer[512];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ (no code), EINVAL (cut off at the end) or anything else: the bytes at in do not
    // convert. Skipping at least one byte keeps the loop going forward whatever iconv says.
    if (strict) return false;
    clean = false;
    out += replacement;
    const std::size_t skip = std::min(inLeft, std::max<std::size_t>(1, badLength(std::string_view(in, inLeft))));
    in += skip;
    inLeft -= skip;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  return clean;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view text) {
  std::string out;
  Convert(Decoder(), text, out, false, kUtf8Replacement, BadCp932Length);
  return out;
}

std::string Utf8ToCp932(std::string_view text) {
  std::string out;
  Convert(Encoder(), text, out, false, kCp932Replacement, BadUtf8Length);
  return out;
}

bool TryCp932ToUtf8(std::string_view text, std::string& out) {
  return Convert(Decoder(), text, out, true, kUtf8Replacement, BadCp932Length);
}

bool TryUtf8ToCp932(std::string_view text, std::string& out) {
  return Convert(Encoder(), text, out, true, kCp932Replacement, BadUtf8Length);
}

const std::string& SJ(const char* utf8) {
  // Never destroyed: a reference handed out must outlive every static that holds it, and the
  // map's nodes do not move when it grows.
  struct sCache {
    std::mutex lock;
    std::map<std::string, std::string, std::less<>> texts;
  };
  static sCache* cache = new sCache;

  const std::string_view key = utf8 != nullptr ? std::string_view(utf8) : std::string_view();
  std::lock_guard guard(cache->lock);
  auto found = cache->texts.find(key);
  if (found == cache->texts.end()) found = cache->texts.emplace(std::string(key), Utf8ToCp932(key)).first;
  return found->second;
}
