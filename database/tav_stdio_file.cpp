#include "database/tav_stdio_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "database/read_chunk.h"
#include "database/text_scan.h"

namespace junctra {
namespace {

constexpr std::uint32_t kReadAhead = 2048;

// The characters of text up to its next break, as UTF-16LE bytes at out;
// how many.
std::size_t CopyRun(const char16_t* text, std::size_t n, char* out) {
  if constexpr (std::endian::native == std::endian::little) {
    return CopyUntilBreak(reinterpret_cast<const char*>(text), n, out);
  } else {
    const std::size_t run = FindBreakChar(text, n);
    for (std::size_t k = 0; k < run; ++k) {
      out[2 * k] = static_cast<char>(text[k] & 0xFF);
      out[2 * k + 1] = static_cast<char>(text[k] >> 8);
    }
    return run;
  }
}

// text as UTF-16LE at out, each LF and CR as CR LF, up to its first NUL
// (then *at_nul is set); returns the bytes written.
std::size_t EncodeLines(std::u16string_view text, char* out, bool* at_nul) {
  char* const begin = out;
  std::size_t at = 0;
  for (;;) {
    const std::size_t run = CopyRun(text.data() + at, text.size() - at, out);
    out += 2 * run;
    const std::size_t stop = at + run;
    if (stop == text.size()) break;
    if (text[stop] == 0) {
      *at_nul = true;
      break;
    }
    const char crlf[4] = {'\r', 0, '\n', 0};
    std::memcpy(out, crlf, 4);
    out += 4;
    at = stop + 1;
  }
  return static_cast<std::size_t>(out - begin);
}

}  // namespace

CTAVStdioFile::CTAVStdioFile(Env* env) : CStdioFile(env) { ResetState(); }

void CTAVStdioFile::ResetState() {
  m_nBufferStart = 0;
  m_readBuffer.assign(kReadAhead, 0);
  m_nBufferCount = 0;
  m_reading = PieceReading();
  m_convBuffer.assign(m_reading.conv_size, 0);
  m_nPosition = 0;
  m_bUnicode = false;
}

bool CTAVStdioFile::Open(const std::filesystem::path& path, unsigned flags) {
  m_nPosition = 0;
  m_nBufferStart = 0;
  m_nBufferCount = 0;
  m_reading.skipped_text = false;
  m_reading.saw_carriage_return = false;

  const bool writes = (flags & (CFile::modeWrite | CFile::modeReadWrite)) != 0;
  if ((flags & CFile::modeCreate) && writes &&
      !((flags & CFile::modeNoTruncate) && FileExists(path, env()))) {
    m_bUnicode = true;
    if (!CStdioFile::Open(path, (flags & ~CFile::typeText) | CFile::typeBinary)) return false;
    const unsigned char bom[2] = {0xFF, 0xFE};
    CStdioFile::Write(bom, 2);
    return true;
  }

  // Probe the first two bytes, opened read-only.
  unsigned char head[2] = {0, 0};
  if (!CStdioFile::Open(path,
                        flags & ~(CFile::typeText | CFile::modeWrite | CFile::modeReadWrite))) {
    return false;
  }
  const std::uint32_t got = CStdioFile::Read(head, 2);
  CStdioFile::Close();
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

std::optional<ReadChunk> CTAVStdioFile::FetchChunk(std::uint32_t bytes, char16_t* buffer) {
  const std::uint64_t pos = GetLogicalPosition();
  if (m_reading.conv_size > m_convBuffer.size()) m_convBuffer.resize(m_reading.conv_size);
  const std::uint32_t got = Read(m_convBuffer.data(), bytes);
  if (got < 1) return std::nullopt;
  // The buffer's room left is never less than a chunk's characters and the
  // NUL after them.
  const ReadChunk chunk =
      DecodeChunk(m_convBuffer.data(), got, m_bUnicode, buffer + m_nLastReadLength);
  m_nLastReadLength += chunk.length;
  // Reading resumes right after the line feed.
  if (chunk.line_ended) Seek(static_cast<std::int64_t>(pos + chunk.consumed), CFile::begin);
  return chunk;
}

const char16_t* CTAVStdioFile::ReadString(char16_t* buffer, std::uint32_t nMax) {
  m_nLastReadLength = 0;
  if (nMax < 1) return nullptr;
  const std::size_t length = ReadPieceChunks(
      nMax, m_bUnicode, m_reading, [&](std::uint32_t bytes) { return FetchChunk(bytes, buffer); });
  buffer[length] = 0;
  return length == 0 ? nullptr : buffer;
}

void CTAVStdioFile::WriteString(std::u16string_view text) {
  // Slices that fit the write buffer even if every character were a line
  // end, which takes four bytes.
  constexpr std::size_t kSlice = kWriteBufferSize / 4;
  bool at_nul = false;
  while (!text.empty() && !at_nul) {
    const std::u16string_view slice = text.substr(0, kSlice);
    WriteInPlace(slice.size() * 4, [&](char* out) { return EncodeLines(slice, out, &at_nul); });
    text.remove_prefix(slice.size());
  }
}

std::string CTAVStdioFile::Encode(std::u16string_view text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(EncodeTo(text, bytes.data()));
  return bytes;
}

std::size_t CTAVStdioFile::EncodeTo(std::u16string_view text, char* out) {
  if (text.empty()) return 0;  // its data may be null
  bool at_nul = false;
  return EncodeLines(text, out, &at_nul);
}

void EncodedText::WriteBytes(std::string_view bytes) {
  std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
  size_ += bytes.size();
}

char* EncodedText::Room(std::size_t count) {
  if (capacity_ - size_ < count) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + count);
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }
  return data_.get() + size_;
}

bool FileExists(const std::filesystem::path& path, Env* env) {
  return !path.empty() && env->FileExists(path);
}

}  // namespace junctra
