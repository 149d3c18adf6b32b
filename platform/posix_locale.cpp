#include "platform/locale.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/culture_table.h"
#include "platform/text.h"

namespace junctra {

std::uint32_t GetUserDefaultLCID(Env* env) {
  std::optional<std::string> value;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = env->GetEnvironmentVariable(name);
    if (value && !value->empty()) break;
    value.reset();
  }
  if (!value) return kLcidEnglishUs;

  std::string_view locale = *value;
  locale = locale.substr(0, locale.find('@'));
  locale = locale.substr(0, locale.find('.'));
  if (locale == "C" || locale == "POSIX") return kLcidEnglishUs;

  std::size_t underscore = locale.find('_');
  std::u16string language = Utf8ToUtf16(locale.substr(0, underscore));
  if (underscore != std::string_view::npos) {
    std::u16string specific = language + u"-" + Utf8ToUtf16(locale.substr(underscore + 1));
    if (std::uint32_t lcid = LcidFromCultureName(specific); lcid != 0) return lcid;
  }
  return LcidFromCultureName(language);
}

}  // namespace junctra
