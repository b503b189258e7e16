// Little-endian loads and stores of the 16- and 32-bit fields of the data
// files. Every field is assembled from bytes with shifts, so the result does
// not depend on the host's byte order or on the alignment of the buffer.
#ifndef FORMATS_BYTE_ORDER_H_
#define FORMATS_BYTE_ORDER_H_

#include <bit>
#include <cstdint>

namespace formats {

inline std::uint16_t load_u16le(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t load_u32le(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) |
         (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::int16_t load_i16le(const std::uint8_t* p) {
  return static_cast<std::int16_t>(load_u16le(p));
}

inline std::int32_t load_i32le(const std::uint8_t* p) {
  return static_cast<std::int32_t>(load_u32le(p));
}

// IEEE 754 single precision, stored little-endian.
inline float load_f32le(const std::uint8_t* p) {
  return std::bit_cast<float>(load_u32le(p));
}

inline void store_u16le(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void store_u32le(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline void store_i16le(std::uint8_t* p, std::int16_t v) {
  store_u16le(p, static_cast<std::uint16_t>(v));
}

inline void store_i32le(std::uint8_t* p, std::int32_t v) {
  store_u32le(p, static_cast<std::uint32_t>(v));
}

inline void store_f32le(std::uint8_t* p, float v) {
  store_u32le(p, std::bit_cast<std::uint32_t>(v));
}

}  // namespace formats

#endif  // FORMATS_BYTE_ORDER_H_
