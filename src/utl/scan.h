// Token scanning of cleaned text lines. Columns are counted from 1; a scan
// position past the last column (n + 1) means the line is used up.
// Status: -1 nothing found, 0 success, > 0 a token that is not a valid number.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vadz {

// Next blank-separated token from column `start`; a token may be wrapped in
// double quotes to hold blanks. The whole token is returned (never cut).
std::string charin(std::string_view line, int start, int& pos, int& status);
int32_t intin(std::string_view line, int start, int& pos, int& status);
double realin(std::string_view line, int start, int& pos, int& status);
// Skips blanks from pos; true when nothing is left.
bool eol(std::string_view line, int& pos);

// The column where the token ending just before column pos starts (the
// token last scanned), or pos itself when a blank or the line end is there.
int token_start(std::string_view line, int pos);

// Bytes outside 32..126 become blanks. Returns 1 for a comment ("#" in
// column 1), -1 for a blank line, 0 otherwise.
int linefix(std::string& line);

int length(std::string_view text);   // last non-blank column, at least 1
int length0(std::string_view text);  // last non-blank column, 0 when blank
void uppercase(std::string& text);
// The text with its trailing blanks removed (may be empty).
std::string_view rtrim(std::string_view text);

// Number forms of the scanners, applied to a whole token (no blanks).
// parse_real: optional sign, digits with at most one point, optional exponent
// (E, D or Q in either case, or a bare sign: 1.5+3 is 1500), Inf, Infinity, NaN.
bool parse_real(std::string_view token, double& value);
// parse_int: optional sign and decimal digits within the 32-bit range.
bool parse_int(std::string_view token, int32_t& value);

}  // namespace vadz
