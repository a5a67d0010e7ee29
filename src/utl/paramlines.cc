#include "utl/paramlines.h"

#include "utl/textio.h"

namespace vadz {

ParamLines::ParamLines(std::string content, std::string name)
    : content_(std::move(content)), name_(std::move(name)) {
  LineReader rd(content_);
  std::string_view l;
  while (rd.next(l)) lines_.push_back(l);
}

bool ParamLines::next(std::string& line) {
  if (next_ >= lines_.size()) return false;
  line.assign(lines_[next_++]);
  return true;
}

void ParamLines::unread() {
  if (next_ > 0) --next_;
}

}  // namespace vadz
