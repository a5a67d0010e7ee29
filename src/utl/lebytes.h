// Binary outputs are little-endian whatever the machine: the flow models
// and scripts that read them assume the layout of the common PC.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

namespace vadz {

// The 4 bytes of v, least significant first.
inline void put_le32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xffu);
}

// The 8 bytes of an IEEE double, least significant first.
inline void put_le64(char* p, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  if constexpr (std::endian::native == std::endian::big) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xffu);
  } else {
    std::memcpy(p, &v, 8);
  }
}

}  // namespace vadz
