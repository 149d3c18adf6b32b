// The merge of two arbitrary databases, written into the second folder as
// a two-folder batch run does. Nothing crashes; a successful merge holds
// every tag and class name of both inputs; a conflict leaves the first
// lists as they were; a failed run leaves the second folder as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "merge/class_merge.h"
#include "merge/merge_command.h"
#include "merge/tag_merge.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_env.h"
#include "tests/recording_ui.h"
#include "tests/tag_lookup.h"

namespace junctra {
namespace {

// A file's bytes; absent files are left out.
struct Database {
  std::string classes;
  bool has_classes = false;
  std::string tags;
};

void Put(MemoryEnv& env, const std::string& folder, const Database& db) {
  env.AddFolder(folder);
  if (db.has_classes) env.SetFile(folder + "/class.lst", db.classes);
  env.SetFile(folder + "/tagl.txt", db.tags);
}

struct Lists {
  CClassList classes;
  CTagList tags;
};

void Load(MemoryEnv& env, const std::string& folder, Lists& lists) {
  if (env.HasFile(folder + "/class.lst"))
    lists.classes.LoadClassFile(folder + "/class.lst", nullptr, &env);
  lists.tags.LoadTagFile(folder + "/tagl.txt", nullptr, &env);
}

bool HasFoldedName(const std::vector<std::u16string_view>& names, std::u16string_view name) {
  for (const auto& n : names) {
    if (EqualsIgnoringAsciiCase(n, name)) return true;
  }
  return false;
}

std::vector<std::u16string_view> TagNames(const CTagList& list) {
  std::vector<std::u16string_view> names;
  list.m_tags.ForEach([&](const TagMap::Entry& e) { names.push_back(e.name); });
  return names;
}

// The lists as the writers put them, to compare before and after.
std::string Saved(MemoryEnv& env, const CClassList& classes) {
  FUZZ_CHECK(classes.SaveClassFile("/saved", &env));
  return env.Bytes("/saved");
}
std::string Saved(MemoryEnv& env, const CTagList& tags) {
  FUZZ_CHECK(tags.SaveTagFile("/saved", &env));
  return env.Bytes("/saved");
}

}  // namespace
}  // namespace junctra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junctra;
  FuzzedDataProvider input(data, size);
  Database a, b;
  const std::uint8_t flags = input.ConsumeIntegral<std::uint8_t>();
  a.has_classes = flags & 1;
  b.has_classes = flags & 2;
  a.classes = input.ConsumeRandomLengthString();
  a.tags = input.ConsumeRandomLengthString();
  b.classes = input.ConsumeRandomLengthString();
  b.tags = input.ConsumeRemainingBytesAsString();

  MemoryEnv env;
  env.AddFolder("/");
  Put(env, "/a", a);
  Put(env, "/b", b);
  const auto before = env.FilesIn("/b");

  RecordingUi ui;
  MergeFolders folders{"/a", "/b", "/b", {}};
  const bool ok = RunMergeCommand(folders, ui, ResourceModule::BuiltIn(), &env);
  FUZZ_CHECK(ui.prompts.empty());  // batch use never asks
  for (const auto& errors : ui.error_lists) FUZZ_CHECK(!errors.empty());
  const bool conflicts = !ui.error_lists.empty();

  if (!ok) {
    FUZZ_CHECK(!ui.Silent());
    FUZZ_CHECK(env.FilesIn("/b") == before);
  } else {
    FUZZ_CHECK(ui.Silent());
    const auto after = env.FilesIn("/b");
    FUZZ_CHECK(after.size() == 2 && after.count("class.lst") && after.count("tagl.txt"));
    // Every name of both inputs is in the result.
    Lists first, second, merged;
    Load(env, "/a", first);
    MemoryEnv inputs;
    inputs.AddFolder("/");
    Put(inputs, "/b", b);
    Load(inputs, "/b", second);
    Load(env, "/b", merged);
    const std::vector<std::u16string_view> merged_tags = TagNames(merged.tags);
    for (const auto* list : {&first.tags, &second.tags}) {
      list->m_tags.ForEach(
          [&](const TagMap::Entry& e) { FUZZ_CHECK(HasFoldedName(merged_tags, e.name)); });
    }
    for (const auto* list : {&first.classes, &second.classes}) {
      for (const auto& name : list->m_classNames) {
        FUZZ_CHECK(HasFoldedName(merged.classes.m_classNames, name));
      }
    }
    // The first database's tags keep their own names.
    first.tags.m_tags.ForEach(
        [&](const TagMap::Entry& e) { FUZZ_CHECK(FindTag(merged.tags, e.name) != nullptr); });
    // The merge that decides conflicts, with none to decide, writes what
    // the two-way merge wrote.
    MemoryEnv deciding;
    deciding.AddFolder("/");
    deciding.AddFolder("/c");
    Put(deciding, "/a", a);
    Put(deciding, "/b", b);
    RecordingUi quiet;
    MergeFolders to_c{"/a", "/b", "/c", {}};
    FUZZ_CHECK(RunMergeCommand(to_c, quiet, ResourceModule::BuiltIn(), &deciding, nullptr,
                               {{Side::kSecond, {}}, false}));
    for (const char* file : {"class.lst", "tagl.txt"}) {
      FUZZ_CHECK(deciding.Bytes(std::string("/c/") + file) == env.Bytes(std::string("/b/") + file));
    }
  }

  if (conflicts) {
    // The checks themselves: a conflict leaves the first lists unchanged.
    Lists first, second;
    MemoryEnv inputs;
    inputs.AddFolder("/");
    Put(inputs, "/a", a);
    Put(inputs, "/b", b);
    Load(inputs, "/a", first);
    Load(inputs, "/b", second);
    ConflictList errors;
    std::vector<std::size_t> positions;
    const std::string classes_before = Saved(inputs, first.classes);
    if (!MergeClassLists(first.classes, std::move(second.classes), errors,
                         ResourceModule::BuiltIn(), positions)) {
      FUZZ_CHECK(!errors.empty());
      FUZZ_CHECK(Saved(inputs, first.classes) == classes_before);
    } else {
      const std::string tags_before = Saved(inputs, first.tags);
      // The run may have stopped on class codes alone, which this check passes.
      if (!MergeTagLists(first.tags, std::move(second.tags), errors, ResourceModule::BuiltIn(),
                         positions)) {
        FUZZ_CHECK(!errors.empty());
        FUZZ_CHECK(Saved(inputs, first.tags) == tags_before);
      }
    }
  }
  return 0;
}
