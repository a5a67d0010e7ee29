#include "utl/textio.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "utl/console.h"

namespace vadz {

bool file_exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

bool read_whole_file(const std::string& path, std::string& buf) {
  // No input of the model comes near this; a device that never ends
  // (/dev/zero given as a file name) is refused instead of filling memory.
  constexpr size_t LIMIT = size_t{1} << 28;
  // A device or pipe is read a step at a time, so only what arrives is touched.
  constexpr size_t STEP = size_t{1} << 20;
  std::error_code ec;
  bool known = false;
  size_t size = 0;
  if (std::filesystem::is_regular_file(path, ec)) {
    const auto n = std::filesystem::file_size(path, ec);
    if (!ec) {
      if (n > LIMIT) return false;
      known = true;
      size = static_cast<size_t>(n);
    }
  }
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  buf.clear();
  // Room for the whole file and one byte more, whose absence shows the end.
  // A stream of unknown length gets the room of the limit at once: growing
  // by doubling would hold the old and the new buffer together near the limit.
  const size_t room = (known ? size : LIMIT) + 1;
  if (buf.capacity() < room) buf.reserve(room);
  bool ok = true;
  for (;;) {
    const size_t have = buf.size();
    if (have > LIMIT) {
      ok = false;
      break;
    }
    if (have == buf.capacity()) buf.reserve(std::min(2 * have, LIMIT + 1));  // the file grew
    // A regular file in one read of its length and one byte more; a stream,
    // or a file that grew while read, in steps. Only that much is cleared
    // first, however large the reused buffer.
    const size_t step = known && have <= size ? size + 1 - have : STEP;
    const size_t want = std::min(buf.capacity() - have, step);
    buf.resize(have + want);
    const size_t got = std::fread(buf.data() + have, 1, want, fp);
    buf.resize(have + got);
    if (got < want) {
      ok = !std::ferror(fp);
      break;
    }
  }
  std::fclose(fp);
  return ok;
}

bool LineReader::next(std::string_view& line) {
  if (pos_ >= data_.size()) return false;
  size_t e = data_.find('\n', pos_);
  size_t stop = e == std::string_view::npos ? data_.size() : e;
  size_t len = stop - pos_;
  if (len > 0 && data_[stop - 1] == '\r') --len;
  line = data_.substr(pos_, len);
  pos_ = e == std::string_view::npos ? data_.size() : e + 1;
  return true;
}

namespace {
constexpr size_t OUTBUF = 1u << 18;
}

OutFile::~OutFile() { release(); }

OutFile::OutFile(OutFile&& o) noexcept
    : fp_(o.fp_),
      name_(std::move(o.name_)),
      buf_(std::move(o.buf_)),
      used_(o.used_),
      pending_(o.pending_),
      created_(o.created_),
      start_(o.start_) {
  o.fp_ = nullptr;
  o.used_ = 0;
  o.pending_ = false;
}

OutFile& OutFile::operator=(OutFile&& o) noexcept {
  if (this != &o) {
    release();
    fp_ = o.fp_;
    name_ = std::move(o.name_);
    buf_ = std::move(o.buf_);
    used_ = o.used_;
    pending_ = o.pending_;
    created_ = o.created_;
    start_ = o.start_;
    o.fp_ = nullptr;
    o.used_ = 0;
    o.pending_ = false;
  }
  return *this;
}

void OutFile::release() {
  if (fp_) {
    if (!pending_) flush_quietly();
    std::fclose(fp_);
    fp_ = nullptr;
  }
  used_ = 0;
  if (!pending_) return;
  pending_ = false;
  std::error_code ec;
  if (created_) std::filesystem::remove(name_, ec);
  else std::filesystem::resize_file(name_, start_, ec);
  if (!ec) return;
  // Runs while a stop unwinds: said, never thrown.
  try {
    const std::string what = created_ ? "the file this run created cannot be removed again: "
                                      : "what this run appended cannot be cut off again (the "
                                        "file should end at byte " +
                                            std::to_string(start_) + "): ";
    diag_write(render(Diag{name_, what + ec.message(), {}, ""}, "warning"));
  } catch (...) {
  }
}

bool OutFile::open(const std::string& path, Mode mode) {
  release();
  name_ = path;
  // Only a regular file can be cut back; a device or pipe takes appends as
  // they come.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  created_ = type == std::filesystem::file_type::not_found;
  pending_ = mode == Mode::Append && (created_ || type == std::filesystem::file_type::regular);
  start_ = 0;
  if (pending_ && !created_) {
    start_ = std::filesystem::file_size(path, ec);
    if (ec) pending_ = false;
  }
  fp_ = std::fopen(path.c_str(), mode == Mode::Append ? "ab" : "wb");
  if (!fp_) {
    pending_ = false;
    return false;
  }
  std::setvbuf(fp_, nullptr, _IONBF, 0);
  return true;
}

bool OutFile::open_as(const std::string& path, const std::string& shown) {
  const bool ok = open(path);
  name_ = shown;
  return ok;
}

void OutFile::flush_buffer() {
  if (used_ > 0 && std::fwrite(buf_.get(), 1, used_, fp_) != used_) {
    used_ = 0;
    error2("Cannot write to file", name_);
  }
  used_ = 0;
}

void OutFile::flush_quietly() {
  if (used_ > 0) std::fwrite(buf_.get(), 1, used_, fp_);
  used_ = 0;
}

void OutFile::write(std::string_view bytes) {
  if (!fp_) error2("Cannot write to file", name_);
  if (bytes.size() >= OUTBUF) {
    // A large piece goes straight to the file, after what is buffered.
    flush_buffer();
    if (std::fwrite(bytes.data(), 1, bytes.size(), fp_) != bytes.size())
      error2("Cannot write to file", name_);
    return;
  }
  if (!buf_) buf_.reset(new char[OUTBUF]);
  if (used_ + bytes.size() > OUTBUF) flush_buffer();
  std::memcpy(buf_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void OutFile::line(std::string_view text) {
  write(text);
  write("\r\n", 2);
}

void OutFile::close() {
  if (!fp_) return;
  flush_buffer();
  std::FILE* fp = fp_;
  fp_ = nullptr;
  if (std::fclose(fp) != 0) error2("Cannot write to file", name_);
}

}  // namespace vadz
