// The text file class of the database files. Reads UTF-16LE (with or without
// byte-order mark) or 8-bit text, recognised by the first two bytes, and
// delivers lines as UTF-16 with every carriage return removed; writes
// UTF-16LE with a byte-order mark and CR LF line ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/read_chunk.h"
#include "database/text_out.h"
#include "platform/env.h"
#include "platform/stdio_file.h"

namespace junctra {

class CTAVStdioFile : public CStdioFile, public TextOut {
 public:
  explicit CTAVStdioFile(Env* env = Env::Default());

  // Creating opens (modeCreate with a write flag, unless modeNoTruncate keeps
  // an existing file) write the byte-order mark; every other open probes the
  // encoding. False, nothing thrown, when the file cannot be opened.
  bool Open(const std::filesystem::path& path, unsigned flags) override;
  // Records the new position as the logical position.
  std::uint64_t Seek(std::int64_t offset, int origin) override;
  // Raw bytes from the logical position, through the read-ahead buffer.
  std::uint32_t Read(void* dst, std::uint32_t count) override;

  // The next line into buffer (room for nMax characters), NUL-terminated, at
  // most nMax - 1 characters, its "\n" kept, no "\r". A longer line comes in
  // pieces. Null at the end of the file.
  const char16_t* ReadString(char16_t* buffer, std::uint32_t nMax);
  // Characters that the last ReadString into a buffer delivered.
  std::size_t GetLastReadLength() const { return m_nLastReadLength; }
  // Each "\n" and each "\r" becomes CR LF; the text ends at its first NUL.
  // The bytes go straight into the stream's write buffer.
  void WriteString(std::u16string_view text) override;
  void WriteString(const char16_t* text) { WriteString(std::u16string_view(text)); }
  void WriteBytes(std::string_view bytes) override {
    Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  // The bytes WriteString writes for text: for a fixed text written many
  // times, to be written with WriteBytes.
  static std::string Encode(std::u16string_view text);
  // The same into out, which has room for four bytes a character; returns
  // how many it wrote.
  static std::size_t EncodeTo(std::u16string_view text, char* out);

  std::uint64_t GetLogicalPosition() const { return m_nPosition; }
  bool IsUnicode() const { return m_bUnicode; }
  // A read cut a chunk at a NUL and skipped something other than NULs after
  // it: text of the file was never delivered. Stays set.
  bool SkippedTextAfterNul() const { return m_reading.skipped_text; }
  // A carriage return was removed from the text delivered so far.
  bool SawCarriageReturn() const { return m_reading.saw_carriage_return; }

 private:
  void ResetState();
  bool FillBuffer();
  // ReadPieceChunks' fetch for ReadString: decodes at most bytes bytes after the
  // characters of buffer read so far.
  std::optional<ReadChunk> FetchChunk(std::uint32_t bytes, char16_t* buffer);

  std::uint64_t m_nBufferStart = 0;
  std::vector<char> m_readBuffer;
  std::uint32_t m_nBufferCount = 0;
  std::uint64_t m_nPosition = 0;
  std::vector<char> m_convBuffer;
  bool m_bUnicode = false;
  std::size_t m_nLastReadLength = 0;
  PieceReading m_reading;
};

// Text encoded as CTAVStdioFile writes it, kept in memory to be written
// later, in a buffer that grows and is reused.
class EncodedText : public TextOut {
 public:
  void WriteString(std::u16string_view text) override {
    size_ += CTAVStdioFile::EncodeTo(text, Room(text.size() * 4));
  }
  void WriteBytes(std::string_view bytes) override;
  std::string_view bytes() const { return {data_.get(), size_}; }
  void Clear() { size_ = 0; }

 private:
  // Room for count more bytes.
  char* Room(std::size_t count);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// An entry exists at path and is not a folder; false for an empty path.
bool FileExists(const std::filesystem::path& path, Env* env = Env::Default());

}  // namespace junctra
