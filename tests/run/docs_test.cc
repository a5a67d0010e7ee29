// The user's guide keeps step with the code: every keyword the parameter
// reader accepts has its entry in docs/parameter-file.md, and every kind of
// grid file a run reads has its row in docs/input-files.md. Both lists come
// from the code's own tables.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "input/schedule.h"
#include "run/params.h"
#include "support/testutil.h"

namespace vadz::test {
namespace {

const std::string DOCS = VADZ_DOCS_DIR;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

// Where the guide describes a name: a keyword's entry is its heading line
// "### KEYWORD" (the whole line, so that BUDGETCSV's is not BUDGET's); a
// file kind's row in the tables of the data folders begins "| `agw` |".
bool is_heading(const std::string& line, const std::string& kw) { return line == "### " + kw; }
bool is_kind_row(const std::string& line, const std::string& tag) {
  const std::string cell = "| `" + tag + "` |";
  return line.compare(0, cell.size(), cell) == 0;
}

// The names for which no line of text is their place.
std::vector<std::string> missing(const std::string& text, const std::vector<std::string>& names,
                                 bool (*place)(const std::string&, const std::string&)) {
  const std::vector<std::string> lines = lines_of(text);
  std::vector<std::string> out;
  for (const std::string& name : names) {
    bool found = false;
    for (const std::string& l : lines) found = found || place(l, name);
    if (!found) out.push_back(name);
  }
  return out;
}

std::vector<std::string> kind_tags() {
  std::vector<std::string> tags;
  for (FileKind k : all_kinds()) tags.emplace_back(kind_tag(k));
  return tags;
}

// The text without the place of one name.
std::string without(const std::string& text, const std::string& name,
                    bool (*place)(const std::string&, const std::string&)) {
  std::string out;
  for (const std::string& l : lines_of(text))
    if (!place(l, name)) out += l + "\n";
  return out;
}

TEST(Docs, EveryKeywordHasItsEntry) {
  const std::string guide = read_file(DOCS + "/parameter-file.md");
  ASSERT_FALSE(guide.empty());
  const std::vector<std::string> keywords = parameter_keywords();
  ASSERT_GE(keywords.size(), 26u);
  EXPECT_EQ(missing(guide, keywords, is_heading), std::vector<std::string>{});

  // And no entry for a keyword the reader does not know: a heading of
  // capitals is a keyword's.
  const std::set<std::string> known(keywords.begin(), keywords.end());
  for (const std::string& l : lines_of(guide)) {
    if (l.compare(0, 4, "### ") != 0) continue;
    const std::string name = l.substr(4);
    bool caps = !name.empty();
    for (char c : name) caps = caps && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    if (caps) {
      EXPECT_TRUE(known.count(name)) << "entry for an unknown keyword: " << name;
    }
  }
}

TEST(Docs, EveryFileKindHasItsRow) {
  const std::string guide = read_file(DOCS + "/input-files.md");
  ASSERT_FALSE(guide.empty());
  const std::vector<std::string> tags = kind_tags();
  ASSERT_EQ(tags.size(), static_cast<size_t>(NKIND));
  EXPECT_EQ(missing(guide, tags, is_kind_row), std::vector<std::string>{});
}

// The comparison sees a missing entry: the guide with one entry taken out
// (BUDGET's, beside which BUDGETCSV's stays).
TEST(Docs, AMissingEntryIsSeen) {
  const std::string params = read_file(DOCS + "/parameter-file.md");
  EXPECT_EQ(missing(without(params, "BUDGET", is_heading), parameter_keywords(), is_heading),
            std::vector<std::string>{"BUDGET"});
  const std::string inputs = read_file(DOCS + "/input-files.md");
  EXPECT_EQ(missing(without(inputs, "rcg", is_kind_row), kind_tags(), is_kind_row),
            std::vector<std::string>{"rcg"});
}

}  // namespace
}  // namespace vadz::test
