#include "display_text.h"

namespace {

// Bytes that Windows-1252 leaves without a visible character are shown as
// the glyphs the PC's code page 437 gives their control codes (which the
// windows' fonts have; where code page 437 uses a character that another
// byte stands for, a shape of its own), so that every byte stands for one
// visible character of its own and none can hide, break a line or turn up
// as an empty box.
constexpr char16_t kControls[32] = {
    0x2580, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x25CF,
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x25A0, 0x25AB, 0x25AC, 0x21A8,
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
constexpr char16_t kDelete = 0x2302;  // code page 437's house for 0x7F

// Windows-1252 from 0x80 to 0x9F; its five unassigned bytes are shown as
// shades and blocks.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x2591, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x2592, 0x017D, 0x2593,
    0x2588, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x258C, 0x017E, 0x0178,
};
constexpr char16_t kNoBreakSpace = 0x25E6;  // not to be taken for a blank
constexpr char16_t kSoftHyphen = 0x2010;    // drawn, unlike a soft hyphen

char16_t Character(unsigned char b) {
  if (b < 0x20) return kControls[b];
  if (b == 0x7F) return kDelete;
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
  if (b == 0xA0) return kNoBreakSpace;
  if (b == 0xAD) return kSoftHyphen;
  return b;  // ASCII and Latin-1 agree with Windows-1252 here
}

}  // namespace

QString DisplayText(const std::string& bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    text.append(QChar(Character(static_cast<unsigned char>(c))));
  }
  return text;
}

std::string FromDisplayText(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    char byte = '?';
    for (int b = 0; b < 256; ++b) {
      if (Character(static_cast<unsigned char>(b)) == c.unicode()) {
        byte = static_cast<char>(b);
        break;
      }
    }
    bytes.push_back(byte);
  }
  return bytes;
}
