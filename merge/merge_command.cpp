#include "merge/merge_command.h"

#include <cerrno>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "merge/class_merge.h"
#include "merge/output_writer.h"
#include "merge/tag_merge.h"
#include "merge/three_way_merge.h"
#include "platform/error_text.h"
#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "platform/stdio_file.h"
#include "platform/task_errors.h"
#include "platform/text.h"

namespace junctra {
namespace {

// "PATH: reason", the line that follows a failure's message.
std::u16string FileError(const std::filesystem::path& path, int error,
                         const ResourceModule& strings) {
  return FormatMessage(strings.LoadString(IDS_FILE_ERROR), PathToUtf16(path),
                       Utf8ToUtf16(ErrorText(error)));
}

// Turns anything short of a complete read into message 107 or 113. A
// database file that is missing or only partly read must never reach the
// output: its tags or classes would be lost.
bool CheckLoaded(const std::filesystem::path& path, const LoadReport& report, MergeUi& ui,
                 const ResourceModule& strings) {
  if (report.opened && report.complete) return true;
  const std::u16string reason =
      report.error != 0 ? FileError(path, report.error, strings) : std::u16string();
  if (!report.opened) {
    ui.ShowMessage(FormatMessage(strings.LoadString(IDS_CANNOT_OPEN_FILE), PathToUtf16(path)),
                   reason);
    return false;
  }
  std::u16string line;
  AppendDecimal(line, static_cast<std::int64_t>(report.first_unread_line));
  ui.ShowMessage(FormatMessage(strings.LoadString(IDS_ERROR_READING_FILE), PathToUtf16(path), line),
                 reason);
  return false;
}

// Message 131: the folder of path holds more than one case variant of its
// file name.
void ShowAmbiguousName(MergeUi& ui, const std::filesystem::path& path,
                       const ResourceModule& strings) {
  std::filesystem::path folder;
  std::string name;
  SplitFileName(path, &folder, &name);
  ui.ShowMessage(FormatMessage(strings.LoadString(IDS_AMBIGUOUS_FILE_NAME), PathToUtf16(folder),
                               Utf8ToUtf16(name)));
}

bool LoadClasses(const std::filesystem::path& folder, CClassList& list, MergeUi& ui,
                 const ResourceModule& strings, Env* env) {
  const FoundFile found = FindDatabaseFile(folder, "class.lst", env);
  if (found.ambiguous) {
    ShowAmbiguousName(ui, found.path, strings);
    return false;
  }
  if (found.error == ENOENT) return true;  // class.lst is optional
  LoadReport report;
  list.LoadClassFile(found.path, &report, env);
  return CheckLoaded(found.path, report, ui, strings);
}

// Loads the tag list of each of folders into lists[i], each on a thread of
// its own, and says what a run that loaded them one after another would
// say: of the first that fails, nothing of those after it.
bool LoadTags(const std::vector<const std::filesystem::path*>& folders, CTagList* lists,
              MergeUi& ui, const ResourceModule& strings, Env* env) {
  std::vector<FoundFile> found;
  std::vector<LoadReport> reports(folders.size());
  TaskErrors errors(folders.size());
  std::vector<std::function<void()>> tasks;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    found.push_back(FindDatabaseFile(*folders[i], "tagl.txt", env));
    if (found[i].ambiguous) break;
    tasks.emplace_back(
        [&, i] { errors.Run(i, [&] { lists[i].LoadTagFile(found[i].path, &reports[i], env); }); });
  }
  env->RunTasks(tasks);
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (found[i].ambiguous) {
      ShowAmbiguousName(ui, found[i].path, strings);
      return false;
    }
    errors.Rethrow(i);
    if (!CheckLoaded(found[i].path, reports[i], ui, strings)) return false;
  }
  return true;
}

