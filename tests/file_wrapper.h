// A File that forwards every call to another: test fakes derive from it and
// override only what they fake.
#pragma once

#include <memory>

#include "platform/env.h"

namespace junctra {

class FileWrapper : public File {
 public:
  explicit FileWrapper(std::unique_ptr<File> target) : target_(std::move(target)) {}

  int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
    return target_->ReadAt(offset, dst, n, got);
  }
  int WriteAt(std::uint64_t offset, const void* src, std::size_t n) override {
    return target_->WriteAt(offset, src, n);
  }
  int Sync() override { return target_->Sync(); }
  int Size(std::uint64_t* size) override { return target_->Size(size); }
  // The times of the file, its length as Size gives it.
  int State(FileState* state) override {
    if (int err = target_->State(state)) return err;
    return Size(&state->size);
  }
  int Close() override { return target_->Close(); }

 private:
  std::unique_ptr<File> target_;
};

}  // namespace junctra
