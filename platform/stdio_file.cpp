#include "platform/stdio_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/error_text.h"
#include "platform/text.h"

namespace junctra {

CFileException::CFileException(std::filesystem::path path, int error, const char* operation)
    : path_(std::move(path)), error_(error) {
  message_ =
      std::string(operation) + " " + Utf16ToUtf8(PathToUtf16(path_)) + ": " + ErrorText(error);
}

CStdioFile::CStdioFile(Env* env) : env_(env) {}

CStdioFile::~CStdioFile() {
  if (file_ == nullptr) return;
  try {
    Close();
  } catch (const CFileException&) {
    // Nobody left to tell; writers close explicitly.
  }
}

bool CStdioFile::Open(const std::filesystem::path& path, unsigned flags) {
  if (file_ != nullptr) Close();
  OpenMode mode;
  if (flags & CFile::modeReadWrite) {
    mode.read = true;
    mode.write = true;
  } else if (flags & CFile::modeWrite) {
    mode.read = false;
    mode.write = true;
  }
  if (flags & CFile::modeCreate) {
    mode.create = true;
    mode.truncate = !(flags & CFile::modeNoTruncate);
  }
  mode.deny_write = (flags & CFile::shareDenyWrite) != 0;
  mode.exclusive_share = (flags & CFile::shareExclusive) != 0;
  open_error_ = env_->OpenFile(path, mode, &file_);
  if (open_error_ != 0) {
    file_.reset();
    return false;
  }
  path_ = path;
  position_ = 0;
  read_buffer_.clear();
  read_start_ = 0;
  write_count_ = 0;
  write_start_ = 0;
  return true;
}

std::uint32_t CStdioFile::Read(void* dst, std::uint32_t count) {
  if (file_ == nullptr) Fail(EBADF, "read");
  FlushWriteBuffer();
  auto* out = static_cast<char*>(dst);
  std::uint32_t done = 0;
  while (done < count) {
    std::uint64_t end = read_start_ + read_buffer_.size();
    if (position_ >= read_start_ && position_ < end) {
      std::size_t offset = static_cast<std::size_t>(position_ - read_start_);
      std::size_t n = std::min<std::size_t>(count - done, read_buffer_.size() - offset);
      std::memcpy(out + done, read_buffer_.data() + offset, n);
      done += static_cast<std::uint32_t>(n);
      position_ += n;
      continue;
    }
    if (count - done >= kBufferSize) {
      // Large request: straight into the destination.
      std::size_t got = 0;
      if (int err = file_->ReadAt(position_, out + done, count - done, &got)) Fail(err, "read");
      done += static_cast<std::uint32_t>(got);
      position_ += got;
      break;
    }
    read_buffer_.resize(kBufferSize);
    std::size_t got = 0;
    int err = file_->ReadAt(position_, read_buffer_.data(), kBufferSize, &got);
    read_buffer_.resize(err == 0 ? got : 0);
    read_start_ = position_;
    if (err != 0) Fail(err, "read");
    if (got == 0) break;
  }
  return done;
}

std::uint64_t CStdioFile::Seek(std::int64_t offset, int origin) {
  if (file_ == nullptr) Fail(EBADF, "seek");
  std::int64_t base = 0;
  if (origin == CFile::current) {
    base = static_cast<std::int64_t>(position_);
  } else if (origin == CFile::end) {
    base = static_cast<std::int64_t>(GetLength());
  } else if (origin != CFile::begin) {
    Fail(EINVAL, "seek");
  }
  if (offset < 0 && -offset > base) Fail(EINVAL, "seek");
  FlushWriteBuffer();
  position_ = static_cast<std::uint64_t>(base + offset);
  return position_;
}

void CStdioFile::Write(const void* src, std::uint32_t count) {
  if (file_ == nullptr) Fail(EBADF, "write");
  // As much as the buffer holds or more goes to the file at once, after
  // what is pending, rather than copied through the buffer.
  if (count >= kWriteBufferSize) {
    read_buffer_.clear();
    FlushWriteBuffer();
    if (const int err = file_->WriteAt(position_, src, count)) Fail(err, "write");
    position_ += count;
    return;
  }
  const auto* in = static_cast<const char*>(src);
  while (count > 0) {
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(count, kWriteBufferSize));
    WriteInPlace(n, [&](char* out) {
      std::memcpy(out, in, n);
      return n;
    });
    in += n;
    count -= n;
  }
}

char* CStdioFile::WriteSpace(std::size_t count) {
  if (file_ == nullptr) Fail(EBADF, "write");
  // Reads after this write must see it.
  read_buffer_.clear();
  if (write_count_ != 0 && write_start_ + write_count_ != position_) FlushWriteBuffer();
  if (write_count_ + count > write_capacity_) {
    if (write_capacity_ < kWriteBufferSize) {
      // The buffer grows to its full size only for files that need it.
      const std::size_t capacity =
          std::min(kWriteBufferSize,
                   std::max({write_capacity_ * 2, write_count_ + count, std::size_t{4096}}));
      auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
      if (write_count_ != 0) std::memcpy(bigger.get(), write_buffer_.get(), write_count_);
      write_buffer_ = std::move(bigger);
      write_capacity_ = capacity;
    }
    if (write_count_ + count > write_capacity_) FlushWriteBuffer();
  }
  if (write_count_ == 0) write_start_ = position_;
  return write_buffer_.get() + write_count_;
}

void CStdioFile::Close() {
  if (file_ == nullptr) return;
  std::unique_ptr<File> file;
  int err = 0;
  if (write_count_ != 0) {
    err = file_->WriteAt(write_start_, write_buffer_.get(), write_count_);
    write_count_ = 0;
  }
  file.swap(file_);
  int close_err = file->Close();
  if (err == 0) err = close_err;
  if (err != 0) Fail(err, "close");
}

std::uint64_t CStdioFile::GetLength() {
  if (file_ == nullptr) Fail(EBADF, "size");
  FlushWriteBuffer();
  std::uint64_t size = 0;
  if (int err = file_->Size(&size)) Fail(err, "size");
  return size;
}

FileState CStdioFile::GetState() {
  if (file_ == nullptr) Fail(EBADF, "size");
  FlushWriteBuffer();
  FileState state;
  if (int err = file_->State(&state)) Fail(err, "size");
  return state;
}

void CStdioFile::FlushWriteBuffer() {
  if (write_count_ == 0) return;
  const int err = file_->WriteAt(write_start_, write_buffer_.get(), write_count_);
  write_count_ = 0;
  if (err != 0) Fail(err, "write");
}

void CStdioFile::Fail(int error, const char* operation) {
  throw CFileException(path_, error, operation);
}

}  // namespace junctra
