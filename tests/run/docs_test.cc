// The user's guide keeps step with the code: every keyword the parameter
// reader accepts has its entry in docs/parameter-file.md, every kind of
// grid file a run reads has its row in docs/input-files.md, and every
// message the program prints has its row in docs/messages.md. The keyword
// and kind lists come from the code's own tables; the messages from the
// text literals of the calls that print them, in the sources.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "input/schedule.h"
#include "run/params.h"
#include "support/testutil.h"

namespace vadz::test {
namespace {

const std::string DOCS = VADZ_DOCS_DIR;
const std::string SOURCES = VADZ_SOURCE_DIR;

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

// The calls whose text literals are messages: the stops, the keyword
// readers' line stops, console line texts and --check's warnings (its
// value-check records and the clean-up warnings go through warn).
const std::set<std::string> MESSAGE_CALLS = {
    "error",     "error2",  "errorint", "errordbl",   "error_open", "fail_line", "with_line",
    "kw_cbc",    "kw_mask", "read_bound", "read_value", "text",     "warn",      "warning"};

// The text literals in the arguments of the message calls of one source
// text, trimmed of blanks, colons and commas; comments skipped.
std::set<std::string> message_literals(const std::string& src) {
  std::set<std::string> out;
  auto ident = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  // A literal from the quote at i; i is left after it.
  auto literal = [&](size_t& i) {
    std::string s;
    for (++i; i < src.size() && src[i] != '"'; ++i) {
      if (src[i] == '\\' && i + 1 < src.size()) s += src[i++];
      s += src[i];
    }
    ++i;
    return s;
  };
  for (size_t i = 0; i < src.size();) {
    if (src.compare(i, 2, "//") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (src[i] == '"') {
      literal(i);
      continue;
    }
    if (src.compare(i, 2, "R\"") == 0 && (i == 0 || !ident(src[i - 1]))) {  // a raw string
      const size_t open = src.find('(', i);
      const std::string close = ")" + src.substr(i + 2, open - i - 2) + "\"";
      const size_t end = src.find(close, open);
      if (end == std::string::npos) break;
      i = end + close.size();
      continue;
    }
    if (src[i] == '\'') {  // a character literal, '"' among them
      i += src[i + 1] == '\\' ? 4 : 3;
      continue;
    }
    if (!ident(src[i]) || (i > 0 && ident(src[i - 1]))) {
      ++i;
      continue;
    }
    size_t e = i;
    while (e < src.size() && ident(src[e])) ++e;
    const std::string name = src.substr(i, e - i);
    size_t p = e;
    while (p < src.size() && src[p] == ' ') ++p;
    i = e;
    if (p >= src.size() || src[p] != '(' || !MESSAGE_CALLS.count(name)) continue;
    int depth = 1;
    for (i = p + 1; i < src.size() && depth > 0;) {
      if (src[i] == '\'') {
        i += src[i + 1] == '\\' ? 4 : 3;
        continue;
      }
      if (src[i] == '"') {
        std::string s = literal(i);
        const size_t b = s.find_first_not_of(" :,");
        const size_t l = s.find_last_not_of(" :,");
        if (b != std::string::npos) out.insert(s.substr(b, l - b + 1));
        continue;
      }
      if (src[i] == '(') ++depth;
      if (src[i] == ')') --depth;
      ++i;
    }
  }
  return out;
}

std::set<std::string> source_messages() {
  std::set<std::string> all;
  for (const auto& f : std::filesystem::recursive_directory_iterator(SOURCES))
    if (f.path().extension() == ".cc")
      for (const std::string& m : message_literals(read_file(f.path().string()))) all.insert(m);
  return all;
}

std::vector<std::string> undocumented(const std::string& chapter, const std::set<std::string>& msgs) {
  std::vector<std::string> out;
  for (const std::string& m : msgs)
    if (chapter.find(m) == std::string::npos) out.push_back(m);
  return out;
}

TEST(Docs, EveryMessageHasItsEntry) {
  const std::string chapter = read_file(DOCS + "/messages.md");
  ASSERT_FALSE(chapter.empty());
  const std::set<std::string> msgs = source_messages();
  // The collection finds the stops of every layer, the warnings and the
  // interrupts (a failing scan would find next to nothing).
  for (const char* known : {"Negative PPT", "Error reading file", "Unknown parameter",
                            "Missing soil type", "Interrupted by SIGTERM", "negative acres in"})
    EXPECT_TRUE(msgs.count(known)) << known;
  EXPECT_GE(msgs.size(), 90u);
  EXPECT_EQ(undocumented(chapter, msgs), std::vector<std::string>{});
}

// A message added in the code without its row is seen, in a call spread
// over lines, beside a comment that mentions a call.
TEST(Docs, AnUndocumentedMessageIsSeen) {
  const std::set<std::string> msgs = message_literals(
      "// error(\"Not a message\")\n"
      "if (x) errordbl(\"Soil moisture above porosity\",\n"
      "                v);\n"
      "const char* s = \"not a call\";\n");
  EXPECT_EQ(msgs, std::set<std::string>{"Soil moisture above porosity"});
  EXPECT_EQ(undocumented(read_file(DOCS + "/messages.md"), msgs),
            std::vector<std::string>{"Soil moisture above porosity"});
}

}  // namespace
}  // namespace vadz::test
