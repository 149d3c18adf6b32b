#include "app/settings_folder.h"

#include <optional>
#include <string>

#include "platform/path_ops.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace junctra {
namespace {

// A CompanyID of this value leaves the version out of the folder name.
constexpr std::int32_t kCompanyWithoutVersion = 40;

// A query that claims success with an empty path counts as failed, so that
// the settings never land in the file system's root.
std::optional<std::filesystem::path> NonEmpty(std::optional<std::filesystem::path> folder) {
  if (folder && folder->empty()) return std::nullopt;
  return folder;
}

}  // namespace

std::u16string GetProductFolderName(const std::filesystem::path& product_file, bool with_version,
                                    Env* env) {
  std::u16string name =
      GetPrivateProfileString(u"OEM", u"ProductName", u"Corvane", 256, product_file, env);
  if (with_version) {
    name += u" v";
    name += GetPrivateProfileString(u"Install", u"Version", u"6.1", 128, product_file, env);
  }
  CutToBufferSize(name, kProductFolderNameMax + 1);
  return name;
}

std::filesystem::path GetSettingsFolder(Env* env) {
  std::filesystem::path program_folder;
  std::string module_name;
  if (!SplitFileName(env->ModuleFileName(), &program_folder, &module_name)) return {};

  if (env->OsMajorVersion() <= 4) return program_folder;

  const std::filesystem::path product_file = MakeFilePath(program_folder, kProgramSettingsFileName);
  std::optional<std::string> product_folder;
  if (env->FileExists(product_file)) {
    std::int32_t company =
        ParseDecimal(GetPrivateProfileString(u"OEM", u"CompanyID", u"0", 128, product_file, env));
    product_folder =
        Utf16ToUtf8(GetProductFolderName(product_file, company != kCompanyWithoutVersion, env));
  }

  std::optional<std::filesystem::path> base = NonEmpty(env->KnownLocalAppDataFolder());
  if (!base) base = NonEmpty(env->LocalAppDataFolder());
  if (!base) return program_folder;
  std::filesystem::path folder = *base;
  EnsureTrailingBackslash(folder);
  if (product_folder) {
    folder = MakeFilePath(folder, *product_folder);
    folder += std::filesystem::path::preferred_separator;
  }
  return folder;
}

}  // namespace junctra
