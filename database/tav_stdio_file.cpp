#include "database/tav_stdio_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/text.h"

namespace junctra {
namespace {

constexpr std::uint32_t kReadAhead = 2048;
constexpr std::size_t kInitialConvBuffer = 128;

constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr std::uint64_t kLanes = 0x0001000100010001u;

// High bit set in each 16-bit lane of v that is zero; the lowest flagged
// lane is always a true one.
inline std::uint64_t ZeroLanes(std::uint64_t v) { return (v - kLanes) & ~v & 0x8000800080008000u; }

// Index of the first of n UTF-16LE units at p that is a LF, CR or NUL;
// n when there is none. Four units at a time.
std::size_t FindSpecialUnit(const char* p, std::size_t n) {
  std::size_t i = 0;
#ifdef __SSE2__
  // Eight units at a time.
  const __m128i lf = _mm_set1_epi16(u'\n');
  const __m128i cr = _mm_set1_epi16(u'\r');
  const __m128i zero = _mm_setzero_si128();
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, lf), _mm_cmpeq_epi16(v, cr)),
                                      _mm_cmpeq_epi16(v, zero));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0)
      return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
  }
#endif
  if constexpr (kLittleEndian) {
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

// The same over characters in memory.
std::size_t FindSpecialChar(const char16_t* text, std::size_t n) {
  if constexpr (kLittleEndian) return FindSpecialUnit(reinterpret_cast<const char*>(text), n);
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] == u'\n' || text[i] == u'\r' || text[i] == 0) return i;
  }
  return n;
}

std::size_t FindSpecialByte(const char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] == '\n' || p[i] == '\r' || p[i] == 0) return i;
  }
  return n;
}

// n characters to UTF-16LE bytes at out.
inline void StoreUnits(char* out, const char16_t* text, std::size_t n) {
  if constexpr (kLittleEndian) {
    std::memcpy(out, text, n * 2);
  } else {
    for (std::size_t k = 0; k < n; ++k) {
      out[2 * k] = static_cast<char>(text[k] & 0xFF);
      out[2 * k + 1] = static_cast<char>(text[k] >> 8);
    }
  }
}

}  // namespace

CTAVStdioFile::CTAVStdioFile(Env* env) : CStdioFile(env) { ResetState(); }

void CTAVStdioFile::ResetState() {
  m_nBufferStart = 0;
  m_readBuffer.assign(kReadAhead, 0);
  m_nBufferCount = 0;
  m_convBuffer.assign(kInitialConvBuffer, 0);
  m_nPosition = 0;
  m_bUnicode = false;
  m_bSkippedText = false;
  m_bSawCarriageReturn = false;
}

bool CTAVStdioFile::Open(const std::filesystem::path& path, unsigned flags) {
  m_nPosition = 0;
  m_nBufferStart = 0;
  m_nBufferCount = 0;
  m_strChunk.clear();
  m_bSkippedText = false;
  m_bSawCarriageReturn = false;

  const bool writes = (flags & (CFile::modeWrite | CFile::modeReadWrite)) != 0;
  if ((flags & CFile::modeCreate) && writes &&
      !((flags & CFile::modeNoTruncate) && FileExists(path, env()))) {
    m_bUnicode = true;
    if (!CStdioFile::Open(path, (flags & ~CFile::typeText) | CFile::typeBinary)) return false;
    const unsigned char bom[2] = {0xFF, 0xFE};
    CStdioFile::Write(bom, 2);
    return true;
  }

  // Probe the first two bytes through a second, read-only stream.
  unsigned char head[2] = {0, 0};
  std::uint32_t got = 0;
  {
    CStdioFile probe(env());
    if (!probe.Open(path, flags & ~(CFile::typeText | CFile::modeWrite | CFile::modeReadWrite))) {
      return false;
    }
    got = probe.Read(head, 2);
    probe.Close();
  }
  const bool bom = got == 2 && head[0] == 0xFF && head[1] == 0xFE;
  m_bUnicode = bom || head[0] == 0 || head[1] == 0;

  if (!CStdioFile::Open(path, (flags & ~CFile::typeText) | CFile::typeBinary)) return false;
  Seek(bom ? 2 : 0, CFile::begin);
  return true;
}

