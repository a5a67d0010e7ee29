// Inputs and messages as a user meets them: every case runs the built program
// in a fresh folder on a small parameter file and its data files, and compares
// standard output, exit status and written files byte for byte with layouts
// worked out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/testutil.h"

namespace vadz::test {
namespace {

// Right-aligns s in a field of w characters.
std::string rj(const std::string& s, size_t w) {
  return s.size() >= w ? s : std::string(w - s.size(), ' ') + s;
}
// A console line of one text item.
std::string cl(const std::string& s) { return " " + s + "\r\n"; }
// A console line of a message and an integer (the errorint layout).
std::string cl_int(const std::string& s, int v) {
  return " " + s + "  " + rj(std::to_string(v), 11) + "\r\n";
}

const std::string MONTH_LINE = "MONTH 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.05 0.05 0.05 0.05\n";
// One soil; 0 to 64 inches of precipitation give 0 to 8 in/yr of recharge on
// dry land, so recharge is an eighth of precipitation.
const std::string CURVE = "SOIL *\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n" + MONTH_LINE;
const std::string GRIDBASE = CURVE + "PRISM ppt\n";
const std::string PRISM_OUT = " PRISMpath=ppt\r\n";
const std::string NO_WELL = " No well file specified\r\n";
const std::string OK = PRISM_OUT + NO_WELL;

// A zoned flag file: the header line, then 165 lines of 326 one-character zones.
std::string zoned(const std::string& header, const std::function<int(int c, int r)>& f) {
  return header + "\n" + flag_file("", 1, f);
}
int zero(int, int) { return 0; }
// The same file with one character replaced, at row r, column c.
std::string poke(std::string s, size_t header_len, int c, int r, char ch) {
  s[header_len + 1 + static_cast<size_t>(r - 1) * 327 + static_cast<size_t>(c - 1)] = ch;
  return s;
}
// The first n lines of a text.
std::string first_lines(const std::string& s, int n) {
  size_t pos = 0;
  for (int k = 0; k < n; ++k) pos = s.find('\n', pos) + 1;
  return s.substr(0, pos);
}

// A text grid of one value, one row per line.
std::string text_uniform(const std::string& v) {
  std::string row;
  for (int c = 1; c <= 326; ++c) row += (c > 1 ? " " : "") + v;
  std::string s;
  for (int r = 1; r <= 165; ++r) s += row + "\n";
  return s;
}

// A station location file of n stations S1..Sn at distinct points, and the
// matching precipitation header.
std::string locations(int n) {
  std::string s = "name x y\n";
  for (int i = 1; i <= n; ++i)
    s += "S" + std::to_string(i) + " " + std::to_string(300000 + 9000 * i) + " " +
         std::to_string(14200000 + 7000 * (i % 13)) + "\n";
  return s;
}
std::string precip_header(int n) {
  std::string s = "year";
  for (int i = 1; i <= n; ++i) s += " S" + std::to_string(i);
  return s + "\n";
}
// A terrain multiplier file of n distinct locations with multiplier 1.
std::string terrain_points(int n) {
  std::string s = "x y m\n";
  for (int i = 1; i <= n; ++i)
    s += std::to_string(300000 + 9000 * i) + " " + std::to_string(14200000 + 7000 * (i % 13)) +
         " 1\n";
  return s;
}
// A FUNCTION block of n data lines at P = 0, 1, 2, ...
std::string fn_lines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::to_string(i) + " 0 0\n";
  return s;
}

using Files = std::vector<std::pair<std::string, std::string>>;

struct Case {
  const char* name;
  Files files;
  std::string params;
  std::string want;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// Files that many cases name; each is written only when the parameter file
// mentions it.
const Files& common_files() {
  static const Files f = {
      {"loc1.txt", "name x y\nS1 500000 14500000\n"},
      {"pp1.txt", "year S1\n1990 20\n"},
      {"loc2.txt", "name x y\nS1 500000 14500000\nS2 600000 14600000\n"},
      {"m1.txt", "x y m\n1000000 14500000 0.5\n"},
      {"s2.txt", zoned("sand clay", [](int c, int) { return c <= 163 ? 1 : 2; })},
      {"tz2.txt", zoned("lo hi", [](int c, int) { return c <= 163 ? 1 : 2; })},
  };
  return f;
}

class InputE2E : public ::testing::TestWithParam<Case> {};

TEST_P(InputE2E, StandardOutput) {
  const Case& c = GetParam();
  TempDir dir;
  for (const auto& [name, content] : common_files())
    if (c.params.find(name) != std::string::npos) write_file(dir / name, content);
  for (const auto& [name, content] : c.files) write_file(dir / name, content);
  write_file(dir / "run.par", c.params);
  // The state groups' data folders, empty: a missing one is warned of.
  for (const char* g : {"co", "ks", "ne"}) std::filesystem::create_directories(dir / g);
  RunResult r = run_vadz(dir.path(), {"run.par"});
  EXPECT_EQ(r.out, c.want);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::stop_record_fault(r), "");
}

const std::string PRE = "SOIL *\n" + MONTH_LINE;
const std::string POST = "PRISM ppt\n";

INSTANTIATE_TEST_SUITE_P(
    Function, InputE2E,
    ::testing::Values(
        Case{"no_name", {}, PRE + "FUNCTION\n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION output file name FUNCTION")},
        Case{"open_quote_name", {}, PRE + "FUNCTION \"t.txt 1\n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION output file name FUNCTION \"t.txt 1")},
        Case{"no_type", {}, PRE + "FUNCTION t.txt\n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION spline type FUNCTION t.txt")},
        Case{"type_3", {}, PRE + "FUNCTION t.txt 3\n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION spline type FUNCTION t.txt 3")},
        Case{"type_real", {}, PRE + "FUNCTION t.txt 1.0\n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION spline type FUNCTION t.txt 1.0")},
        Case{"type_0_lower_case", {}, PRE + "function   t.txt  0   \n0 0 0\n1 1 1\n" + POST,
             cl("Invalid FUNCTION spline type function   t.txt  0")},
        Case{"extra_tokens", {}, PRE + "FUNCTION t.txt 2 more words\n0 0 0\n1 1 1 junk\n" + POST,
             OK},
        Case{"start_not_zero", {}, PRE + "FUNCTION t.txt 1\n0.001 0 0\n1 1 1\n" + POST,
             cl("FUNCTION data must start at zero")},
        Case{"start_checked_before_values", {}, PRE + "FUNCTION t.txt 1\n1 x\n" + POST,
             cl("FUNCTION data must start at zero")},
        Case{"equal_p", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1 1 1\n1 2 2\n" + POST,
             cl("FUNCTION data not monotone increasing")},
        Case{"order_checked_before_values", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n2 1 1\n1 x\n" + POST,
             cl("FUNCTION data not monotone increasing")},
        Case{"value_missing", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1 1\n" + POST,
             cl("Invalid FUNCTION data 1 1")},
        Case{"value_bad_tab", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1\t1 x  \n" + POST,
             cl("Invalid FUNCTION data 1 1 x")},
        Case{"value_nan", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1 NaN 1\n" + POST,
             cl("Invalid FUNCTION data 1 NaN 1")},
        Case{"value_inf", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1 1 -inf\n" + POST,
             cl("Invalid FUNCTION data 1 1 -inf")},
        Case{"two_soils_three_values", {},
             "SOIL s2.txt\n" + MONTH_LINE + "FUNCTION t.txt 1\n0 0 0 0 0\n1 1 1 1\n" + POST,
             cl("Invalid FUNCTION data 1 1 1 1")},
        Case{"one_point", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n" + POST,
             cl("Cannot fit spline to one point")},
        Case{"no_point", {}, PRE + "FUNCTION t.txt 1\n" + POST, cl("Cannot fit spline to one point")},
        Case{"lines_64", {}, PRE + "FUNCTION t.txt 1\n" + fn_lines(64) + POST, OK},
        Case{"lines_65", {}, PRE + "FUNCTION t.txt 1\n" + fn_lines(65) + POST,
             cl("Too many FUNCTION data")},
        Case{"count_checked_before_order", {}, PRE + "FUNCTION t.txt 1\n" + fn_lines(64) + "0 x\n" + POST,
             cl("Too many FUNCTION data")},
        Case{"range_819_2", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n819.2 1 1\n" + POST,
             cl("FUNCTION range too large")},
        Case{"range_819_19", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n819.19 1 1\n" + POST, OK},
        Case{"table_not_created", {}, PRE + "FUNCTION nodir/t.txt 1\n0 0 0\n1 1 1\n" + POST,
             cl("Error opening file nodir/t.txt")},
        Case{"comment_and_blank_inside_then_keyword", {},
             PRE + "FUNCTION t.txt 1\n0 0 0\n#note\n\n \t\n1 1 1\nSTEADY 1909 1950 1\n" + POST,
             cl("STEADY period start error")},
        Case{"next_line_unknown", {}, PRE + "FUNCTION t.txt 1\n0 0 0\n1 1 1\nfoo bar\n" + POST,
             cl("Unknown parameter FOO")},
        Case{"soil_line_ends_block", {}, "SOIL *\nFUNCTION t.txt 1\n0 0 0\n1 1 1\nSOIL nosoil.txt\n",
             cl("Error opening file nosoil.txt")},
        Case{"block_at_end_of_file", {}, PRE + POST + "FUNCTION t.txt 1\n0 0 0\n1.5D1 1 1", OK},
        Case{"soil_file_without_zones",
             {{"s0.txt", "\n" + flag_file("", 1, zero)}},
             "SOIL s0.txt\nFUNCTION t.txt 1\n0 0 0\n1 1 1\n" + MONTH_LINE + POST,
             cl("No SOILs specified before FUNCTION")}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

const std::string SX = poke(zoned("a b", [](int, int) { return 1; }), 3, 7, 5, 'x');

INSTANTIATE_TEST_SUITE_P(
    Flags, InputE2E,
    ::testing::Values(
        Case{"mound_two_zones", {{"m2.txt", zoned("a b", zero)}}, "MOUND m2.txt\n" + GRIDBASE,
             cl("Too many zones in m2.txt")},
        Case{"gwmask_two_zones", {{"g2.txt", zoned("a \"b c\"", zero)}}, "GWMASK g2.txt\n" + GRIDBASE,
             cl("Too many zones in g2.txt")},
        Case{"soil_ten_zones", {{"s10.txt", zoned("a b c d e f g h i j", zero)}},
             "SOIL s10.txt\n" + GRIDBASE, cl("Too many zones in s10.txt")},
        Case{"budget_ten_zones", {{"b10.txt", zoned("a b c d e f g h i j", zero)}},
             "BUDGET b10.txt\n" + GRIDBASE, cl("Too many zones in b10.txt")},
        Case{"soil_nine_zones", {{"s9.txt", zoned("a b c d e f g h i", [](int c, int) { return c % 10; })}},
             "SOIL s9.txt\n" + GRIDBASE, OK},
        Case{"soil_zone_above_count",
             {{"s3.txt", zoned("a b", [](int c, int r) { return c == 326 && r == 165 ? 3 : 2; })}},
             "SOIL s3.txt\n" + GRIDBASE, cl("Zone out of range in file s3.txt")},
        Case{"tab_does_not_separate_names",
             {{"st.txt", zoned("a\tb", [](int c, int r) { return c == 1 && r == 1 ? 2 : 1; })}},
             "SOIL st.txt\n" + GRIDBASE, cl("Zone out of range in file st.txt")},
        Case{"soil_missing", {}, "SOIL nosoil.txt\n" + GRIDBASE, cl("Error opening file nosoil.txt")},
        Case{"soil_bad_field", {{"sx.txt", SX}}, "SOIL sx.txt\n" + GRIDBASE,
             cl("Error reading file sx.txt")},
        Case{"soil_short", {{"ss.txt", first_lines(zoned("a", zero), 101)}}, "SOIL ss.txt\n" + GRIDBASE,
             cl("Error reading file ss.txt")},
        Case{"read_error_before_range_check",
             {{"sr.txt", poke(poke(zoned("a b", zero), 3, 1, 1, '5'), 3, 3, 100, 'x')}},
             "SOIL sr.txt\n" + GRIDBASE, cl("Error reading file sr.txt")},
        Case{"soil_no_header", {{"se.txt", ""}}, "SOIL se.txt\n" + GRIDBASE,
             cl("Error reading file header se.txt")},
        Case{"gwmask_no_header", {{"ge.txt", ""}}, "GWMASK ge.txt\n" + GRIDBASE,
             cl("Error reading file header ge.txt")},
        Case{"ibound_empty", {{"ib0.txt", ""}}, "IBOUND ib0.txt\n" + GRIDBASE,
             cl("Error reading file ib0.txt")},
        Case{"ibound_missing", {}, "IBOUND noib.txt\n" + GRIDBASE, cl("Error opening file noib.txt")},
        Case{"terrain_flags_no_header", {{"te.txt", ""}}, "TERRAIN te.txt m1.txt p.txt\n" + GRIDBASE,
             cl("Error reading file header te.txt")},
        Case{"gwmask_counts_inactive_cells",
             {{"g.txt", zoned("mask", [](int c, int) { return c <= 10; })}, {"ib.txt", flag_file("", 2, zero)}},
             "IBOUND ib.txt\nGWMASK g.txt\n" + GRIDBASE,
             " GWMASK:         1650  cells in zone to exclude pumping\r\n" + OK}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

std::string loc_with(const std::string& line) { return "name x y\nS1 500000 14500000\n" + line + "\n"; }
std::string pp_with(const std::string& line) { return "year S1\n1990 20\n" + line + "\n"; }
const std::string STN = "STATIONS loc.txt pp.txt 0\n";

INSTANTIATE_TEST_SUITE_P(
    Stations, InputE2E,
    ::testing::Values(
        Case{"no_location_name", {}, "STATIONS\n" + CURVE,
             cl("Invalid STATION location file name STATIONS")},
        Case{"location_missing", {}, "STATIONS noloc.txt\n" + CURVE, cl("Error opening file noloc.txt")},
        Case{"no_precip_name", {}, "STATIONS loc1.txt\n" + CURVE,
             cl("Invalid STATION precipitation file name STATIONS loc1.txt")},
        Case{"no_drift", {}, "STATIONS loc1.txt pp1.txt\n" + CURVE,
             cl("Invalid STATION drift order STATIONS loc1.txt pp1.txt")},
        Case{"drift_4", {}, "STATIONS loc1.txt pp1.txt 4\n" + CURVE,
             cl("Invalid STATION drift order STATIONS loc1.txt pp1.txt 4")},
        Case{"drift_negative", {}, "STATIONS loc1.txt pp1.txt -1\n" + CURVE,
             cl("Invalid STATION drift order STATIONS loc1.txt pp1.txt -1")},
        Case{"drift_real", {}, "STATIONS loc1.txt pp1.txt 0.0\n" + CURVE,
             cl("Invalid STATION drift order STATIONS loc1.txt pp1.txt 0.0")},
        Case{"precip_missing", {}, "STATIONS loc1.txt nopp.txt 0\n" + CURVE,
             cl("Error opening file nopp.txt")},
        Case{"stations_129", {{"loc.txt", locations(129)}, {"pp.txt", precip_header(129)}}, STN + CURVE,
             cl("Too many stations")},
        Case{"stations_128", {{"loc.txt", locations(128)}, {"pp.txt", precip_header(128)}}, STN + CURVE,
             NO_WELL},
        Case{"name_open_quote", {{"loc.txt", "name x y\n\"S1 500000 14500000\n"}, {"pp.txt", "y\n"}},
             STN + CURVE, cl("Invalid station name \"S1 500000 14500000")},
        Case{"x_missing", {{"loc.txt", loc_with("S2")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X S2")},
        Case{"x_bad", {{"loc.txt", loc_with("S2 5e5x 14500000")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X S2 5e5x 14500000")},
        Case{"x_nan", {{"loc.txt", loc_with("S2 NaN 14500000")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X S2 NaN 14500000")},
        Case{"y_missing", {{"loc.txt", loc_with("S2 500000")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station Y S2 500000")},
        Case{"y_infinite", {{"loc.txt", loc_with("S2 500000 Infinity")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station Y S2 500000 Infinity")},
        Case{"end_after_blank", {{"loc.txt", loc_with(" END")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X  END")},
        Case{"end_with_tab_is_not_end", {{"loc.txt", loc_with("END\t")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X END")},
        Case{"coordinate_glued_to_quoted_name",
             {{"loc.txt", "name x y\n\"S 1\"500000 14500000\n"}, {"pp.txt", "year \"S 1\"\n"}}, STN + CURVE,
             NO_WELL},
        Case{"end_lower_case", {{"loc.txt", loc_with("end")}, {"pp.txt", "y\n"}}, STN + CURVE,
             cl("Invalid station X end")},
        Case{"end_stops_both_files",
             {{"loc.txt", loc_with("END   \ngarbage")}, {"pp.txt", pp_with("END\ngarbage here")}},
             STN + CURVE, NO_WELL},
        Case{"tabs_comments_blank_lines",
             {{"loc.txt", "name\tx\ty\n# c\n\n\t\nS1\t500000\t14500000\t# note\n"},
              {"pp.txt", "year S1\n#\n\n1990\t20\n"}},
             STN + CURVE, NO_WELL},
        Case{"quoted_name", {{"loc.txt", "name x y\n\"Big Spring\" 500000 14500000\n"},
                             {"pp.txt", "year \"Big Spring\"\n1990 20\n"}},
             STN + CURVE, NO_WELL},
        Case{"out_of_order", {{"pp.txt", "year S2 S1\n"}}, "STATIONS loc2.txt pp.txt 0\n" + CURVE,
             cl("Precip data out of order S2")},
        Case{"header_without_label", {{"pp.txt", "S1 S2\n"}}, "STATIONS loc2.txt pp.txt 0\n" + CURVE,
             cl("Precip data out of order S2")},
        Case{"name_case_counts", {{"pp.txt", "year s1\n"}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Precip data out of order s1")},
        Case{"header_tab_not_separator", {{"pp.txt", "year S1\tS2 S2\n"}},
             "STATIONS loc2.txt pp.txt 0\n" + CURVE, cl("Precip data out of order S1?S2")},
        Case{"long_name_cut_to_16",
             {{"loc.txt", "name x y\nABCDEFGHIJKLMNOPQ 500000 14500000\n"},
              {"pp.txt", "year ABCDEFGHIJKLMNOP\n1990 20\n"}},
             STN + CURVE, NO_WELL},
        Case{"long_name_whole_in_header",
             {{"loc.txt", "name x y\nABCDEFGHIJKLMNOPQ 500000 14500000\n"},
              {"pp.txt", "year ABCDEFGHIJKLMNOPQ\n1990 20\n"}},
             STN + CURVE, cl("Precip data out of order ABCDEFGHIJKLMNOPQ")},
        Case{"year_bad", {{"pp.txt", pp_with("19x0 20")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip year 19x0 20")},
        Case{"year_real", {{"pp.txt", pp_with("1991.0 20")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip year 1991.0 20")},
        Case{"year_end_after_blank", {{"pp.txt", pp_with(" END")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip year  END")},
        Case{"value_missing_1911", {{"pp.txt", pp_with("1911")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip data 1911")},
        Case{"value_bad", {{"pp.txt", pp_with("1991 2O")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip data 1991 2O")},
        Case{"value_nan", {{"pp.txt", pp_with("1991 nan")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip data 1991 nan")},
        Case{"year_1910_is_read", {{"pp.txt", pp_with("1910 x")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip data 1910 x")},
        Case{"year_2150_is_read", {{"pp.txt", pp_with("2150 x")}}, "STATIONS loc1.txt pp.txt 0\n" + CURVE,
             cl("Invalid precip data 2150 x")},
        Case{"years_outside_skipped", {{"pp.txt", pp_with("1909 x\n2151 x y")}},
             "STATIONS loc1.txt pp.txt 0\n" + CURVE, NO_WELL},
        Case{"location_without_header", {{"le.txt", ""}}, "STATIONS le.txt pp1.txt 0\n" + CURVE,
             cl("Error reading file header le.txt")},
        Case{"precip_without_header", {{"pe.txt", ""}}, "STATIONS loc1.txt pe.txt 0\n" + CURVE,
             cl("Error reading file header pe.txt")},
        Case{"no_station", {{"loc.txt", "name x y\n"}, {"pp.txt", "year\n"}}, STN + CURVE,
             cl("Cannot invert kriging matrix")},
        Case{"repeated_point",
             {{"loc.txt", "n x y\nS1 500000 14500000\nS2 500000 14500000\n"}, {"pp.txt", "y S1 S2\n"}},
             STN + CURVE, cl("Repeated point")}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

// Years of the steady window and the transient years need a precipitation
// line when precipitation is kriged from stations.
INSTANTIATE_TEST_SUITE_P(
    StationYears, InputE2E,
    ::testing::Values(
        Case{"steady_window_first", {}, CURVE + "STATIONS loc1.txt pp1.txt 0\nTRANSIENT 1990 1991\nSTEADY 1995 1995 1\n",
             cl_int("No precip data for year", 1995)},
        Case{"window_ascending", {}, CURVE + "STATIONS loc1.txt pp1.txt 0\nSTEADY 1989 1991 1\n",
             cl_int("No precip data for year", 1989)},
        Case{"transient_ascending", {{"pp.txt", "year S1\n1993 1\n1990 20\n1991 0\n"}},
             CURVE + "STATIONS loc1.txt pp.txt 0\nSTEADY 1990 1990 1\nTRANSIENT 1991 1993\nWELL w.dat\n",
             cl_int("No precip data for year", 1992)},
        Case{"years_1910_and_2150_kept", {{"pp.txt", "year S1\n2150 5\n1910 20\n"}},
             CURVE + "STATIONS loc1.txt pp.txt 0\nSTEADY 1910 1910 1\nTRANSIENT 2150 2150\n", NO_WELL},
        Case{"zero_line_is_data", {{"pp.txt", "year S1\n1990 0\n"}},
             CURVE + "STATIONS loc1.txt pp.txt 0\nTRANSIENT 1990 1990\n", NO_WELL},
        Case{"later_stations_line_wins", {{"pp.txt", "year S1\n1991 0\n"}},
             CURVE + "STATIONS loc1.txt pp1.txt 0\nSTATIONS loc1.txt pp.txt 0\nTRANSIENT 1990 1991\n",
             cl_int("No precip data for year", 1990)},
        Case{"not_checked_with_prism", {}, GRIDBASE + "STATIONS loc1.txt pp1.txt 0\nTRANSIENT 1995 1995\n",
             OK}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

const std::string TR = "TERRAIN * m.txt p.txt";

INSTANTIATE_TEST_SUITE_P(
    Terrain, InputE2E,
    ::testing::Values(
        Case{"no_flag_file", {}, "TERRAIN\n" + GRIDBASE, cl("Invalid TERRAIN flag file TERRAIN")},
        Case{"flag_file_missing", {}, "TERRAIN nof.txt\n" + GRIDBASE, cl("Error opening file nof.txt")},
        Case{"flag_file_ten_zones", {{"t10.txt", zoned("a b c d e f g h i j", zero)}},
             "TERRAIN t10.txt m1.txt p.txt\n" + GRIDBASE, cl("Too many zones in t10.txt")},
        Case{"flag_zone_above_count",
             {{"t3.txt", zoned("lo hi", [](int c, int r) { return c == 9 && r == 99 ? 3 : 0; })}},
             "TERRAIN t3.txt m1.txt p.txt\n" + GRIDBASE, cl("Zone out of range in file t3.txt")},
        Case{"no_multiplier_file", {}, "TERRAIN *\n" + GRIDBASE,
             cl("Invalid TERRAIN multiplier file TERRAIN *")},
        Case{"multiplier_file_missing", {}, "TERRAIN * nom.txt\n" + GRIDBASE,
             cl("Error opening file nom.txt")},
        Case{"no_plot_file", {}, "TERRAIN * m1.txt\n" + GRIDBASE,
             cl("Invalid TERRAIN plot file TERRAIN * m1.txt")},
        Case{"number_after_plot_file", {}, "TERRAIN * m1.txt p.txt 5\n" + GRIDBASE,
             cl("Invalid TERRAIN parameter 5")},
        Case{"limit_lower_case", {}, "TERRAIN * m1.txt p.txt limit 2 1\n" + GRIDBASE,
             cl("Invalid TERRAIN parameter limit")},
        Case{"parameter_cut_to_16", {}, "TERRAIN * m1.txt p.txt LIMIT 0 1 abcdefghijklmnopqrstuvwxyz\n" + GRIDBASE,
             cl("Invalid TERRAIN parameter abcdefghijklmnop")},
        Case{"minimum_missing", {}, "TERRAIN * m1.txt p.txt LIMIT\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT minimum")},
        Case{"minimum_bad", {}, "TERRAIN * m1.txt p.txt LIMIT x 1\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT minimum")},
        Case{"minimum_nan", {}, "TERRAIN * m1.txt p.txt LIMIT NaN 1\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT minimum")},
        Case{"maximum_missing", {}, "TERRAIN * m1.txt p.txt LIMIT 0\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT maximum")},
        Case{"maximum_nan", {}, "TERRAIN * m1.txt p.txt LIMIT 0 nan\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT maximum")},
        Case{"range", {}, "TERRAIN  * m1.txt p.txt LIMIT 2 1 \n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT range TERRAIN  * m1.txt p.txt LIMIT 2 1")},
        Case{"range_of_later_clause", {}, "TERRAIN * m1.txt p.txt LIMIT 0 1 LIMIT 2 1\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT range TERRAIN * m1.txt p.txt LIMIT 0 1 LIMIT 2 1")},
        Case{"infinite_limits", {}, "TERRAIN * m1.txt p.txt LIMIT -Inf Inf\n" + GRIDBASE, OK},
        Case{"equal_limits", {}, "TERRAIN * m1.txt p.txt LIMIT 1 1\n" + GRIDBASE, OK},
        Case{"limits_before_locations", {{"m.txt", "h\nx 1 1\n"}}, TR + " LIMIT 2 1\n" + GRIDBASE,
             cl("Invalid TERRAIN LIMIT range " + TR + " LIMIT 2 1")},
        Case{"locations_129", {{"m.txt", terrain_points(129)}}, TR + "\n" + GRIDBASE,
             cl("Too many TERRAIN locations")},
        Case{"x_bad", {{"m.txt", "h\nx 1 1\n"}}, TR + "\n" + GRIDBASE, cl("Invalid terrain X x 1 1")},
        Case{"x_infinite", {{"m.txt", "h\n-inf 1 1\n"}}, TR + "\n" + GRIDBASE,
             cl("Invalid terrain X -inf 1 1")},
        Case{"y_missing", {{"m.txt", "h\n1000000\n"}}, TR + "\n" + GRIDBASE,
             cl("Invalid terrain Y 1000000")},
        Case{"multiplier_missing", {{"m.txt", "h\n1000000 14500000 0.5\n"}},
             "TERRAIN tz2.txt m.txt p.txt\n" + GRIDBASE,
             cl("Invalid terrain multiplier 1000000 14500000 0.5")},
        Case{"multiplier_nan", {{"m.txt", "h\n1000000\t14500000 nan\n"}}, TR + "\n" + GRIDBASE,
             cl("Invalid terrain multiplier 1000000 14500000 nan")},
        Case{"end_after_blank", {{"m.txt", "h\n1000000 14500000 0.5\n END\n"}}, TR + "\n" + GRIDBASE,
             cl("Invalid terrain X  END")},
        Case{"end_stops", {{"m.txt", "h\n# c\n\n1000000 14500000 0.5 more\nEND \ngarbage\n"}},
             TR + "\n" + GRIDBASE, OK},
        Case{"no_header", {{"m.txt", ""}}, TR + "\n" + GRIDBASE, cl("Error reading file header m.txt")},
        Case{"no_location", {{"m.txt", "h\n"}}, TR + "\n" + GRIDBASE, cl("Cannot invert kriging matrix")},
        Case{"repeated_point", {{"m.txt", "h\n1000000 14500000 1\n1000000 14500000 2\n"}},
             TR + "\n" + GRIDBASE, cl("Repeated point")},
        Case{"plot_not_created", {}, "TERRAIN * m1.txt nodir/p.txt\n" + GRIDBASE,
             cl("Error opening file nodir/p.txt")}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

// A text grid of value 2 written with commas, ten numbers a line, and text
// after the last number of a row.
std::string text_wrapped_commas(const std::string& v) {
  std::string s;
  for (int r = 1; r <= 165; ++r)
    for (int c = 1; c <= 326; ++c) {
      s += v;
      s += c == 326 ? " row end\n" : c % 10 == 0 ? "\n" : ",";
    }
  return s + "trailing line\n";
}

INSTANTIATE_TEST_SUITE_P(
    Xfactor, InputE2E,
    ::testing::Values(
        Case{"missing", {}, "XFACTOR 1990 nox.txt\n" + GRIDBASE, cl("Error opening file nox.txt")},
        Case{"plain", {{"xp.txt", text_uniform("1")}}, "XFACTOR 1990 xp.txt\n" + GRIDBASE, OK},
        Case{"token_not_number",
             {{"xb.txt", text_uniform("1").replace(5000, 1, "x")}},
             "XFACTOR 1990 xb.txt\n" + GRIDBASE, cl("Error reading file xb.txt")},
        Case{"short", {{"xs.txt", first_lines(text_uniform("1"), 164)}}, "XFACTOR 1990 xs.txt\n" + GRIDBASE,
             cl("Error reading file xs.txt")},
        Case{"nan", {{"xn.txt", text_uniform("1").replace(0, 1, "nan")}}, "XFACTOR 1990 xn.txt\n" + GRIDBASE,
             cl("Error reading file xn.txt")},
        Case{"comma_number", {{"xc.txt", text_uniform("1").replace(0, 1, "1,5 ")}},
             "XFACTOR 1990 xc.txt\n" + GRIDBASE, OK},
        Case{"text_under_bin", {{"xw.txt", text_wrapped_commas("2.0D0")}}, "BIN\nXFACTOR 1990 xw.txt\n" + GRIDBASE,
             OK}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

// The FUNCTION table file: header "Precip" and " Soil" with the soil number in
// 3 columns, twice per soil; rows of F6.1 precipitation and F8.3 values.
TEST(InputE2EFunction, TableFiles) {
  TempDir d;
  write_file(d / "s2.txt", zoned("sand clay", [](int c, int) { return c <= 163 ? 1 : 2; }));
  write_file(d / "run.par",
             "SOIL s2.txt\n" + MONTH_LINE +
                 "FUNCTION lin.txt 1\n0 0 0 0 0\n0.5 10000 -1000 0.25 9999.999\n"
                 "FUNCTION quad.txt 2\n0 0 0 0 0\n1 0.1 0.2 0 -0.1\n2 0.5 0.4 0.1 0\n"
                 "SOIL *\n"
                 "FUNCTION p07.txt 1\n0 0 0\n0.7 0.7 1.4\n"
                 "FUNCTION p353.txt 1\n0 0 0\n35.3 35.3 70.6\n"
                 "FUNCTION p40.txt 1\n0 0 0\n40 40 -40\n"
                 "FUNCTION p819.txt 1\n0 0 0\n819.19 8.1919 0\n"
                 "FUNCTION ex1.txt 1\n0 0 0\n10 1 1\n20 5 5\n"
                 "FUNCTION ex2.txt 2\n0 0 0\n10 1 1\n20 5 5\n" +
                 POST);
  RunResult r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, OK);
  EXPECT_EQ(r.status, 1);

  const std::string head2 = "Precip Soil  1 Soil  1 Soil  2 Soil  2";
  ASSERT_EQ(head2.size(), 38u);
  // 10000 and -1000 need 9 characters at 3 decimals.
  EXPECT_EQ(read_file(d / "lin.txt"), crlf({head2,
                                             "   0.0   0.000   0.000   0.000   0.000",
                                             "   0.12000.000-200.000   0.0502000.000",
                                             "   0.24000.000-400.000   0.1004000.000",
                                             "   0.36000.000-600.000   0.1505999.999",
                                             "   0.48000.000-800.000   0.2007999.999",
                                             "   0.5****************   0.2509999.999"}));
  // Quadratic: a straight first interval, then parabolas that keep the slope:
  // soil 1 dry 0.1 + 0.1 d + 0.3 d^2, soil 2 dry 0.1 d^2, soil 2 irrigated
  // -0.1 - 0.1 d + 0.2 d^2 beyond P = 1; soil 1 irrigated stays a line.
  EXPECT_EQ(read_file(d / "quad.txt"), crlf({head2,
                                              "   0.0   0.000   0.000   0.000   0.000",
                                              "   0.1   0.010   0.020   0.000  -0.010",
                                              "   0.2   0.020   0.040   0.000  -0.020",
                                              "   0.3   0.030   0.060   0.000  -0.030",
                                              "   0.4   0.040   0.080   0.000  -0.040",
                                              "   0.5   0.050   0.100   0.000  -0.050",
                                              "   0.6   0.060   0.120   0.000  -0.060",
                                              "   0.7   0.070   0.140   0.000  -0.070",
                                              "   0.8   0.080   0.160   0.000  -0.080",
                                              "   0.9   0.090   0.180   0.000  -0.090",
                                              "   1.0   0.100   0.200   0.000  -0.100",
                                              "   1.1   0.113   0.220   0.001  -0.108",
                                              "   1.2   0.132   0.240   0.004  -0.112",
                                              "   1.3   0.157   0.260   0.009  -0.112",
                                              "   1.4   0.188   0.280   0.016  -0.108",
                                              "   1.5   0.225   0.300   0.025  -0.100",
                                              "   1.6   0.268   0.320   0.036  -0.088",
                                              "   1.7   0.317   0.340   0.049  -0.072",
                                              "   1.8   0.372   0.360   0.064  -0.052",
                                              "   1.9   0.433   0.380   0.081  -0.028",
                                              "   2.0   0.500   0.400   0.100   0.000"}));

  // One soil: 24 bytes a line; the table stops at the largest tenth whose
  // tenfold lies at or below 10 x P_n taken exactly on the stored double.
  struct Size {
    const char* file;
    size_t points;
    const char* last;
  };
  for (const Size& s : {Size{"p07.txt", 7, "   0.6   0.600   1.200"},
                        Size{"p353.txt", 353, "  35.2  35.200  70.400"},
                        Size{"p40.txt", 401, "  40.0  40.000 -40.000"},
                        Size{"p819.txt", 8192, " 819.1   8.191   0.000"}}) {
    SCOPED_TRACE(s.file);
    const std::string t = read_file(d / s.file);
    ASSERT_EQ(t.size(), 24 * (s.points + 1));
    EXPECT_EQ(t.substr(0, 24), "Precip Soil  1 Soil  1\r\n");
    EXPECT_EQ(t.substr(24, 24), "   0.0   0.000   0.000\r\n");
    EXPECT_EQ(t.substr(t.size() - 24), std::string(s.last) + "\r\n");
  }
  // Points (0, 0), (10, 1), (20, 5) at P = 10 and 15: 1 and 3 on the line,
  // 1 and 2.25 on the quadratic (second interval b = 0.1, c = 0.03).
  const std::string e1 = read_file(d / "ex1.txt"), e2 = read_file(d / "ex2.txt");
  ASSERT_EQ(e1.size(), 24u * 202);
  ASSERT_EQ(e2.size(), 24u * 202);
  EXPECT_EQ(e1.substr(24 * 101, 24), "  10.0   1.000   1.000\r\n");
  EXPECT_EQ(e1.substr(24 * 151, 24), "  15.0   3.000   3.000\r\n");
  EXPECT_EQ(e2.substr(24 * 101, 24), "  10.0   1.000   1.000\r\n");
  EXPECT_EQ(e2.substr(24 * 151, 24), "  15.0   2.250   2.250\r\n");
  EXPECT_EQ(e2.substr(24 * 201), "  20.0   5.000   5.000\r\n");
}

std::string warn_terrain(int r, int c, const std::string& real25) {
  return " WARNING: Terrain multiplier error  " + rj(std::to_string(r), 11) + " " +
         rj(std::to_string(c), 11) + " " + real25 + "\r\n";
}
std::string warn_soil(int r, int c) {
  return " WARNING: Missing soil type  " + rj(std::to_string(r), 11) + " " +
         rj(std::to_string(c), 11) + "\r\n";
}
// A plot file whose every row is column 1, columns 2..100 and 101..326.
std::string plot(const std::string& c1, const std::string& zone1, const std::string& zone2) {
  std::string row = c1;
  for (int c = 2; c <= 100; ++c) row += zone1;
  for (int c = 101; c <= 326; ++c) row += zone2;
  row += "\r\n";
  std::string s;
  for (int r = 1; r <= 165; ++r) s += row;
  return s;
}

// Terrain zones: column 1 none, columns 2..100 zone 1, 101..326 zone 2; one
// location, so each zone takes that location's multiplier everywhere. Three
// active cells: (row 2, col 3) zone 1, (2, 200) zone 2 without a soil,
// (5, 1) without a zone and without a soil.
TEST(InputE2ETerrain, PlotFileAndWarnings) {
  TempDir d;
  write_file(d / "ib.txt", flag_file("", 2, [](int c, int r) {
               return (r == 2 && (c == 3 || c == 200)) || (r == 5 && c == 1);
             }));
  write_file(d / "s.txt", zoned("loam", [](int c, int r) {
               return (r == 2 && c == 200) || (r == 5 && c == 1) ? 0 : 1;
             }));
  write_file(d / "tz.txt", zoned("lo hi", [](int c, int) { return c == 1 ? 0 : c <= 100 ? 1 : 2; }));
  const std::string head = "IBOUND ib.txt\nSOIL s.txt\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n" + MONTH_LINE;

  // Without LIMIT the minimum is 0: -0.5 becomes 0, and 123.4 overflows F6.3.
  write_file(d / "m.txt", "x y lo hi\n1000000 14500000 123.4 -0.5\nEND\n");
  write_file(d / "run.par", head + "TERRAIN tz.txt m.txt plot.txt\nPRISM ppt\n");
  RunResult r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + warn_terrain(2, 200, "  0.0000000000000000     ") + warn_soil(2, 200) +
                       warn_soil(5, 1) + NO_WELL);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(read_file(d / "plot.txt") == plot(" 1.000", "******", " 0.000"));

  // The last LIMIT clause stands.
  write_file(d / "run.par", head + "TERRAIN tz.txt m.txt plot.txt LIMIT 5 6 LIMIT -1 50\nPRISM ppt\n");
  r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + warn_terrain(2, 200, "-0.50000000000000000     ") + warn_soil(2, 200) +
                       warn_soil(5, 1) + NO_WELL);
  EXPECT_TRUE(read_file(d / "plot.txt") == plot(" 1.000", "50.000", "-0.500"));

  write_file(d / "m.txt", "x y lo hi\n1000000 14500000 2 0.2\n");
  write_file(d / "run.par", head + "TERRAIN tz.txt m.txt plot.txt LIMIT 0.5 1.5\nPRISM ppt\n");
  r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + warn_soil(2, 200) + warn_soil(5, 1) + NO_WELL);
  EXPECT_TRUE(read_file(d / "plot.txt") == plot(" 1.000", " 1.500", " 0.500"));

  // Cells without a zone are never limited.
  write_file(d / "run.par", head + "TERRAIN tz.txt m.txt plot.txt LIMIT 2 3\nPRISM ppt\n");
  r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + warn_soil(2, 200) + warn_soil(5, 1) + NO_WELL);
  EXPECT_TRUE(read_file(d / "plot.txt") == plot(" 1.000", " 2.000", " 2.000"));
}

// Budget headings: zone names cut to 10 characters and right-aligned; with
// nine zones the 101st item, the label RchRcs_af, starts a second line.
TEST(InputE2EBudget, HeadingLines) {
  TempDir d;
  write_file(d / "b9.txt", zoned("ABCDEFGHIJKL \"two words\" c3 c4 c5 c6 c7 c8 c9",
                                 [](int c, int) { return c % 10; }));
  write_file(d / "b3.txt", zoned("Colorado_Long KS \"N E\"", [](int c, int) { return c % 4; }));
  write_file(d / "run.par", "BUDGET b9.txt\nBUDGET b3.txt\n" + GRIDBASE);
  RunResult r = run_vadz(d.path(), {"run.par"});
  const std::vector<std::string> labels = {"act.cells", "Precip_in", "gwIrr_af",  "gwMI_af",
                                           "gwArea_ac", "coArea_ac", "swArea_ac", "RchRcp_af",
                                           "RchRcg_af", "RchRcs_af", "RchRcc_af"};
  std::string names9;
  for (const char* n : {"ABCDEFGHIJ", "two words", "c3", "c4", "c5", "c6", "c7", "c8", "c9"})
    names9 += rj(n, 10);
  std::string l1 = " Year";
  for (int g = 0; g < 9; ++g) l1 += names9 + rj(labels[g], 10);
  l1 += names9;
  ASSERT_EQ(l1.size(), 5u + 99 * 10);
  const std::string l2 = "RchRcs_af" + names9 + rj("RchRcc_af", 10);
  const std::string names3 = rj("Colorado_L", 10) + rj("KS", 10) + rj("N E", 10);
  std::string h3 = " Year";
  for (const auto& l : labels) h3 += names3 + rj(l, 10);
  ASSERT_EQ(h3.size(), 445u);
  EXPECT_EQ(r.out, crlf({l1, l2, h3}) + OK);
  EXPECT_EQ(r.status, 1);
}

// A binary grid file: framed records of little-endian byte counts around
// little-endian doubles.
std::string le32(int32_t v) {
  std::string s(4, '\0');
  const auto u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) s[k] = static_cast<char>((u >> (8 * k)) & 0xff);
  return s;
}
std::string le_doubles(const std::vector<double>& v) {
  std::string s;
  s.reserve(v.size() * 8);
  for (double x : v) {
    uint64_t u;
    std::memcpy(&u, &x, 8);
    for (int k = 0; k < 8; ++k) s += static_cast<char>((u >> (8 * k)) & 0xff);
  }
  return s;
}
std::string record(const std::string& data) {
  const auto n = static_cast<int32_t>(data.size());
  return le32(n) + data + le32(n);
}
std::vector<double> cells(const std::function<double(int c, int r)>& f) {
  std::vector<double> v;
  v.reserve(53790);
  for (int r = 1; r <= 165; ++r)
    for (int c = 1; c <= 326; ++c) v.push_back(f(c, r));
  return v;
}

// Whole inches of precipitation, 0 to 40, varying by column and row.
int ppt(int c, int r) { return (7 * c + 3 * r) % 41; }

// The same precipitation in many number forms, commas, ten numbers a line,
// text after a row's last number and lines after the last row.
std::string text_forms() {
  static const char* const forms[] = {"%d", "%d.", "%d.0D0", "%de0", "%d.0d+00", "+%d", "%d.000E+00",
                                      "%d.0E0", "%d0e-1"};
  std::string s;
  char buf[32];
  int k = 0;
  for (int r = 1; r <= 165; ++r)
    for (int c = 1; c <= 326; ++c) {
      std::snprintf(buf, sizeof buf, forms[k++ % 9], ppt(c, r));
      s += buf;
      s += c == 326 ? " end of row 2 3\n" : c % 10 == 0 ? "\n" : k % 2 ? "," : "  ";
    }
  return s + "1 2 3\nnot a number\n";
}

// Steady window of one year from precipitation grids: the recharge array
// holds an eighth of the precipitation, whatever the file form.
TEST(InputE2EGrids, TextAndBinaryForms) {
  TempDir d;
  const std::string par = CURVE + "PRISM ppt\nSTEADY 1990 1990 1\nWELL wel.dat\nRECHARGE rch.dat\n";
  write_file(d / "run.par", par);
  write_file(d / "bin.par", "BIN\n" + par);
  const std::string grd = d / "ppt/1990.grd";

  write_file(grd, text_grid([](int c, int r) { return ppt(c, r); }));
  RunResult r = run_vadz(d.path(), {"run.par"});
  ASSERT_EQ(r.out, PRISM_OUT);
  ASSERT_EQ(r.status, 0);
  const std::string base = read_file(d / "rch.dat");
  ASSERT_EQ(base.size(), 22u + 22 + 47 + 489720);
  // Cells (1, 1) and (2, 1): 10 and 17 inches.
  EXPECT_EQ(base.substr(91, 18), "  1.25000  2.12500");
  EXPECT_EQ(read_file(d / "wel.dat"), "     14000         0 NOPRINT\r\n    0 -1 Steady \r\n");

  struct Variant {
    const char* name;
    const char* par;
    std::string content;
  };
  const std::string data = le_doubles(cells([](int c, int r) { return ppt(c, r); }));
  const std::vector<Variant> same = {
      {"text_forms", "run.par", text_forms()},
      {"binary", "bin.par", record(data)},
      {"binary_longer_record_and_more", "bin.par",
       record(data + le_doubles({1.0})) + record(le_doubles({2.0, 3.0}))},
  };
  for (const Variant& v : same) {
    SCOPED_TRACE(v.name);
    write_file(grd, v.content);
    std::remove((d / "rch.dat").c_str());
    r = run_vadz(d.path(), {v.par});
    EXPECT_EQ(r.out, PRISM_OUT);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(read_file(d / "rch.dat") == base);
  }

  std::string nan_data = data;
  const std::string nan = le_doubles({std::numeric_limits<double>::quiet_NaN()});
  nan_data.replace(8 * 20000, 8, nan);
  std::string text_nan = text_uniform("20");
  text_nan.replace(2 * 3 * 400, 2, "NaN");
  const std::vector<Variant> fail = {
      {"record_8_bytes_short", "bin.par", record(data.substr(0, 430312))},
      {"file_ends_early", "bin.par", le32(430320) + data.substr(0, 1000)},
      {"empty_binary", "bin.par", ""},
      {"binary_nan", "bin.par", record(nan_data)},
      {"text_row_missing", "run.par", first_lines(text_uniform("20"), 164)},
      {"text_bad_token", "run.par", text_uniform("20").replace(0, 2, "2O")},
      {"text_nan", "run.par", text_nan},
  };
  for (const Variant& v : fail) {
    SCOPED_TRACE(v.name);
    write_file(grd, v.content);
    r = run_vadz(d.path(), {v.par});
    EXPECT_EQ(r.out, PRISM_OUT + cl(std::string(v.par == std::string("bin.par")
                                                    ? "Cannot read file "
                                                    : "Error reading file ") +
                                    "ppt/1990.grd"));
    EXPECT_EQ(r.status, 1);
  }
  std::remove(grd.c_str());
  r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + cl("File does not exist ppt/1990.grd"));
  EXPECT_EQ(r.status, 1);
}

// BIN makes the yearly grids binary, while the XFACTOR grid stays text. The
// surface-water return of March 1990 (32 acre-feet in cell (1, 1)) is doubled
// for years after the XFACTOR year.
TEST(InputE2EGrids, XfactorTextUnderBin) {
  TempDir d;
  write_file(d / "ppt/1990.grd", record(le_doubles(cells([](int, int) { return 20.0; }))));
  write_file(d / "ne/1990.03.rcs",
             record(le_doubles(cells([](int c, int r) { return c == 1 && r == 1 ? 32.0 : 0.0; }))));
  write_file(d / "xf.txt", text_wrapped_commas("2.0D0"));
  const size_t block = 22 + 47 + 489720;
  for (const char* year : {"1989", "1990"}) {
    SCOPED_TRACE(year);
    write_file(d / "run.par", CURVE + "PRISM ppt\nBIN\nTRANSIENT 1990 1990\nXFACTOR " + year +
                                  " xf.txt\nWELL wel.dat\nRECHARGE r1 r2 r3 r4\n");
    RunResult r = run_vadz(d.path(), {"run.par"});
    EXPECT_EQ(r.out, PRISM_OUT);
    EXPECT_EQ(r.status, 0);
    const std::string t = read_file(d / "r3");
    ASSERT_EQ(t.size(), 22 + 12 * block);
    EXPECT_EQ(t.substr(22 + 2 * block, 22 + 47),
              "         1         0\r\nINTERNAL  3.11131023E-08 (20F9.5)  -1  3/1990\r\n");
    EXPECT_EQ(t.substr(22 + 2 * block + 69, 18),
              std::string(year) == "1989" ? "  1.20000  0.00000" : "  0.60000  0.00000");
    EXPECT_EQ(t.substr(22 + 1 * block + 69, 18), "  0.00000  0.00000");
  }
}

// Plain flag fields are two characters wide: "-1" is -1, blanks inside a
// field are ignored, a short line is padded with zeros and characters after
// column 652 are not read. Every cell with a flag other than 0 is checked.
TEST(InputE2EFlags, PlainFieldsAndWarnings) {
  TempDir d;
  std::string ib = " 1-1\n1 \n" + std::string(652, ' ') + "1\n";
  for (int r = 4; r <= 165; ++r) ib += "\n";
  write_file(d / "ib.txt", ib);
  write_file(d / "s.txt", zoned("loam", zero));
  write_file(d / "run.par", "IBOUND ib.txt\nSOIL s.txt\nFUNCTION fn.txt 1\n0 0 0\n64 8 16\n" +
                                MONTH_LINE + "PRISM ppt\n");
  RunResult r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, PRISM_OUT + warn_soil(1, 1) + warn_soil(1, 2) + warn_soil(2, 1) + NO_WELL);
  EXPECT_EQ(r.status, 1);
}

// A kriged run with one station: every cell gets the station's value. The
// years 1910 and 2150 are read like any other.
TEST(InputE2EStations, OneStationRunsForYear1910) {
  TempDir d;
  write_file(d / "loc.txt", "name x y\nS1 500000 14500000\n");
  write_file(d / "pp.txt", "year S1\n1910 20\n");
  write_file(d / "run.par", CURVE + "STATIONS loc.txt pp.txt 0\nSTEADY 1910 1910 1\n"
                                    "WELL wel.dat\nRECHARGE rch.dat\n");
  RunResult r = run_vadz(d.path(), {"run.par"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.status, 0);
  const std::string t = read_file(d / "rch.dat");
  ASSERT_EQ(t.size(), 22u + 22 + 47 + 489720);
  EXPECT_EQ(t.substr(91, 18), "  2.50000  2.50000");
  EXPECT_EQ(t.substr(t.size() - 11), "  2.50000\r\n");
}

}  // namespace
}  // namespace vadz::test
