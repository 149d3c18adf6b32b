// The merge command: one run from two database folders to the written
// result. Platform-neutral; it talks to whoever runs it (the main dialog, or
// batch use) through MergeUi.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "merge/conflict.h"
#include "platform/env.h"
#include "platform/resource_module.h"

namespace junctra {

// What a folder is chosen for: a database to read, or the output, where the
// chooser may also create a new folder.
enum class FolderUse { kRead, kWrite };

// What the merge command asks of its caller.
class MergeUi {
 public:
  virtual ~MergeUi() = default;
  // Shows the conflicts that stopped the run, one line per conflict, each
  // with where the definitions differ. Returns the user's decisions when
  // they asked to merge with them (the run then merges again, deciding
  // each conflict so), else none: batch use never decides here.
  virtual Decisions ShowErrorList(const ConflictList& conflicts) = 0;
  // Asks for a folder with a prompt, in a chooser that opens in start, or
  // where the toolkit likes when start is empty; false when the user
  // cancels. Only called in interactive use.
  virtual bool BrowseForFolder(std::filesystem::path& folder, const std::u16string& prompt,
                               const std::filesystem::path& start, FolderUse use) = 0;
  // Asks whether the database a chosen output folder holds may be replaced:
  // true for Replace, false for Cancel. Only called in interactive use.
  virtual bool AskReplace(const std::u16string& question) = 0;
  // Shows one message: a string-table text, already formatted, and when
  // given a detail below it (the file and the system's reason).
  virtual void ShowMessage(const std::u16string& text, const std::u16string& detail = {}) = 0;
};

struct MergeFolders {
  // The two database folders; each gains a trailing "/" in place.
  std::filesystem::path first;
  std::filesystem::path second;
  // From the command line. Empty: interactive use (the output folder is
  // asked for); otherwise batch use, and the result goes here.
  std::filesystem::path output;
  // The common ancestor of the two, which gains a trailing "/" too. Empty:
  // a two-way merge.
  std::filesystem::path base;
};

// How a run goes beyond the plain merge of its folders.
struct MergeOptions {
  // Conflicts decided in advance (--take, or the error list's choices).
  Decisions decisions;
  // Decides and counts everything, and writes nothing: no output folder is
  // asked for, locked or touched.
  bool dry_run = false;
};

// What a successful merge wrote, or in a dry run would write.
struct MergeSummary {
  bool written = false;    // false: nothing was written (failed, cancelled or dry run)
  bool merged = false;     // the merge succeeded (in a dry run: it would write)
  bool three_way = false;  // merged against a common ancestor
  bool dry_run = false;
  std::filesystem::path output;  // the output folder as chosen or given
  std::size_t classes = 0;       // in the merged class list
  std::size_t tags = 0;          // in the merged tag list
  std::size_t classes_from_second = 0;
  std::size_t tags_from_second = 0;
  // Classes and tags that one side changed (and the other did not), that
  // one side deleted, and conflicts that decisions settled.
  std::size_t changed = 0;
  std::size_t deleted = 0;
  std::size_t decided = 0;
};

// True when the database folder, which ends in a separator, holds its tag
// list. Otherwise shows message (105 or 106) with the file and the
// system's reason below it, or 131 when two files answer to the name.
bool CheckDatabaseFolder(const std::filesystem::path& folder, unsigned message, MergeUi& ui,
                         const ResourceModule& strings, Env* env = Env::Default());

// Runs the merge once. Returns false on every failure that batch use
// reports through its exit code (the main dialog's m_bMergeFailed); a
// cancelled output folder is not a failure. Interactive use asks for the
// output folder in a chooser that opens beside the second folder, and
// before replacing a database there asks whether it may (Cancel writes
// nothing).
// Every text comes from strings. With summary, it receives what was written.
// A database that does not fit into memory is refused as a read error
// ("Cannot allocate memory"); any other failed allocation ends the run with
// message 134, nothing written, and false.
// With a base folder the merge is three-way: a definition that one side
// changed or deleted since the base wins over the other side's unchanged
// one; only changes on both sides conflict. options.decisions settle
// conflicts; options.dry_run writes nothing.
bool RunMergeCommand(MergeFolders& folders, MergeUi& ui, const ResourceModule& strings,
                     Env* env = Env::Default(), MergeSummary* summary = nullptr,
                     const MergeOptions& options = {});

}  // namespace junctra