// The tags whose class code names no class of their own database, which
// has own_classes, but would name one of the merged list's merged_classes,
// in iteration order. Such a tag would silently change class.
std::vector<const TagMap::Entry*> UndefinedClassCodes(const CTagList& tags, std::size_t own_classes,
                                                      std::size_t merged_classes) {
  std::vector<const TagMap::Entry*> found;
  for (const TagMap::Entry* entry : tags.m_tags.InIterationOrder()) {
    const std::int32_t code = entry->item.m_type;
    if (code < 4) continue;
    const auto position = static_cast<std::size_t>(code) - 4;
    if (position >= own_classes && position < merged_classes) found.push_back(entry);
  }
  return found;
}

// Appends a conflict, a line made from string 132 without a detail, for
// each of those tags of the two lists, the first list's first; each list
// is looked at on a thread of its own.
void CheckClassCodes(const CTagList* lists[2], const std::size_t own_classes[2],
                     std::size_t merged_classes, ConflictList& conflicts,
                     const ResourceModule& strings, Env* env) {
  std::vector<const TagMap::Entry*> found[2];
  env->RunTasks(
      {[&] { found[0] = UndefinedClassCodes(*lists[0], own_classes[0], merged_classes); },
       [&] { found[1] = UndefinedClassCodes(*lists[1], own_classes[1], merged_classes); }});
  for (const auto& entries : found) {
    for (const TagMap::Entry* entry : entries) {
      std::u16string number;
      AppendDecimal(number, entry->item.m_type);
      conflicts.push_back(
          {FormatMessage(strings.LoadString(IDS_UNDEFINED_CLASS_CODE), entry->name, number),
           {},
           false,
           {}});
    }
  }
}

// Message 109 or 110, followed by the file and the reason.
void ShowSaveError(MergeUi& ui, unsigned message, const SaveError& failure,
                   const ResourceModule& strings) {
  if (!failure) return;
  ui.ShowMessage(strings.LoadString(message),
                 failure.same_file
                     ? FormatMessage(strings.LoadString(IDS_SAME_FILE), PathToUtf16(failure.path))
                     : FileError(failure.path, failure.error, strings));
}

// True when folder holds a tag list or a class list, in any spelling.
bool HoldsDatabase(const std::filesystem::path& folder, Env* env) {
  for (const char* name : {"tagl.txt", "class.lst"}) {
    const FoundFile found = FindDatabaseFile(folder, name, env);
    if (found.error == 0 || found.ambiguous) return true;
  }
  return false;
}

// Passes on what the run shows with the controls in names and paths masked,
// so that the terminal, the dialogs and the copied report get the same text.
class MaskedUi : public MergeUi {
 public:
  explicit MaskedUi(MergeUi& ui) : ui_(ui) {}

  Decisions ShowErrorList(const ConflictList& conflicts) override {
    ConflictList shown = conflicts;
    for (Conflict& conflict : shown) conflict.line = MaskControls(conflict.line);
    return ui_.ShowErrorList(shown);
  }
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                       const std::filesystem::path& start, FolderUse use) override {
    return ui_.BrowseForFolder(folder, prompt, start, use);
  }
  bool AskReplace(const std::u16string& question) override {
    return ui_.AskReplace(MaskControls(question));
  }
  void ShowMessage(const std::u16string& text, const std::u16string& detail) override {
    ui_.ShowMessage(MaskControls(text), MaskControls(detail));
  }

 private:
  MergeUi& ui_;
};

}  // namespace

bool CheckDatabaseFolder(const std::filesystem::path& folder, unsigned message, MergeUi& ui,
                         const ResourceModule& strings, Env* env) {
  MaskedUi shown(ui);
  FoundFile found;
  if (HasTagListFile(folder, env, &found)) return true;
  if (found.ambiguous) {
    ShowAmbiguousName(shown, found.path, strings);
  } else {
    shown.ShowMessage(strings.LoadString(message), FileError(found.path, found.error, strings));
  }
  return false;
}

