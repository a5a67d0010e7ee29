// File access shared by every reader and writer: whole-file reads, line
// splitting, and checked buffered output files.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vadz {

bool file_exists(const std::string& path);
// Reads the whole file into buf (reusing its capacity). False when the file
// cannot be opened or read.
bool read_whole_file(const std::string& path, std::string& buf);

// Splits a buffer into lines. A line ends at LF; one CR before the LF is
// dropped; a last line without LF still counts.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  bool next(std::string_view& line);

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

// A buffered output file whose every write and close is checked: a failure
// stops the run with "Cannot write to file " and the name. The destructor
// closes without checking (the path of a run already stopping).
//
// Appending to a regular file is provisional until commit(): when the object
// goes (or is opened again) without it, the file is cut back to the length it
// had at open, or removed when the open created it. So a run that stops on a
// fault, for want of memory or on a signal leaves nothing of itself in the
// files it appends to, and mending the input and running again does not
// repeat periods.
class OutFile {
 public:
  enum class Mode { Replace, Append };
  OutFile() = default;
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  OutFile(OutFile&& other) noexcept;
  OutFile& operator=(OutFile&& other) noexcept;

  // False when the file cannot be created/opened (the caller picks the message).
  bool open(const std::string& path, Mode mode = Mode::Replace);
  // Creates path, but messages name the file `shown` (the final name of a
  // file written under a temporary one).
  bool open_as(const std::string& path, const std::string& shown);
  bool is_open() const { return fp_ != nullptr; }
  const std::string& name() const { return name_; }

  void write(std::string_view bytes);
  void write(const char* p, size_t n) { write(std::string_view(p, n)); }
  // Writes the line and CR LF.
  void line(std::string_view text);
  // Flushes and closes; a failure is fatal.
  void close();
  // Keeps what was appended since open (no effect in Replace mode).
  void commit() { pending_ = false; }

 private:
  void flush_buffer();
  void flush_quietly();
  // Closes without checking; an uncommitted append is undone (a failure to
  // undo it is said on standard error).
  void release();
  std::FILE* fp_ = nullptr;
  std::string name_;
  // Allocated at the first buffered write and left uninitialised: a run
  // opens hundreds of files, most written in a few large pieces.
  std::unique_ptr<char[]> buf_;
  size_t used_ = 0;
  bool pending_ = false;   // appended data not yet committed
  bool created_ = false;   // the append's open created the file
  std::uintmax_t start_ = 0;  // length of the file at the append's open
};

}  // namespace vadz