std::uint64_t CTAVStdioFile::Seek(std::int64_t offset, int origin) {
  m_nPosition = CStdioFile::Seek(offset, origin);
  return m_nPosition;
}

bool CTAVStdioFile::FillBuffer() {
  m_nBufferStart = GetLogicalPosition();
  Seek(static_cast<std::int64_t>(GetLogicalPosition()), CFile::begin);
  m_nBufferCount =
      CStdioFile::Read(m_readBuffer.data(), static_cast<std::uint32_t>(m_readBuffer.size()));
  return m_nBufferCount != 0;
}

std::uint32_t CTAVStdioFile::Read(void* dst, std::uint32_t count) {
  if (count > m_readBuffer.size()) {
    // Large request: past the read-ahead, straight into dst.
    CStdioFile::Seek(static_cast<std::int64_t>(m_nPosition), CFile::begin);
    const std::uint32_t got = CStdioFile::Read(dst, count);
    if (got == 0) return 0;
    m_nBufferCount = 0;
    m_nBufferStart = 0;
    m_nPosition += got;
    return got;
  }
  if (m_nBufferCount == 0 || m_nPosition + count > m_nBufferStart + m_nBufferCount) {
    if (!FillBuffer()) return 0;
  }
  if (m_nPosition < m_nBufferStart && !FillBuffer()) return 0;
  const std::uint64_t offset = m_nPosition - m_nBufferStart;
  const std::uint32_t n =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(count, m_nBufferCount - offset));
  std::memcpy(dst, m_readBuffer.data() + offset, n);
  m_nPosition += n;
  return n;
}

std::uint64_t CTAVStdioFile::BufferedFrom(std::uint64_t pos, const char** data,
                                          bool* endOfFile) const {
  if (m_nBufferCount == 0 || pos < m_nBufferStart || pos > m_nBufferStart + m_nBufferCount) {
    *data = nullptr;
    *endOfFile = false;
    return 0;
  }
  *data = m_readBuffer.data() + (pos - m_nBufferStart);
  // A refill that came back short met the end of the file.
  *endOfFile = m_nBufferCount < m_readBuffer.size();
  return m_nBufferStart + m_nBufferCount - pos;
}

std::uint64_t CTAVStdioFile::ConvertUntilStop(const char* data, std::uint64_t from,
                                              std::uint64_t to, Stop* stop) {
  const std::size_t unit = m_bUnicode ? 2 : 1;
  std::uint64_t at = from;
  if (at >= to) return at;  // also when the file shrank under a refill
  for (;;) {
    // Runs between carriage returns are appended whole.
    const std::uint64_t special =
        at + unit * (m_bUnicode ? FindSpecialUnit(data + at, (to - at) / 2)
                                : FindSpecialByte(data + at, to - at));
    const std::size_t run = static_cast<std::size_t>(special - at) / unit;
    if (m_bUnicode) {
      AppendUtf16Le(m_strChunk, data + at, run);
    } else {
      // ISO 8859-1: each byte is the character of that code.
      const auto* bytes = reinterpret_cast<const unsigned char*>(data + at);
      m_strChunk.append(bytes, bytes + run);
    }
    if (special >= to) return to;
    const char16_t c =
        m_bUnicode ? LoadUtf16Le(data + special) : static_cast<unsigned char>(data[special]);
    if (c != u'\r') {
      *stop = c == 0 ? Stop::kNul : Stop::kLineFeed;
      return special;
    }
    m_bSawCarriageReturn = true;
    at = special + unit;
  }
}

