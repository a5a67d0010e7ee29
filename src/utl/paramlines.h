// The parameter file as a line source with one line of push-back, and the
// shared line state (the current cleaned line and the scan column) that the
// keyword loop and the block readers continue from.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vadz {

class ParamLines {
 public:
  // Takes the whole file content.
  explicit ParamLines(std::string content, std::string name = {});
  // Next raw line (CR before LF dropped); false at the end of the file.
  bool next(std::string& line);
  // Steps back one line, so that next() returns the last line again.
  void unread();
  // The file's name as given, and the number (from 1) of the line last
  // returned by next(); after unread(), of the line before it.
  const std::string& name() const { return name_; }
  long line_no() const { return static_cast<long>(next_); }

 private:
  std::string content_;
  std::string name_;
  std::vector<std::string_view> lines_;
  size_t next_ = 0;
};

// `line` is the current line (cleaned by the reader that read it), `ipos` the
// 1-based column where the next token is sought. `file` is the parameter file,
// for the block readers that go on reading lines of it.
struct LineState {
  std::string line;
  int ipos = 1;
  ParamLines* file = nullptr;
};

}  // namespace vadz
