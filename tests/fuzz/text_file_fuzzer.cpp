// The text file class over arbitrary bytes: read to the end at several
// limits and line by line, it delivers exactly what the literal reading of
// its algorithm delivers, never more than the limit, and never a carriage
// return or a NUL. The whole file decoded in place gives the same pieces,
// one after another in its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "database/file_text.h"
#include "database/tav_stdio_file.h"
#include "database/text_store.h"
#include "tests/database/reference_text_file.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_env.h"

namespace junctra {
namespace {

constexpr char kPath[] = "/text";

void ReadPieces(MemoryEnv& env, const std::string& bytes, std::uint32_t nMax) {
  CTAVStdioFile file(&env);
  FUZZ_CHECK(file.Open(kPath, CFile::modeRead | CFile::shareDenyWrite));
  ReferenceTextFile reference(bytes);
  FUZZ_CHECK(file.IsUnicode() == reference.unicode());
  std::vector<char16_t> buffer(nMax);
  for (;;) {
    const char16_t* text = file.ReadString(buffer.data(), nMax);
    const auto expected = reference.ReadString(nMax);
    FUZZ_CHECK((text == nullptr) == !expected.has_value());
    if (text == nullptr) break;
    const std::size_t length = file.GetLastReadLength();
    FUZZ_CHECK(length <= nMax - 1);
    FUZZ_CHECK(text[length] == 0);
    const std::u16string_view piece(text, length);
    FUZZ_CHECK(piece.find(u'\r') == std::u16string_view::npos);
    FUZZ_CHECK(piece.find(char16_t{0}) == std::u16string_view::npos);
    // A line feed only ever ends a piece.
    FUZZ_CHECK(piece.find(u'\n') == std::u16string_view::npos || piece.find(u'\n') == length - 1);
    FUZZ_CHECK(piece == *expected);
    FUZZ_CHECK(file.GetLogicalPosition() == reference.position());
    FUZZ_CHECK(file.SkippedTextAfterNul() == reference.skipped_text());
    FUZZ_CHECK(file.SawCarriageReturn() == reference.saw_cr());
  }
  file.Close();
}

void DecodeWhole(MemoryEnv& env, const std::string& bytes, std::uint32_t nMax) {
  CTAVStdioFile file(&env);
  FUZZ_CHECK(file.Open(kPath, CFile::modeRead | CFile::shareDenyWrite));
  ReferenceTextFile reference(bytes);
  TextStore store;
  FileText text(file, nMax, store);
  const char16_t* end = nullptr;
  for (;;) {
    const auto expected = reference.ReadString(nMax);
    std::u16string_view piece;
    FUZZ_CHECK(text.NextPiece(&piece) == expected.has_value());
    FUZZ_CHECK(text.SkippedTextAfterNul() == reference.skipped_text());
    FUZZ_CHECK(text.SawCarriageReturn() == reference.saw_cr());
    if (!expected) break;
    FUZZ_CHECK(piece == *expected);
    FUZZ_CHECK(end == nullptr || piece.data() == end);
    end = piece.data() + piece.size();
  }
}

}  // namespace
}  // namespace junctra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junctra;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryEnv env;
  env.AddFolder("/");
  env.SetFile(kPath, bytes);
  for (std::uint32_t nMax : {1u, 2u, 1023u, 1024u}) {
    ReadPieces(env, bytes, nMax);
    DecodeWhole(env, bytes, nMax);
  }
  return 0;
}
