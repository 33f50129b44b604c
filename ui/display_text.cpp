#include "display_text.h"

namespace {

// Windows-1252 from 0x80 to 0x9F; the five unassigned bytes show as the
// replacement character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char16_t Character(unsigned char b) {
  if (b < 0x20) return static_cast<char16_t>(0x2400 + b);  // control pictures
  if (b == 0x7F) return 0x2421;                            // DELETE symbol
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
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
