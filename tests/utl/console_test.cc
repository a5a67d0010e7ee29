#include "utl/console.h"

#include <gtest/gtest.h>

#include <string>

namespace vadz {
namespace {

template <class F>
std::string fatal_line(F f) {
  try {
    f();
  } catch (const Fatal& e) {
    return e.line();
  }
  return "no error";
}

TEST(ConsoleTest, ErrorLayouts) {
  EXPECT_EQ(fatal_line([] { error("No SOILs specified  "); }), " No SOILs specified\r\n");
  EXPECT_EQ(fatal_line([] { error("   "); }), "  \r\n");
  EXPECT_EQ(fatal_line([] { error("  lead and  inner"); }), "   lead and  inner\r\n");
  EXPECT_EQ(fatal_line([] { error2("Error opening file", "a.txt" + std::string(250, ' ')); }),
            " Error opening file a.txt\r\n");
  EXPECT_EQ(fatal_line([] { errorint("Invalid FILE extention", 2); }),
            " Invalid FILE extention            2\r\n");
  EXPECT_EQ(fatal_line([] { errorint("x", -2147483647 - 1); }), " x  -2147483648\r\n");
  // Text echoed from input files: control bytes show as '?', UTF-8 stays.
  EXPECT_EQ(fatal_line([] { error2("Error reading file", "a\tb\x1b[0m\x7f\r\xc3\xa9"); }),
            " Error reading file a?b?[0m??\xc3\xa9\r\n");
  EXPECT_EQ(fatal_line([] { errordbl("Negative PPT", -0.25); }),
            " Negative PPT  -0.25000000000000000     \r\n");
}

TEST(ConsoleTest, ItemSeparators) {
  // The terrain warning of row 12, column 34 and a multiplier of 0.
  std::string w = ConsoleLine()
                      .text("WARNING: ")
                      .text("Terrain multiplier error ")
                      .integer(12)
                      .integer(34)
                      .real(0.0)
                      .str();
  EXPECT_EQ(w, " WARNING: Terrain multiplier error           12          34"
               "   0.0000000000000000     \r\n");
  std::string s = ConsoleLine().text("stress multipliers from cmd line: ").text(" ").real(1.0).str();
  EXPECT_EQ(s, " stress multipliers from cmd line:     1.0000000000000000     \r\n");
  std::string g = ConsoleLine().text("GWMASK: ").integer(53790).text(" cells in zone to exclude pumping").str();
  EXPECT_EQ(g, " GWMASK:        53790  cells in zone to exclude pumping\r\n");
}

}  // namespace
}  // namespace vadz

// A stop raised inside a reader's scope carries the innermost place; outside
// any scope it carries none, and the console line is the same either way.
TEST(Diag, StopCarriesInnermostPlace) {
  using namespace vadz;
  try {
    PlaceScope outer([] { return Diag{"a.txt", "", {}, ""}; });
    PlaceScope inner([] { return Diag{text_place("b.txt", 3, 7), "", {}, "check the value"}; });
    error2("Error reading file", "b.txt");
    ADD_FAILURE() << "no stop";
  } catch (const Fatal& f) {
    EXPECT_EQ(f.line(), " Error reading file b.txt\r\n");
    EXPECT_EQ(render(f.place(), "error"),
              "b.txt:3:7: error: Error reading file b.txt\r\nhint: check the value\r\n");
  }
  try {
    error("Negative PPT");
    ADD_FAILURE() << "no stop";
  } catch (const Fatal& f) {
    EXPECT_FALSE(f.has_place());
  }
  // A cause known where the stop is raised adds its hint to the reader's place.
  try {
    PlaceScope reader([] { return Diag{"run.par:4:7", "", {}, ""}; });
    const PlaceScope cause = hint_scope("a relative path");
    error("Error  opening   file x");
    ADD_FAILURE() << "no stop";
  } catch (const Fatal& f) {
    EXPECT_EQ(render(f.place(), "error"),
              "run.par:4:7: error: Error opening file x\r\nhint: a relative path\r\n");
  }
  long line = 0, col = 0;
  line_col("ab\ncd\n", 4, line, col);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(col, 2);
}
