// Cell: the 16 x 16 one-bit pictures the generator fits, compares and draws.
#pragma once

#include <array>
#include <cstdint>

namespace runeplate::fontgen {

// A 16 x 16 one-bit picture, four rows per 64-bit word so that whole-picture
// operations are a handful of word operations. Row y sits in bits
// 16(y mod 4)..16(y mod 4) + 15 of Word[y / 4]; pixel x is bit 15 - x of its
// row, as in a Unifont hex row.
struct TCell {
  uint64_t Word[4] = {0, 0, 0, 0};

  uint16_t Row(int y) const { return static_cast<uint16_t>(Word[y >> 2] >> ((y & 3) * 16)); }
  void SetRow(int y, uint16_t bits);
  bool Pixel(int x, int y) const { return (Row(y) >> (15 - x)) & 1; }
  void SetPixel(int x, int y, bool ink);
  int PopCount() const;
  bool IsEmpty() const { return (Word[0] | Word[1] | Word[2] | Word[3]) == 0; }
  // Every pixel of this picture is set in Other as well.
  bool IsSubsetOf(const TCell& other) const;

  friend TCell operator|(const TCell& a, const TCell& b);
  friend TCell operator&(const TCell& a, const TCell& b);
  friend TCell operator^(const TCell& a, const TCell& b);
  // Pixels of A that are clear in B.
  friend TCell AndNot(const TCell& a, const TCell& b);
  friend bool operator==(const TCell& a, const TCell& b);
  friend bool operator!=(const TCell& a, const TCell& b) { return !(a == b); }
};

// Number of pixels in which two pictures differ.
int DiffCount(const TCell& a, const TCell& b);

// Builds a picture from 16 strings of 16 characters, '#' for ink and anything
// else for background (the form of the hand-fix table). Throws
// std::invalid_argument on a wrong number or length of rows.
TCell CellFromPicture(const std::array<const char*, 16>& rows);

// Pixels by bit index, w * 64 + b for bit b of Word[w], for loops that visit
// only the set pixels.
inline bool HasBit(const TCell& cell, int index) { return (cell.Word[index >> 6] >> (index & 63)) & 1; }
inline void ClearBit(TCell& cell, int index) { cell.Word[index >> 6] &= ~(uint64_t{1} << (index & 63)); }
inline void SetBit(TCell& cell, int index) { cell.Word[index >> 6] |= uint64_t{1} << (index & 63); }

// Calls Visit with the index of every set pixel of Cell, in index order.
template <typename TVisit>
void ForEachBit(const TCell& cell, TVisit visit) {
  for (int w = 0; w < 4; ++w)
    for (uint64_t bits = cell.Word[w]; bits != 0; bits &= bits - 1) visit(w * 64 + __builtin_ctzll(bits));
}

}  // namespace runeplate::fontgen
