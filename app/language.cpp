#include "app/language.h"

#include <utility>

#include "platform/locale.h"
#include "platform/path_ops.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace junctra {

ModuleHandle ModuleHandle::OwnModule() {
  ModuleHandle handle;
  handle.kind_ = Kind::kOwnModule;
  return handle;
}

ModuleHandle ModuleHandle::Satellite(std::unique_ptr<Library> library,
                                     std::unique_ptr<ResourceModule> module) {
  ModuleHandle handle;
  handle.kind_ = Kind::kSatellite;
  handle.library_ = std::move(library);
  handle.module_ = std::move(module);
  return handle;
}

ModuleHandle::ModuleHandle(ModuleHandle&& other) noexcept
    : kind_(std::exchange(other.kind_, Kind::kNull)),
      library_(std::move(other.library_)),
      module_(std::move(other.module_)) {}

ModuleHandle& ModuleHandle::operator=(ModuleHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    kind_ = std::exchange(other.kind_, Kind::kNull);
    library_ = std::move(other.library_);
    module_ = std::move(other.module_);
  }
  return *this;
}

const ResourceModule* ModuleHandle::module() const {
  switch (kind_) {
    case Kind::kOwnModule:
      return &ResourceModule::BuiltIn();
    case Kind::kSatellite:
      return module_.get();
    case Kind::kNull:
      break;
  }
  return nullptr;
}

void ModuleHandle::Reset() {
  // Never leave the current module pointing into a freed library.
  if (module_ != nullptr && &CurrentResourceModule() == module_.get()) {
    SetCurrentResourceModule(nullptr);
  }
  module_.reset();
  library_.reset();
  kind_ = Kind::kNull;
}

std::u16string ReadCultureName(const std::filesystem::path& settings_file, std::size_t length,
                               Env* env) {
  if (length == 0) return {};
  std::u16string culture;
  if (!settings_file.empty()) {
    culture = GetPrivateProfileString(u"Language", u"CultureName", u"", length, settings_file, env);
  }
  if (culture.empty()) {
    culture = CultureNameFromLcid(GetUserDefaultLCID(env));
    CutToBufferSize(culture, length);
  }
  return culture;
}

bool IsSafeCultureName(std::u16string_view culture) {
  for (char16_t c : culture) {
    bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
              c == u'-';
    if (!ok) return false;
  }
  return true;
}

std::string SatelliteFileName(std::string_view program_file_name) {
  std::string name(program_file_name);
  std::string extension;
  if (std::size_t dot = name.rfind('.'); dot != std::string::npos) {
    std::u16string after = Utf8ToUtf16(std::string_view(name).substr(dot + 1));
    for (std::string_view known : {"DLL", "EXE", "OCX", "COM"}) {
      if (EqualsIgnoringAsciiCase(after, Utf8ToUtf16(known))) {
        // The console program junctra.com uses junctra.exe's satellite.
        extension = known == "COM" ? "EXE" : known;
        name.resize(dot);
        break;
      }
    }
  }
  if (name.empty()) return {};
  if (!extension.empty()) name += "-" + extension;
  return name + std::string(kSatelliteSuffix);
}

void LoadSatelliteResources(std::u16string_view culture, ModuleHandle* handle, Env* env) {
  *handle = ModuleHandle::OwnModule();
  if (EqualsIgnoringAsciiCase(culture, u"en-US")) return;
  if (!IsSafeCultureName(culture)) culture = {};

  std::filesystem::path program_folder;
  std::string module_name;
  if (!SplitFileName(env->ModuleFileName(), &program_folder, &module_name)) return;
  const std::string file_name = SatelliteFileName(module_name);
  if (file_name.empty()) return;

  // Only the first existing culture folder counts, whether or not it holds
  // the library.
  std::string folder = Utf16ToUtf8(culture);
  while (!folder.empty() && !env->DirectoryExists(MakeFilePath(program_folder, folder))) {
    std::size_t dash = folder.rfind('-');
    folder.resize(dash == std::string::npos ? 0 : dash);
  }
  std::filesystem::path path = program_folder;
  if (!folder.empty()) {
    path = MakeFilePath(program_folder, folder);
    EnsureTrailingBackslash(path);
  }
  path = MakeFilePath(path, file_name);

  std::unique_ptr<Library> library = env->LoadLibrary(path);
  if (library == nullptr) return;
  std::unique_ptr<ResourceModule> module = ResourceModule::FromLibrary(*library);
  if (module == nullptr) return;
  *handle = ModuleHandle::Satellite(std::move(library), std::move(module));
}

void ReleaseSatelliteResources(ModuleHandle* handle) { handle->Reset(); }

}  // namespace junctra