namespace {

bool RunMerge(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
              MergeSummary* summary, const MergeOptions& options);

// Shows the conflicts that stopped a run. In interactive use the user may
// decide them there: the run then starts again with those decisions too.
bool StopOnConflicts(const ConflictList& conflicts, MergeFolders& folders, MergeUi& ui,
                     const ResourceModule& strings, Env* env, MergeSummary* summary,
                     const MergeOptions& options) {
  const Decisions chosen = ui.ShowErrorList(conflicts);
  if (chosen.empty() || !folders.output.empty()) return false;
  MergeOptions again = options;
  again.decisions.each.insert(again.decisions.each.end(), chosen.each.begin(), chosen.each.end());
  if (chosen.all) again.decisions.all = chosen.all;
  return RunMerge(folders, ui, strings, env, summary, again);
}

// The end of a run that merged: in a dry run only the summary; otherwise
// the output folder (asked for in interactive use) and the written files.
// merged holds the counts of what the merge did.
bool Finish(const MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
            const MergeOptions& options, const CClassList& classes, const CTagList& tags,
            MergeSummary merged, MergeSummary* summary) {
  merged.classes = classes.m_classNames.size();
  merged.tags = tags.m_tags.GetCount();
  merged.three_way = !folders.base.empty();
  if (options.dry_run) {
    // Nothing is written, but an output folder that is missing or cannot
    // be written to fails as the run would.
    std::filesystem::path output = folders.output;
    EnsureTrailingBackslash(output);
    FileStatus status;
    int err = env->StatEntry(output, &status);
    if (err == 0 && status.kind != FileStatus::Kind::kDirectory) err = ENOTDIR;
    if (err == 0) err = status.write_access;
    if (err != 0) {
      ShowSaveError(ui, IDS_ERROR_SAVING_CLASSES, {MakeFilePath(output, "class.lst"), err},
                    strings);
      ShowSaveError(ui, IDS_ERROR_SAVING_TAGS, {MakeFilePath(output, "tagl.txt"), err}, strings);
      return false;
    }
    merged.merged = merged.dry_run = true;
    merged.output = folders.output;
    if (summary != nullptr) *summary = merged;
    return true;
  }
  std::filesystem::path output;
  if (!folders.output.empty()) {
    output = folders.output;
  } else if (!ui.BrowseForFolder(output, strings.LoadString(IDS_SELECT_OUTPUT),
                                 FolderBeside(folders.second), FolderUse::kWrite)) {
    return true;  // cancelled: nothing written, nothing failed
  }
  merged.output = output;
  EnsureTrailingBackslash(output);
  // The user confirms what the chooser cannot show: that files will go.
  if (folders.output.empty() && HoldsDatabase(output, env) &&
      !ui.AskReplace(
          FormatMessage(strings.LoadString(IDS_REPLACE_DATABASE), PathToUtf16(merged.output)))) {
    return true;
  }

  const WriteResult written = WriteMergedDatabase(output, classes, tags, env);
  if (summary != nullptr && written.ok()) {
    merged.written = merged.merged = true;
    *summary = merged;
  }
  if (!written.ambiguous.empty()) ShowAmbiguousName(ui, written.ambiguous, strings);
  if (!written.busy_folder.empty()) {
    ui.ShowMessage(FormatMessage(strings.LoadString(IDS_OUTPUT_FOLDER_BUSY),
                                 PathToUtf16(written.busy_folder)));
  }
  ShowSaveError(ui, IDS_ERROR_SAVING_CLASSES, written.class_error, strings);
  ShowSaveError(ui, IDS_ERROR_SAVING_TAGS, written.tag_error, strings);
  return written.ok();
}

// The merge against the base folder, or the two-way merge with decisions.
// Class conflicts stop it before the tags are read.
bool RunDecidingMerge(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
                      MergeSummary* summary, const MergeOptions& options) {
  const bool has_base = !folders.base.empty();
  CClassList classes[3];
  const std::filesystem::path* sources[3] = {&folders.first, &folders.second, &folders.base};
  for (int i = 0; i < (has_base ? 3 : 2); ++i) {
    if (!LoadClasses(*sources[i], classes[i], ui, strings, env)) return false;
  }
  ThreeWayMerge merge(options.decisions, strings, env);
  ConflictList conflicts;
  if (!merge.MergeClasses(std::move(classes[0]), std::move(classes[1]), std::move(classes[2]),
                          conflicts)) {
    return StopOnConflicts(conflicts, folders, ui, strings, env, summary, options);
  }
  CTagList tags[3];
  if (!LoadTags({sources, sources + (has_base ? 3 : 2)}, tags, ui, strings, env)) return false;
  if (!merge.MergeTags(std::move(tags[0]), std::move(tags[1]), std::move(tags[2]), conflicts)) {
    return StopOnConflicts(conflicts, folders, ui, strings, env, summary, options);
  }
  const MergeCounts& counts = merge.counts();
  MergeSummary merged;
  merged.classes_from_second = counts.classes_from_second;
  merged.tags_from_second = counts.tags_from_second;
  merged.changed = counts.changed;
  merged.deleted = counts.deleted;
  merged.decided = counts.decided;
  return Finish(folders, ui, strings, env, options, merge.classes(), merge.tags(), merged, summary);
}

bool RunMerge(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
              MergeSummary* summary, const MergeOptions& options) {
  const bool batch = !folders.output.empty();

  // An empty folder would turn into "/" and name the root folder.
  if (folders.first.empty() || folders.second.empty()) return false;
  // Interactive use says nothing here: folder selection has said why.
  const auto has_database = [&](std::filesystem::path& folder, unsigned message) {
    EnsureTrailingBackslash(folder);
    return batch ? CheckDatabaseFolder(folder, message, ui, strings, env)
                 : HasTagListFile(folder, env);
  };
  if (!has_database(folders.first, IDS_FIRST_NO_DATABASE)) return false;
  if (!has_database(folders.second, IDS_SECOND_NO_DATABASE)) return false;
  if (!folders.base.empty() && !has_database(folders.base, IDS_BASE_NO_DATABASE)) return false;
  if (!folders.base.empty() || !options.decisions.empty()) {
    return RunDecidingMerge(folders, ui, strings, env, summary, options);
  }

  CClassList first_classes;
  if (!LoadClasses(folders.first, first_classes, ui, strings, env)) return false;
  CClassList second_classes;
  if (!LoadClasses(folders.second, second_classes, ui, strings, env)) return false;

  ConflictList conflicts;
  std::vector<std::size_t> class_positions;
  const std::size_t first_class_count = first_classes.m_classNames.size();
  if (!MergeClassLists(first_classes, std::move(second_classes), conflicts, strings,
                       class_positions)) {
    return StopOnConflicts(conflicts, folders, ui, strings, env, summary, options);
  }

  CTagList tag_lists[2];
  if (!LoadTags({&folders.first, &folders.second}, tag_lists, ui, strings, env)) return false;
  CTagList& first_tags = tag_lists[0];
  CTagList& second_tags = tag_lists[1];

  const std::size_t first_tag_count = first_tags.m_tags.GetCount();
  const std::size_t merged_class_count = first_classes.m_classNames.size();
  const CTagList* lists[2] = {&first_tags, &second_tags};
  const std::size_t own_classes[2] = {first_class_count, class_positions.size()};
  CheckClassCodes(lists, own_classes, merged_class_count, conflicts, strings, env);
  const bool codes_defined = conflicts.empty();
  if (!MergeTagLists(first_tags, std::move(second_tags), conflicts, strings, class_positions,
                     first_classes.m_classNames, env) ||
      !codes_defined) {
    return StopOnConflicts(conflicts, folders, ui, strings, env, summary, options);
  }

  MergeSummary merged;
  merged.classes_from_second = first_classes.m_classNames.size() - first_class_count;
  merged.tags_from_second = first_tags.m_tags.GetCount() - first_tag_count;
  return Finish(folders, ui, strings, env, options, first_classes, first_tags, merged, summary);
}

}  // namespace

bool RunMergeCommand(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
                     MergeSummary* summary, const MergeOptions& options) {
  MaskedUi shown(ui);
  try {
    return RunMerge(folders, shown, strings, env, summary, options);
  } catch (const std::bad_alloc&) {
    // Unwound: the run's lists are freed, its temporary files removed and
    // the targets left as they were.
    shown.ShowMessage(strings.LoadString(IDS_OUT_OF_MEMORY), {});
    return false;
  }
}

}  // namespace junctra
