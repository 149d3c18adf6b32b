// The initialization-file reader over arbitrary files, sections, keys and
// buffer sizes: the value is the whole value cut to fit the buffer, a
// surrogate pair never split, and never reaches past its line.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/profile.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_env.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junctra;
  FuzzedDataProvider input(data, size);
  const std::u16string section = Utf8ToUtf16(input.ConsumeRandomLengthString(16));
  const std::u16string key = Utf8ToUtf16(input.ConsumeRandomLengthString(16));
  const std::u16string fallback = Utf8ToUtf16(input.ConsumeRandomLengthString(16));
  const std::size_t buffer_size = input.ConsumeIntegralInRange<std::size_t>(0, 300);
  MemoryEnv env;
  env.AddFolder("/");
  env.SetFile("/settings.ini", input.ConsumeRemainingBytesAsString());

  for (const auto& [s, k] : {std::pair{section, key}, std::pair{std::u16string(u"Language"),
                                                                std::u16string(u"CultureName")}}) {
    const std::u16string whole =
        GetPrivateProfileString(s, k, fallback, std::size_t{1} << 30, "/settings.ini", &env);
    FUZZ_CHECK(whole.find_first_of(u"\r\n") == std::u16string::npos ||
               fallback.find_first_of(u"\r\n") != std::u16string::npos);
    const std::u16string value =
        GetPrivateProfileString(s, k, fallback, buffer_size, "/settings.ini", &env);
    const std::size_t limit = buffer_size == 0 ? 0 : buffer_size - 1;
    FUZZ_CHECK(value.size() <= limit);
    FUZZ_CHECK(whole.starts_with(value));
    if (value.size() < whole.size()) {
      // Cut at the limit, or one short of it to keep a pair whole.
      const bool pair_kept = value.size() + 1 == limit && whole[value.size()] >= 0xD800 &&
                             whole[value.size()] <= 0xDBFF;
      FUZZ_CHECK(value.size() == limit || pair_kept);
    }
  }
  // A missing file gives the default.
  const std::u16string missing =
      GetPrivateProfileString(section, key, fallback, buffer_size, "/missing.ini", &env);
  FUZZ_CHECK(missing.size() + 1 <= std::max<std::size_t>(buffer_size, 1));
  return 0;
}
