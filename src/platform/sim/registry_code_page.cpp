#include "platform/sim/registry_code_page.h"

#include <iconv.h>
#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/sim/dependent_list.h"

namespace px::sim {

namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes without a character map to the C1 controls
// of the same number, as MultiByteToWideChar gives them.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Decode1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? k1252High[byte - 0x80] : char16_t{byte};
}

char Encode1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const auto* at = std::find(k1252High.begin(), k1252High.end(), c);
  return at == k1252High.end() ? '?' : static_cast<char>(0x80 + (at - k1252High.begin()));
}

}  // namespace

struct CodePage::Iconv {
  iconv_t encode = reinterpret_cast<iconv_t>(-1);  // UTF-16LE to the code page
  iconv_t decode = reinterpret_cast<iconv_t>(-1);  // the code page to UTF-16LE
  ~Iconv() {
    if (encode != reinterpret_cast<iconv_t>(-1)) iconv_close(encode);
    if (decode != reinterpret_cast<iconv_t>(-1)) iconv_close(decode);
  }
};

CodePage::CodePage(unsigned number) : number_(number) {
  if (number == 1252) return;
  iconv_ = std::make_unique<Iconv>();
  // 65001 is the code page of the locales Windows gives no ANSI code page of their own.
  const std::string name = number == 65001 ? "UTF-8" : "CP" + std::to_string(number);
  iconv_->encode = iconv_open(name.c_str(), "UTF-16LE");
  iconv_->decode = iconv_open("UTF-16LE", name.c_str());
  if (iconv_->encode == reinterpret_cast<iconv_t>(-1) ||
      iconv_->decode == reinterpret_cast<iconv_t>(-1)) {
    throw MachineError("code page " + std::to_string(number) + " is not supported");
  }
}

CodePage::~CodePage() = default;
CodePage::CodePage(CodePage&&) noexcept = default;
CodePage& CodePage::operator=(CodePage&&) noexcept = default;

std::string CodePage::Encode(TextView text) const {
  // Every ANSI code page of Windows keeps ASCII as it is; registry names nearly always are.
  // One pass without an early exit, so that the compiler can vectorise it.
  std::string out(text.size(), '\0');
  char* to = out.data();
  char16_t all = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    all |= text[i];
    to[i] = static_cast<char>(text[i]);
  }
  if (all < 0x80) return out;
  out.clear();
  if (!iconv_) {
    out.reserve(text.size());
    for (char16_t c : text) out += Encode1252(c);
    return out;
  }
  iconv(iconv_->encode, nullptr, nullptr, nullptr, nullptr);
  std::string in;
  in.reserve(text.size() * 2);
  for (char16_t c : text) {
    in += static_cast<char>(c & 0xFF);
    in += static_cast<char>(c >> 8);
  }
  char* in_at = in.data();
  std::size_t in_left = in.size();
  while (in_left > 0) {
    char chunk[256];
    char* out_at = chunk;
    std::size_t out_left = sizeof chunk;
    const std::size_t done = iconv(iconv_->encode, &in_at, &in_left, &out_at, &out_left);
    out.append(chunk, out_at);
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // A character the code page lacks, an unpaired surrogate, or half a character at the end.
    out += '?';
    const auto unit = static_cast<unsigned char>(in_at[1]);
    const bool pair = unit >= 0xD8 && unit <= 0xDB && in_left >= 4 &&
                      static_cast<unsigned char>(in_at[3]) >= 0xDC &&
                      static_cast<unsigned char>(in_at[3]) <= 0xDF;
    const std::size_t skip = std::min<std::size_t>(in_left, pair ? 4 : 2);
    in_at += skip;
    in_left -= skip;
  }
  return out;
}

Text CodePage::Decode(std::string_view bytes) const {
  Text out(bytes.size(), u'\0');
  char16_t* to = out.data();
  unsigned char all = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    all |= byte;
    to[i] = byte;
  }
  if (all < 0x80) return out;
  out.clear();
  if (!iconv_) {
    for (char c : bytes) out += Decode1252(static_cast<unsigned char>(c));
    return out;
  }
  iconv(iconv_->decode, nullptr, nullptr, nullptr, nullptr);
  std::string in(bytes);
  char* in_at = in.data();
  std::size_t in_left = in.size();
  while (in_left > 0) {
    char chunk[512];
    char* out_at = chunk;
    std::size_t out_left = sizeof chunk;
    const std::size_t done = iconv(iconv_->decode, &in_at, &in_left, &out_at, &out_left);
    for (const char* p = chunk; p + 1 < out_at; p += 2) {
      out += static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                   (static_cast<unsigned char>(p[1]) << 8));
    }
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // No character of the code page starts here, or a lead byte ends the text.
    out += u'?';
    ++in_at;
    --in_left;
  }
  return out;
}

}  // namespace px::sim
