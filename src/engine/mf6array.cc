#include "engine/mf6array.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "utl/lebytes.h"

namespace vadz {

namespace {

void encode_header(const Mf6ArrayHeader& h, char* p) {
  put_le32(p, 1u);  // one time step per period
  put_le32(p + 4, static_cast<uint32_t>(h.kper));
  put_le64(p + 8, h.pertim);
  put_le64(p + 16, h.totim);
  const size_t n = std::min<size_t>(h.text.size(), 16);
  std::fill(p + 24, p + 40 - n, ' ');
  std::copy_n(h.text.data(), n, p + 40 - n);
  put_le32(p + 40, static_cast<uint32_t>(NCOL));
  put_le32(p + 44, static_cast<uint32_t>(NROW));
  put_le32(p + 48, 1u);
}

}  // namespace

void encode_mf6_array(const Mf6ArrayHeader& h, const RealGrid& values, std::string& buf) {
  buf.resize(mf6_array_bytes());
  char* p = buf.data();
  encode_header(h, p);
  p += MF6_HEADER_BYTES;
  // The grid's own order is MODFLOW's: row 1 first, column fastest.
  for (int i = 0; i < NCELL; ++i) put_le64(p + 8 * static_cast<size_t>(i), values[i]);
}

void write_mf6_array(OutFile& out, const Mf6ArrayHeader& h, const RealGrid& values,
                     std::string& buf) {
  if constexpr (std::endian::native == std::endian::little) {
    char head[MF6_HEADER_BYTES];
    encode_header(h, head);
    out.write(head, MF6_HEADER_BYTES);
    out.write(reinterpret_cast<const char*>(values.data()), sizeof(double) * values.size());
  } else {
    encode_mf6_array(h, values, buf);
    out.write(buf);
  }
}

}  // namespace vadz
