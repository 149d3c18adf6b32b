#include "merge/merge_command.h"

#include <cerrno>
#include <new>
#include <string>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "merge/class_merge.h"
#include "merge/output_writer.h"
#include "merge/tag_merge.h"
#include "platform/error_text.h"
#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "platform/stdio_file.h"
#include "platform/text.h"

namespace junctra {
namespace {

// "PATH: reason", the line that follows a failure's message.
std::u16string FileError(const std::filesystem::path& path, int error,
                         const ResourceModule& strings) {
  return FormatMessage(strings.LoadString(IDS_FILE_ERROR), PathToUtf16(path),
                       Utf8ToUtf16(ErrorText(error)));
}

// Runs one loader and turns anything short of a complete read into message
// 107 or 113. A database file that is missing or only partly read must
// never reach the output: its tags or classes would be lost.
template <class Load>
bool LoadInput(const std::filesystem::path& path, Load load, MergeUi& ui,
               const ResourceModule& strings) {
  LoadReport report;
  int read_error = 0;
  try {
    load(path, &report);
  } catch (const CFileException& e) {
    // The loader has refused the line it was reading, if it got that far.
    read_error = e.error();
  } catch (const std::bad_alloc&) {
    // A database that does not fit into memory; what was read of it is
    // freed as the loader unwinds. Before the first line: at line 1.
    read_error = ENOMEM;
    report.opened = true;
    report.complete = false;
    if (report.first_unread_line == 0) report.first_unread_line = 1;
  }
  if (!report.opened) {
    ui.ShowMessage(FormatMessage(strings.LoadString(IDS_CANNOT_OPEN_FILE), PathToUtf16(path)));
    return false;
  }
  if (!report.complete) {
    std::u16string line;
    AppendDecimal(line, static_cast<std::int64_t>(report.first_unread_line));
    ui.ShowMessage(
        FormatMessage(strings.LoadString(IDS_ERROR_READING_FILE), PathToUtf16(path), line),
        read_error != 0 ? FileError(path, read_error, strings) : std::u16string());
    return false;
  }
  return true;
}

bool LoadClasses(const std::filesystem::path& folder, CClassList& list, MergeUi& ui,
                 const ResourceModule& strings, Env* env) {
  const auto path = MakeFilePath(folder, "class.lst");
  if (!env->EntryExists(path)) return true;  // class.lst is optional
  return LoadInput(
      path, [&](const auto& p, LoadReport* report) { list.LoadClassFile(p, report, env); }, ui,
      strings);
}

bool LoadTags(const std::filesystem::path& folder, CTagList& list, MergeUi& ui,
              const ResourceModule& strings, Env* env) {
  return LoadInput(
      MakeFilePath(folder, "tagl.txt"),
      [&](const auto& p, LoadReport* report) { list.LoadTagFile(p, report, env); }, ui, strings);
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

// Passes on what the run shows with the controls in names and paths masked,
// so that the terminal, the dialogs and the copied report get the same text.
class MaskedUi : public MergeUi {
 public:
  explicit MaskedUi(MergeUi& ui) : ui_(ui) {}

  void ShowErrorList(const std::vector<std::u16string>& errors,
                     const std::vector<ConflictDetail>& details) override {
    std::vector<std::u16string> shown;
    shown.reserve(errors.size());
    for (const std::u16string& line : errors) shown.push_back(MaskControls(line));
    ui_.ShowErrorList(shown, details);
  }
  bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt) override {
    return ui_.BrowseForFolder(folder, prompt);
  }
  void ShowMessage(const std::u16string& text, const std::u16string& detail) override {
    ui_.ShowMessage(MaskControls(text), MaskControls(detail));
  }

 private:
  MergeUi& ui_;
};

bool RunMerge(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
              MergeSummary* summary) {
  const bool batch = !folders.output.empty();

  // An empty folder would turn into "/" and name the root folder.
  if (folders.first.empty() || folders.second.empty()) return false;
  EnsureTrailingBackslash(folders.first);
  if (!HasTagListFile(folders.first, env)) {
    if (batch) ui.ShowMessage(strings.LoadString(IDS_FIRST_NO_DATABASE));
    return false;
  }
  EnsureTrailingBackslash(folders.second);
  if (!HasTagListFile(folders.second, env)) {
    if (batch) ui.ShowMessage(strings.LoadString(IDS_SECOND_NO_DATABASE));
    return false;
  }

  CClassList first_classes;
  if (!LoadClasses(folders.first, first_classes, ui, strings, env)) return false;
  CClassList second_classes;
  if (!LoadClasses(folders.second, second_classes, ui, strings, env)) return false;

  std::vector<std::u16string> errors;
  std::vector<ConflictDetail> details;
  std::vector<std::size_t> class_positions;
  const std::size_t first_class_count = first_classes.m_classNames.size();
  if (!MergeClassLists(first_classes, std::move(second_classes), errors, strings, class_positions,
                       &details)) {
    ui.ShowErrorList(errors, details);
    return false;
  }

  CTagList first_tags;
  if (!LoadTags(folders.first, first_tags, ui, strings, env)) return false;
  CTagList second_tags;
  if (!LoadTags(folders.second, second_tags, ui, strings, env)) return false;

  const std::size_t first_tag_count = first_tags.m_tags.GetCount();
  if (!MergeTagLists(first_tags, std::move(second_tags), errors, strings, class_positions, &details,
                     first_classes.m_classNames)) {
    ui.ShowErrorList(errors, details);
    return false;
  }

  std::filesystem::path output;
  if (batch) {
    output = folders.output;
  } else if (!ui.BrowseForFolder(output, strings.LoadString(IDS_SELECT_OUTPUT))) {
    return true;  // cancelled: nothing written, nothing failed
  }
  const std::filesystem::path chosen = output;
  EnsureTrailingBackslash(output);

  const WriteResult written = WriteMergedDatabase(output, first_classes, first_tags, env);
  if (summary != nullptr && written.ok()) {
    *summary = {true,
                chosen,
                first_classes.m_classNames.size(),
                first_tags.m_tags.GetCount(),
                first_classes.m_classNames.size() - first_class_count,
                first_tags.m_tags.GetCount() - first_tag_count};
  }
  if (!written.busy_folder.empty()) {
    ui.ShowMessage(FormatMessage(strings.LoadString(IDS_OUTPUT_FOLDER_BUSY),
                                 PathToUtf16(written.busy_folder)));
  }
  ShowSaveError(ui, IDS_ERROR_SAVING_CLASSES, written.class_error, strings);
  ShowSaveError(ui, IDS_ERROR_SAVING_TAGS, written.tag_error, strings);
  return written.ok();
}

}  // namespace

bool RunMergeCommand(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings, Env* env,
                     MergeSummary* summary) {
  MaskedUi shown(ui);
  try {
    return RunMerge(folders, shown, strings, env, summary);
  } catch (const std::bad_alloc&) {
    // Unwound: the run's lists are freed, its temporary files removed and
    // the targets left as they were.
    shown.ShowMessage(strings.LoadString(IDS_OUT_OF_MEMORY), {});
    return false;
  }
}

}  // namespace junctra
