#include "platform/profile.h"

#include <memory>
#include <optional>

#include "platform/text.h"

namespace junctra {
namespace {

// Far more than settings files hold, and little enough memory to take.
constexpr std::uint64_t kMaxFileBytes = 64 * 1024;

// The whole file as text; empty optional when it cannot be read or is
// larger than kMaxFileBytes.
std::optional<std::u16string> ReadText(const std::filesystem::path& path, Env* env) {
  if (path.empty()) return std::nullopt;
  std::unique_ptr<File> file;
  if (env->OpenFile(path, OpenMode{}, &file) != 0) return std::nullopt;
  std::uint64_t size = 0;
  if (file->Size(&size) != 0 || size > kMaxFileBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  if (file->ReadAt(0, bytes.data(), bytes.size(), &got) != 0) return std::nullopt;
  bytes.resize(got);

  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::u16string text;
    AppendUtf16Le(text, bytes.data() + 2, (bytes.size() - 2) / 2);
    return text;
  }
  std::string_view utf8 = bytes;
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  return Utf8ToUtf16(utf8);
}

// The value of key in the first section named section, if there is one.
std::optional<std::u16string_view> FindValue(std::u16string_view text, std::u16string_view section,
                                             std::u16string_view key) {
  bool in_section = false;
  while (!text.empty()) {
    std::size_t end = text.find_first_of(u"\r\n");
    std::u16string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      // Only the first section of a name counts.
      if (in_section) return std::nullopt;
      std::u16string_view name = line.substr(1);
      name = Trim(name.substr(0, name.find(u']')));
      in_section = EqualsIgnoringAsciiCase(name, section);
      continue;
    }
    if (!in_section) continue;
    // A line without "=" is a key without a value.
    std::size_t equals = line.find(u'=');
    std::u16string_view name = Trim(line.substr(0, equals));
    if (!EqualsIgnoringAsciiCase(name, key)) continue;
    if (equals == std::u16string_view::npos) return std::u16string_view();
    std::u16string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return std::nullopt;
}

}  // namespace

void CutToBufferSize(std::u16string& text, std::size_t buffer_size) {
  std::size_t limit = buffer_size == 0 ? 0 : buffer_size - 1;
  if (text.size() <= limit) return;
  // Keep a pair whole: drop a high surrogate whose partner is cut off.
  if (limit > 0 && text[limit - 1] >= 0xD800 && text[limit - 1] <= 0xDBFF) --limit;
  text.resize(limit);
}

std::u16string GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view default_value, std::size_t buffer_size,
                                       const std::filesystem::path& path, Env* env) {
  std::u16string result;
  std::optional<std::u16string> text = ReadText(path, env);
  std::optional<std::u16string_view> value;
  if (text) value = FindValue(*text, section, key);
  if (value) {
    result = *value;
  } else {
    while (!default_value.empty() && IsWhiteSpace(default_value.back())) {
      default_value.remove_suffix(1);
    }
    result = default_value;
  }
  CutToBufferSize(result, buffer_size);
  return result;
}

}  // namespace junctra
