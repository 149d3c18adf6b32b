#include "platform/resource_module.h"

#include "platform/text.h"

namespace junctra {
namespace {

const ResourceModule* g_current = nullptr;

}  // namespace

const ResourceModule& ResourceModule::BuiltIn() {
  static const ResourceModule module(JunctraBuiltInResources());
  return module;
}

std::u16string ResourceModule::LoadString(unsigned id) const {
  if (table_ != nullptr) {
    for (std::size_t i = 0; i < table_->string_count; ++i) {
      const JunctraString& entry = table_->strings[i];
      if (entry.id == id && entry.text != nullptr) return Utf8ToUtf16(entry.text);
    }
  }
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
