#include "fontgen/Cell.h"

#include <cstring>
#include <stdexcept>

namespace runeplate::fontgen {

void TCell::SetRow(int y, uint16_t bits) {
  const int shift = (y & 3) * 16;
  Word[y >> 2] = (Word[y >> 2] & ~(uint64_t{0xFFFF} << shift)) | (uint64_t{bits} << shift);
}

void TCell::SetPixel(int x, int y, bool ink) {
  const uint16_t mask = static_cast<uint16_t>(1u << (15 - x));
  SetRow(y, ink ? (Row(y) | mask) : (Row(y) & ~mask));
}

int TCell::PopCount() const {
  return __builtin_popcountll(Word[0]) + __builtin_popcountll(Word[1]) +
         __builtin_popcountll(Word[2]) + __builtin_popcountll(Word[3]);
}

bool TCell::IsSubsetOf(const TCell& other) const { return AndNot(*this, other).IsEmpty(); }

TCell operator|(const TCell& a, const TCell& b) {
  return {{a.Word[0] | b.Word[0], a.Word[1] | b.Word[1], a.Word[2] | b.Word[2], a.Word[3] | b.Word[3]}};
}

TCell operator&(const TCell& a, const TCell& b) {
  return {{a.Word[0] & b.Word[0], a.Word[1] & b.Word[1], a.Word[2] & b.Word[2], a.Word[3] & b.Word[3]}};
}

TCell operator^(const TCell& a, const TCell& b) {
  return {{a.Word[0] ^ b.Word[0], a.Word[1] ^ b.Word[1], a.Word[2] ^ b.Word[2], a.Word[3] ^ b.Word[3]}};
}

TCell AndNot(const TCell& a, const TCell& b) {
  return {{a.Word[0] & ~b.Word[0], a.Word[1] & ~b.Word[1], a.Word[2] & ~b.Word[2],
           a.Word[3] & ~b.Word[3]}};
}

bool operator==(const TCell& a, const TCell& b) {
  return a.Word[0] == b.Word[0] && a.Word[1] == b.Word[1] && a.Word[2] == b.Word[2] &&
         a.Word[3] == b.Word[3];
}

int DiffCount(const TCell& a, const TCell& b) { return (a ^ b).PopCount(); }

TCell CellFromPicture(const std::array<const char*, 16>& rows) {
  TCell cell;
  for (int y = 0; y < 16; ++y) {
    if (rows[y] == nullptr || std::strlen(rows[y]) != 16)
      throw std::invalid_argument("a picture row must have 16 characters");
    for (int x = 0; x < 16; ++x) cell.SetPixel(x, y, rows[y][x] == '#');
  }
  return cell;
}

}  // namespace runeplate::fontgen
