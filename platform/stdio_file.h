// Buffered binary file stream by path: the stand-in for Windows'
// CFile/CStdioFile. Open reports failure by its result, and keeps the
// system's reason; errors while reading, seeking, writing or closing throw
// CFileException.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"

namespace junctra {

class CFileException : public std::exception {
 public:
  CFileException(std::filesystem::path path, int error, const char* operation);
  const std::filesystem::path& path() const { return path_; }
  // The system error (an errno value).
  int error() const { return error_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::filesystem::path path_;
  int error_;
  std::string message_;
};

// Open flags and seek origins, with the values Windows' file class uses.
struct CFile {
  static constexpr unsigned modeRead = 0x0000;
  static constexpr unsigned modeWrite = 0x0001;
  static constexpr unsigned modeReadWrite = 0x0002;
  static constexpr unsigned shareExclusive = 0x0010;
  static constexpr unsigned shareDenyWrite = 0x0020;
  static constexpr unsigned modeCreate = 0x1000;
  static constexpr unsigned modeNoTruncate = 0x2000;
  static constexpr unsigned typeText = 0x4000;
  static constexpr unsigned typeBinary = 0x8000;

  enum SeekPosition { begin = 0, current = 1, end = 2 };
};

class CStdioFile {
 public:
  explicit CStdioFile(Env* env = Env::Default());
  CStdioFile(const CStdioFile&) = delete;
  CStdioFile& operator=(const CStdioFile&) = delete;
  // Closes a file that is still open; errors are swallowed here, so writers
  // call Close() themselves to learn of them.
  virtual ~CStdioFile();

  // Opens path with CFile flags; false (nothing thrown) when it cannot be
  // opened: missing, a folder, no permission, locked by another opener.
  virtual bool Open(const std::filesystem::path& path, unsigned flags);
  // Why the last Open failed (an errno value); 0 after one that succeeded.
  int GetOpenError() const { return open_error_; }
  // Bytes read into dst; 0 at the end of the file.
  virtual std::uint32_t Read(void* dst, std::uint32_t count);
  // Returns the new position. Costs no system call for begin and current.
  virtual std::uint64_t Seek(std::int64_t offset, int origin);
  // Writes all bytes or throws.
  virtual void Write(const void* src, std::uint32_t count);
  virtual void Close();

  std::uint64_t GetLength();
  // Length and change times of the open file now (File::State).
  FileState GetState();
  // The path the file was opened with.
  const std::filesystem::path& GetFilePath() const { return path_; }

  // Pending writes go out in one call once this many have gathered: as
  // cat writes. A megabyte was no faster (saving 100,000 tags, 66 ms
  // against 64): a buffer larger than the cache is written from memory.
  static constexpr std::size_t kWriteBufferSize = 128 * 1024;

  // Writes what fill puts straight into the write buffer, sparing a copy to
  // writers that build their bytes anyway: fill gets room for max bytes
  // (at most kWriteBufferSize) and returns how many it wrote.
  template <class Fill>
  void WriteInPlace(std::size_t max, Fill fill) {
    char* out = WriteSpace(max);
    const std::size_t written = fill(out);
    write_count_ += written;
    position_ += written;
  }

 protected:
  Env* env() const { return env_; }

 private:
  // Room for count bytes at the end of the pending writes.
  char* WriteSpace(std::size_t count);
  void FlushWriteBuffer();
  [[noreturn]] void Fail(int error, const char* operation);

  static constexpr std::size_t kBufferSize = 64 * 1024;

  Env* env_;
  std::unique_ptr<File> file_;
  int open_error_ = 0;
  std::filesystem::path path_;
  std::uint64_t position_ = 0;
  // Read-ahead: bytes [read_start_, read_start_ + read_buffer_.size()).
  std::vector<char> read_buffer_;
  std::uint64_t read_start_ = 0;
  // Pending writes: bytes [write_start_, write_start_ + write_count_), in a
  // buffer that grows to kWriteBufferSize.
  std::unique_ptr<char[]> write_buffer_;
  std::size_t write_capacity_ = 0;
  std::size_t write_count_ = 0;
  std::uint64_t write_start_ = 0;
};

}  // namespace junctra
