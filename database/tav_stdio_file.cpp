#include "database/tav_stdio_file.h"

#include <algorithm>
#include <cstring>

namespace junctra {
namespace {

constexpr std::uint32_t kReadAhead = 2048;
constexpr std::size_t kInitialConvBuffer = 128;

inline char16_t LoadUnit(const char* p) {
  return static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                               (static_cast<unsigned char>(p[1]) << 8));
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
}

bool CTAVStdioFile::Open(const std::filesystem::path& path, unsigned flags) {
  m_nPosition = 0;
  m_nBufferStart = 0;
  m_nBufferCount = 0;
  m_strChunk.clear();

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
  // Find the stop first so that only the kept characters are converted.
  std::uint64_t end = from;
  if (m_bUnicode) {
    for (; end < to; end += 2) {
      const char16_t c = LoadUnit(data + end);
      if (c == u'\n' || c == 0) {
        *stop = c == 0 ? Stop::kNul : Stop::kLineFeed;
        break;
      }
    }
  } else {
    for (; end < to; ++end) {
      const char c = data[end];
      if (c == '\n' || c == 0) {
        *stop = c == 0 ? Stop::kNul : Stop::kLineFeed;
        break;
      }
    }
  }
  const std::size_t unit = m_bUnicode ? 2 : 1;
  const std::size_t old = m_strChunk.size();
  m_strChunk.resize(old + static_cast<std::size_t>(end - from) / unit);
  char16_t* out = m_strChunk.data() + old;
  for (std::uint64_t i = from; i < end; i += unit) {
    const char16_t c = m_bUnicode ? LoadUnit(data + i)
                                  : static_cast<char16_t>(static_cast<unsigned char>(data[i]));
    *out = c;
    out += c != u'\r';
  }
  m_strChunk.resize(static_cast<std::size_t>(out - m_strChunk.data()));
  return end;
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
  for (;;) {
    const char* data;
    bool endOfFile;
    const std::uint64_t have = BufferedFrom(pos, &data, &endOfFile);
    const std::uint64_t avail = std::min(have, want);
    if (stop == Stop::kNone) scanned = ConvertUntilStop(data, scanned, avail - avail % unit, &stop);
    if (stop == Stop::kLineFeed) break;
    if (have >= want || endOfFile) {
      got = avail;
      break;
    }
    if (want > m_readBuffer.size()) {
      // Larger than the read-ahead: read the chunk itself.
      got = Read(m_convBuffer.data(), static_cast<std::uint32_t>(want));
      if (stop == Stop::kNone) {
        scanned = ConvertUntilStop(m_convBuffer.data(), scanned, got - got % unit, &stop);
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
  // byte included.
  m_nPosition = pos + got;
  return true;
}

const char16_t* CTAVStdioFile::ReadString(char16_t* buffer, std::uint32_t nMax) {
  if (nMax < 1) return nullptr;
  buffer[0] = 0;
  std::uint32_t remaining = nMax;
  std::size_t length = 0;
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

bool CTAVStdioFile::ReadString(std::u16string& line) {
  line.clear();
  const std::uint32_t unit = m_bUnicode ? 2 : 1;
  bool lineEnded = false;
  while (FetchChunk(static_cast<std::uint32_t>(m_convBuffer.size() / unit), &lineEnded, false)) {
    line += m_strChunk;
    if (lineEnded) break;
  }
  return lineEnded || !line.empty();
}

void CTAVStdioFile::WriteString(std::u16string_view text) {
  text = text.substr(0, std::min(text.find(u'\0'), text.size()));
  if (text.empty()) return;
  // Each character takes two bytes, a line end four.
  if (m_writeBuffer.size() < text.size() * 4) m_writeBuffer.resize(text.size() * 4);
  char* out = m_writeBuffer.data();
  for (const char16_t c : text) {
    if (c == u'\n' || c == u'\r') {
      const char crlf[4] = {'\r', 0, '\n', 0};
      std::memcpy(out, crlf, 4);
      out += 4;
    } else {
      out[0] = static_cast<char>(c & 0xFF);
      out[1] = static_cast<char>(c >> 8);
      out += 2;
    }
  }
  Write(m_writeBuffer.data(), static_cast<std::uint32_t>(out - m_writeBuffer.data()));
}

bool FileExists(const std::filesystem::path& path, Env* env) {
  return !path.empty() && env->FileExists(path);
}

}  // namespace junctra
