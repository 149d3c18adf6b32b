#include "platform/resource_module.h"

#include "platform/env.h"
#include "platform/text.h"

namespace junctra {
namespace {

const ResourceModule* g_current = nullptr;

// Every array that a count says is there must be there.
bool TableIsUsable(const JunctraResourceTable* table) {
  return table != nullptr && table->format_version == JUNCTRA_RESOURCE_FORMAT_VERSION &&
         (table->string_count == 0 || table->strings != nullptr) &&
         (table->dialog_count == 0 || table->dialogs != nullptr) &&
         (table->icon_count == 0 || table->icons != nullptr);
}

}  // namespace

ResourceModule ResourceModule::Native(void* handle) {
  ResourceModule module(nullptr);
  module.native_ = handle;
  return module;
}

std::unique_ptr<ResourceModule> ResourceModule::FromLibrary(Library& library) {
  if (void* handle = library.ResourceHandle(); handle != nullptr) {
    if (!HasNativeStrings(handle)) return nullptr;
    return std::make_unique<ResourceModule>(Native(handle));
  }
  auto entry =
      reinterpret_cast<JunctraResourceTableFunction>(library.Symbol(JUNCTRA_RESOURCE_ENTRY_POINT));
  if (entry == nullptr) return nullptr;
  const JunctraResourceTable* table = entry();
  if (!TableIsUsable(table)) return nullptr;
  return std::make_unique<ResourceModule>(table);
}

std::optional<std::u16string> ResourceModule::FindString(unsigned id) const {
  if (native_ != nullptr) return NativeString(native_, id);
  if (table_ != nullptr) {
    for (std::size_t i = 0; i < table_->string_count; ++i) {
      const JunctraString& entry = table_->strings[i];
      if (entry.id == id && entry.text != nullptr) return Utf8ToUtf16(entry.text);
    }
  }
  return std::nullopt;
}

std::u16string ResourceModule::LoadString(unsigned id) const {
  if (std::optional<std::u16string> text = FindString(id)) return *std::move(text);
  if (id >= IDS_ERROR_READING_FILE && this != &BuiltIn()) return BuiltIn().LoadString(id);
  return {};
}

const JunctraDialog* ResourceModule::FindDialog(unsigned id) const {
  if (table_ == nullptr) return nullptr;
  for (std::size_t i = 0; i < table_->dialog_count; ++i) {
    if (table_->dialogs[i].id == id) return &table_->dialogs[i];
  }
  return nullptr;
}

const JunctraIcon* ResourceModule::FindIcon(unsigned id) const {
  if (table_ != nullptr) {
    for (std::size_t i = 0; i < table_->icon_count; ++i) {
      if (table_->icons[i].id == id && table_->icons[i].png_size > 0) return &table_->icons[i];
    }
  }
  return this == &BuiltIn() ? nullptr : BuiltIn().FindIcon(id);
}

const ResourceModule& CurrentResourceModule() {
  return g_current != nullptr ? *g_current : ResourceModule::BuiltIn();
}

void SetCurrentResourceModule(const ResourceModule* module) { g_current = module; }

}  // namespace junctra
