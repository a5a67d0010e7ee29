#include "utl/scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace vadz {
namespace {

struct Tok {
  std::string text;
  int pos;
  int status;
};

Tok char_at(const std::string& line, int start) {
  Tok t;
  t.text = charin(line, start, t.pos, t.status);
  return t;
}

TEST(ScanTest, Charin) {
  struct Case { std::string line; int start; std::string text; int pos; int status; } cases[] = {
      {"    ", 1, "", 5, -1},
      {"", 1, "", 1, -1},
      {"ab\"cd ef", 1, "ab\"cd", 6, 0},
      {"  \"a b\"c", 1, "a b", 8, 0},
      {"\"\" x", 1, "", 3, 0},
      {"x \"open ended", 2, "", 14, -1},
      {"WELL  out.wel  ", 5, "out.wel", 14, 0},
      {"last", 1, "last", 5, 0},
  };
  for (const auto& c : cases) {
    Tok t = char_at(c.line, c.start);
    EXPECT_EQ(t.text, c.text) << c.line;
    EXPECT_EQ(t.pos, c.pos) << c.line;
    EXPECT_EQ(t.status, c.status) << c.line;
  }
  // A token glued to a closing quote is the next token.
  Tok a = char_at("\"a\"b c", 1);
  Tok b = char_at("\"a\"b c", a.pos);
  EXPECT_EQ(b.text, "b");
  // Tokens are never cut.
  std::string longtok(300, 'x');
  EXPECT_EQ(char_at(longtok, 1).text.size(), 300u);
}

TEST(ScanTest, Intin) {
  struct Case { std::string line; int32_t value; int ok; } cases[] = {
      {"12", 12, 0}, {"-7", -7, 0}, {"+5", 5, 0}, {"3.5", 0, 1}, {"1e3", 0, 1},
      {"12abc", 0, 1}, {"2147483647", 2147483647, 0}, {"-2147483648", -2147483647 - 1, 0},
      {"2147483648", 0, 1}, {"-", 0, 1}, {"   ", 0, -1},
  };
  for (const auto& c : cases) {
    int pos = 0, st = 0;
    int32_t v = intin(c.line, 1, pos, st);
    EXPECT_EQ(v, c.value) << c.line;
    EXPECT_EQ(st > 0 ? 1 : st, c.ok) << c.line;
  }
}

TEST(ScanTest, Realin) {
  struct Case { std::string line; double value; int ok; } cases[] = {
      {"15", 15.0, 0}, {".5", 0.5, 0}, {"5.", 5.0, 0}, {"1.5e3", 1500.0, 0},
      {"1.5D3", 1500.0, 0}, {"1.5E+03", 1500.0, 0}, {"1.5+3", 1500.0, 0},
      {"1.5q-1", 0.15, 0}, {"-2.5d0", -2.5, 0}, {"+4", 4.0, 0}, {"1,5", 0, 1},
      {"abc", 0, 1}, {"1.2.3", 0, 1}, {".", 0, 1}, {"-", 0, 1}, {"1e", 0, 1},
      {"1e400", 0, 1}, {"1e-400", 0.0, 0}, {"", 0, -1},
      // The field is the token's first 32 characters.
      {"1234567890123456789012345678901234567890", 12345678901234567890123456789012.0, 0},
  };
  for (const auto& c : cases) {
    int pos = 0, st = 0;
    double v = realin(c.line, 1, pos, st);
    EXPECT_EQ(v, c.value) << c.line;
    EXPECT_EQ(st > 0 ? 1 : st, c.ok) << c.line;
  }
  int pos = 0, st = 0;
  EXPECT_TRUE(std::isinf(realin("-Infinity", 1, pos, st)));
  EXPECT_EQ(st, 0);
  EXPECT_TRUE(std::isinf(realin("inf", 1, pos, st)));
  EXPECT_TRUE(std::isnan(realin("NaN", 1, pos, st)));
  EXPECT_EQ(st, 0);
  // A failed conversion leaves pos behind the token.
  realin("  abc def", 1, pos, st);
  EXPECT_EQ(pos, 6);
}

// Tokens far longer than any fixed field: zero padding, long digit runs and
// every exponent form, each read as the correctly rounded value of the same
// number written in C form.
TEST(ScanTest, LongTokensReadExactly) {
  const std::string pi =
      "31415926535897932384626433832795028841971693993751058209749445923078164062862089986280"
      "34825342117067982148086513282306647093844609550582231725359408128481117450284102701938"
      "52110555964462294895493038196442881097566593344612847564823378678316527120190914564856"
      "69234603486104543266482133936072602491412737245870066063155881748815209209628292540917"
      "15364367892590360011330530548820466521384146951941511609433057270365759591953092186117";
  struct Case { std::string tok, c_form; } cases[] = {
      {std::string(78, '0') + "2.5", "2.5"},
      {"-" + std::string(74, '0') + "1.25D2", "-125"},
      {"7." + std::string(76, '0') + "1+3", "7." + std::string(76, '0') + "1e3"},
      {pi.substr(0, 1) + "." + pi.substr(1, 118), pi.substr(0, 1) + "." + pi.substr(1, 118)},
      {"0." + std::string(100, '0') + pi.substr(0, 13) + "q+101",
       "0." + std::string(100, '0') + pi.substr(0, 13) + "e101"},
      {"+" + pi.substr(0, 114) + "E-113", pi.substr(0, 114) + "e-113"},
      {pi.substr(0, 395) + "D-394", pi.substr(0, 395) + "e-394"},
      {std::string(300, '1') + "d-" + std::string(95, '0') + "299", std::string(300, '1') + "e-299"},
      {"1D" + std::string(398, '0'), "1"},
      {"." + std::string(394, '0') + "5+396", "50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tok);
    ASSERT_TRUE(c.tok.size() == 81 || c.tok.size() == 120 || c.tok.size() == 400);
    double v = -1.0;
    ASSERT_TRUE(parse_real(c.tok, v));
    EXPECT_EQ(v, std::strtod(c.c_form.c_str(), nullptr));
  }
  // Long tokens keep the number rules: a second point or a stray letter fails.
  double v = 0.0;
  EXPECT_FALSE(parse_real(std::string(200, '1') + "." + std::string(100, '2') + ".", v));
  EXPECT_FALSE(parse_real(std::string(200, '1') + "D" + std::string(100, '2') + "x", v));
}

TEST(ScanTest, EolAndLinefix) {
  int pos = 3;
  EXPECT_TRUE(eol("ab   ", pos));
  EXPECT_EQ(pos, 6);
  pos = 1;
  EXPECT_FALSE(eol("  x", pos));
  EXPECT_EQ(pos, 3);

  struct Case { std::string in; std::string out; int kind; } cases[] = {
      {"a\tb", "a b", 0}, {"# note", "# note", 1}, {" \t ", "   ", -1},
      {" # x", " # x", 0}, {"", "", -1}, {"x\r", "x ", 0}, {"\x7f\xff" "a", "  a", 0},
  };
  for (auto c : cases) {
    std::string s = c.in;
    EXPECT_EQ(linefix(s), c.kind) << c.in;
    EXPECT_EQ(s, c.out);
  }
}

TEST(ScanTest, LengthAndCase) {
  EXPECT_EQ(length("   "), 1);
  EXPECT_EQ(length0("   "), 0);
  EXPECT_EQ(length("ab  "), 2);
  EXPECT_EQ(length0(""), 0);
  std::string s = "abz{09_\xe9";
  uppercase(s);
  EXPECT_EQ(s, "ABZ{09_\xe9");
}

}  // namespace
}  // namespace vadz
