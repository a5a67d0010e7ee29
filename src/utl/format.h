// Fixed-field number layouts of every text the program writes. Each writer
// puts exactly `w` characters at `p` and returns p + w; a value too wide for
// its field becomes w asterisks. Rounding is correct rounding of the exact
// binary value, ties to even.
#pragma once
#include <cstdint>

namespace vadz {

// Iw: integer right-aligned.
char* put_int(char* p, int w, int64_t v);
// Iw.w: a non-negative integer filling its field with leading zeros (05).
char* put_int_zero(char* p, int w, int64_t v);
// Fw.d: fixed point, d decimals, a 0 before the point below 1 in magnitude
// (dropped only when the field has no room for it); with d = 0 the number
// ends in its point (268663.). NaN and infinities as words, right-aligned.
char* put_fixed(char* p, int w, int d, double v);
// 1PEw.d: one digit before the point, d decimals, signed two-digit exponent
// ( 3.11131023E-08 for w = 15, d = 8).
char* put_sci(char* p, int w, int d, double v);
// The 25-column real of the console line and of text grid files:
// 17 significant digits, fixed form from 0.1 up to below 1e17 (and for 0)
// right-aligned in 20 columns plus 5 blanks, exponent form (E+ddd) otherwise.
inline constexpr int LISTREAL_WIDTH = 25;
char* put_listreal(char* p, double v);
// Integer of the console line: right-aligned in 11 columns.
inline constexpr int LISTINT_WIDTH = 11;

// Free-width outputs for scripts and other programs (CSV, MODFLOW 6 lists,
// ESRI grids): the shortest decimal that reads back as the same double, no
// padding; NaN as "NaN", infinities as "inf" and "-inf". Writes at most
// SHORTEST_MAX characters and returns the end.
inline constexpr int SHORTEST_MAX = 32;
char* put_shortest(char* p, double v);
// Free-width integer for the same outputs: its digits, a minus where
// negative, no padding. Writes at most 20 characters and returns the end.
char* put_integer(char* p, int64_t v);

// Numbers for reading on a page: fixed point with d decimals (0..9), no
// padding, the integer digits grouped by commas in threes (-1,234,567.8).
// NaN and infinities as put_shortest writes them; magnitudes of 1e30 and
// above in put_shortest's form. Writes at most GROUPED_MAX characters.
inline constexpr int GROUPED_MAX = 56;
char* put_grouped(char* p, int d, double v);

}  // namespace vadz