// The chunk is the bytes [pos, pos + (count - 1) * unit) of the file, cut at
// its end. Rather than copying it whole, this looks at the read-ahead buffer
// as it stands and refills it only when the bytes seen so far do not decide
// the result; the text returned and the new logical position are those of
// reading the whole chunk.
bool CTAVStdioFile::FetchChunk(std::uint32_t count, bool* lineEnded, bool keepLineFeed) {
  if (count < 1) return false;
  const std::uint64_t pos = GetLogicalPosition();
  *lineEnded = false;
  const std::uint32_t unit = m_bUnicode ? 2 : 1;
  const std::uint64_t need = std::uint64_t{count} * unit;
  if (need > m_convBuffer.size()) m_convBuffer.resize(static_cast<std::size_t>(need));
  const std::uint64_t want = need - unit;
  if (want == 0) return false;

  m_strChunk.clear();
  Stop stop = Stop::kNone;
  std::uint64_t scanned = 0;  // bytes of the chunk converted or passed, whole units
  std::uint64_t got = 0;      // length of the chunk, once known
  const char* chunk = nullptr;
  for (;;) {
    const char* data;
    bool endOfFile;
    const std::uint64_t have = BufferedFrom(pos, &data, &endOfFile);
    const std::uint64_t avail = std::min(have, want);
    if (stop == Stop::kNone) scanned = ConvertUntilStop(data, scanned, avail - avail % unit, &stop);
    if (stop == Stop::kLineFeed) break;
    if (have >= want || endOfFile) {
      got = avail;
      chunk = data;
      break;
    }
    if (want > m_readBuffer.size()) {
      // Larger than the read-ahead: read the chunk itself.
      got = Read(m_convBuffer.data(), static_cast<std::uint32_t>(want));
      chunk = m_convBuffer.data();
      if (stop == Stop::kNone) {
        scanned = ConvertUntilStop(chunk, scanned, got - got % unit, &stop);
      }
      break;
    }
    // The refill starts at pos and holds the whole chunk or reaches the end.
    if (!FillBuffer()) break;
  }

  if (stop == Stop::kLineFeed) {
    if (keepLineFeed) m_strChunk.push_back(u'\n');
    Seek(static_cast<std::int64_t>(pos + scanned + unit), CFile::begin);
    *lineEnded = true;
    return true;
  }
  if (got < 1) return false;
  // No line end: the whole chunk is consumed, a NUL's tail and an odd last
  // byte included. A tail of NULs is padding; anything else is text lost.
  if (stop == Stop::kNul) {
    const std::uint64_t whole = got - got % unit;
    m_bSkippedText = m_bSkippedText ||
                     std::any_of(chunk + scanned, chunk + whole, [](char b) { return b != 0; });
  }
  m_nPosition = pos + got;
  return true;
}

const char16_t* CTAVStdioFile::ReadString(char16_t* buffer, std::uint32_t nMax) {
  m_nLastReadLength = 0;
  if (nMax < 1) return nullptr;
  buffer[0] = 0;
  std::uint32_t remaining = nMax;
  std::size_t& length = m_nLastReadLength;
  while (remaining > 0) {
    const std::uint32_t chunk =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(m_convBuffer.size(), remaining));
    bool lineEnded = false;
    if (!FetchChunk(chunk, &lineEnded, true)) return remaining == nMax ? nullptr : buffer;
    std::memcpy(buffer + length, m_strChunk.data(), m_strChunk.size() * sizeof(char16_t));
    length += m_strChunk.size();
    buffer[length] = 0;
    remaining -= static_cast<std::uint32_t>(m_strChunk.size());
    if (lineEnded) break;
  }
  return buffer;
}

void CTAVStdioFile::WriteString(std::u16string_view text) {
  if (text.empty()) return;
  // Each character takes two bytes, a line end four.
  if (m_writeBuffer.size() < text.size() * 4) m_writeBuffer.resize(text.size() * 4);
  char* out = m_writeBuffer.data();
  std::size_t at = 0;
  for (;;) {
    const std::size_t special = at + FindSpecialChar(text.data() + at, text.size() - at);
    StoreUnits(out, text.data() + at, special - at);
    out += 2 * (special - at);
    if (special == text.size() || text[special] == 0) break;  // the text ends at a NUL
    const char crlf[4] = {'\r', 0, '\n', 0};
    std::memcpy(out, crlf, 4);
    out += 4;
    at = special + 1;
  }
  if (out != m_writeBuffer.data()) {
    Write(m_writeBuffer.data(), static_cast<std::uint32_t>(out - m_writeBuffer.data()));
  }
}

bool FileExists(const std::filesystem::path& path, Env* env) {
  return !path.empty() && env->FileExists(path);
}

}  // namespace junctra
