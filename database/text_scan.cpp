#include "database/text_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/text.h"

namespace junctra {
namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr std::uint64_t kLanes = 0x0001000100010001u;

// High bit set in each 16-bit lane of v that is zero; the lowest flagged
// lane is always a true one.
inline std::uint64_t ZeroLanes(std::uint64_t v) { return (v - kLanes) & ~v & 0x8000800080008000u; }

#ifdef __SSE2__
// Two bits set for each of the eight UTF-16 units of v that is a line feed,
// a carriage return or a NUL.
inline int BreakMask(__m128i v) {
  const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n')),
                                                 _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r'))),
                                    _mm_cmpeq_epi16(v, _mm_setzero_si128()));
  return _mm_movemask_epi8(hits);
}
#endif

}  // namespace

std::size_t FindBreakUnit(const char* p, std::size_t n) {
  std::size_t i = 0;
#ifdef __SSE2__
  // Eight units at a time.
  for (; i + 8 <= n; i += 8) {
    const int mask = BreakMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i)));
    if (mask != 0)
      return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
  }
#endif
  if constexpr (kLittleEndian) {
    // Four units at a time.
    for (; i + 4 <= n; i += 4) {
      std::uint64_t v;
      std::memcpy(&v, p + 2 * i, 8);
      const std::uint64_t hits =
          ZeroLanes(v) | ZeroLanes(v ^ (kLanes * u'\n')) | ZeroLanes(v ^ (kLanes * u'\r'));
      if (hits != 0) return i + static_cast<std::size_t>(std::countr_zero(hits)) / 16;
    }
  }
  for (; i < n; ++i) {
    const char16_t c = LoadUtf16Le(p + 2 * i);
    if (c == u'\n' || c == u'\r' || c == 0) return i;
  }
  return n;
}

std::size_t FindBreakByte(const char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] == '\n' || p[i] == '\r' || p[i] == 0) return i;
  }
  return n;
}

std::size_t FindBreakChar(const char16_t* text, std::size_t n) {
  if constexpr (kLittleEndian) return FindBreakUnit(reinterpret_cast<const char*>(text), n);
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] == u'\n' || text[i] == u'\r' || text[i] == 0) return i;
  }
  return n;
}

std::size_t CopyUntilBreak(const char* src, std::size_t n, char* dst) {
  std::size_t i = 0;
#ifdef __SSE2__
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i));
    // Stored whole, the units from the break on included.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * i), v);
    const int mask = BreakMask(v);
    if (mask != 0)
      return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
  }
#endif
  const std::size_t end = i + FindBreakUnit(src + 2 * i, n - i);
  std::memcpy(dst + 2 * i, src + 2 * i, 2 * (end - i));
  return end;
}

std::size_t WidenUntilBreak(const char* src, std::size_t n, char16_t* dst) {
  std::size_t i = 0;
#ifdef __SSE2__
  if constexpr (kLittleEndian) {
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)),
                                        _mm_cmpeq_epi8(v, zero));
      auto* out = reinterpret_cast<__m128i*>(dst + i);
      _mm_storeu_si128(out, _mm_unpacklo_epi8(v, zero));
      _mm_storeu_si128(out + 1, _mm_unpackhi_epi8(v, zero));
      const int mask = _mm_movemask_epi8(hits);
      if (mask != 0)
        return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
  }
#endif
  const std::size_t end = i + FindBreakByte(src + i, n - i);
  for (; i < end; ++i) dst[i] = static_cast<unsigned char>(src[i]);
  return end;
}

}  // namespace junctra
