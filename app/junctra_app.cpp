#include "app/junctra_app.h"

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_ui.h"
#include "app/command_line.h"
#include "app/message_output.h"
#include "app/settings_folder.h"
#include "merge/merge_command.h"
#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "ui/dialog_result.h"
#include "ui/result_line.h"

namespace junctra {

CJunctraApp theApp;

namespace {

// Not a dialog result: the command line cannot be used (exit code 2).
constexpr int kWrongUse = -2;

// Batch use: the merge runs at once, with no window; the result is the one
// the main dialog would end with. A dry run prints the result line it would
// have shown; a real one prints nothing when it succeeds.
int RunBatchMerge(const CommandLine& args, Env* env, MessageOutput& output) {
  MergeFolders folders{args.first, args.second, args.output.empty() ? args.second : args.output,
                       args.base};
  MergeOptions options;
  options.decisions.all = args.take;
  options.dry_run = args.dry_run;
  const ResourceModule& strings = CurrentResourceModule();
  BatchUi ui(strings, output);
  MergeSummary summary;
  if (!RunMergeCommand(folders, ui, strings, env, &summary, options)) return kDialogCancel;
  if (options.dry_run) output.Output(ResultLine(summary, strings) + u"\n");
  return kDialogOk;
}

// What the arguments ask for that needs neither folders nor a merge: help,
// the version, or the reason they are wrong with the usage line. None: go on.
std::optional<int> RunWithoutMerge(const CommandLine& args, MessageOutput& output) {
  const ResourceModule& strings = CurrentResourceModule();
  if (args.wrong_use != 0) {
    BatchUi(strings, output)
        .ShowMessage(FormatMessage(strings.LoadString(args.wrong_use), args.wrong_option),
                     strings.LoadString(IDS_USAGE));
    return kWrongUse;
  }
  if (args.help) {
    output.Output(strings.LoadString(IDS_USAGE) + u"\n" + strings.LoadString(IDS_HELP) + u"\n");
    return kDialogOk;
  }
  if (args.version) {
    output.Output(FormatMessage(strings.LoadString(IDS_VERSION), u"" JUNCTRA_VERSION) + u"\n");
    return kDialogOk;
  }
  // A quoted trailing backslash ("D:\a\") leaves a quote in the argument,
  // and often joins it with the next: wrong use, reported as such rather
  // than opening the dialog that a script would wait on.
  for (const auto* folder : {&args.first, &args.second, &args.output, &args.base}) {
    if (!CanNameFolder(*folder)) {
      BatchUi(strings, output)
          .ShowMessage(
              FormatMessage(strings.LoadString(IDS_NOT_A_FOLDER_NAME), PathToUtf16(*folder)));
      return kWrongUse;
    }
  }
  return std::nullopt;
}

}  // namespace

int CJunctraApp::InitInstance(int argc, char** argv, MainDialogRunner run_dialog) {
  MessageOutput output(env_);
  int code;
  try {
    code = Run(argc, argv, run_dialog, output);
  } catch (const std::bad_alloc&) {
    // Out of memory outside a merge, which reports its own: the stack is
    // unwound, so whatever the run made is gone; the message still comes
    // in the satellite's language.
    output.Error(CurrentResourceModule().LoadString(IDS_OUT_OF_MEMORY) + u"\n");
    ReleaseSatelliteResources(&m_hLangResourceDLL);
    SetCurrentResourceModule(nullptr);
    code = 1;
  }
  output.ShowCollected();
  return code;
}

int CJunctraApp::Run(int argc, char** argv, MainDialogRunner run_dialog, MessageOutput& output) {
  const auto settings_file = MakeFilePath(GetSettingsFolder(env_), kProgramSettingsFileName);
  const std::u16string culture = ReadCultureName(settings_file, kCultureNameBufferSize, env_);
  LoadSatelliteResources(culture, &m_hLangResourceDLL, env_);
  SetCurrentResourceModule(m_hLangResourceDLL.module());

  const std::vector<std::string> arguments = ProgramArguments(argc, argv);
  std::vector<const char*> pointers;
  pointers.reserve(arguments.size());
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  const CommandLine args = ParseCommandLine(static_cast<int>(pointers.size()), pointers.data());
  // Both database folders given means batch use. It runs here, without the
  // dialog, so that scripts need no display; its result is the one the
  // dialog would have ended with. The output folder is the third folder, or
  // else the second, whatever it holds. With fewer folders the dialog runs
  // interactively: it never merges by itself.
  int result;
  if (const std::optional<int> done = RunWithoutMerge(args, output)) {
    result = *done;
  } else if (!args.first.empty() && !args.second.empty()) {
    result = RunBatchMerge(args, env_, output);
  } else if (run_dialog != nullptr) {
    // The built-in texts are English whatever the culture asked for.
    const std::u16string dialog_culture = m_hLangResourceDLL.is_satellite() ? culture : u"";
    result = run_dialog(argc, argv, args.first, dialog_culture, args.base);
  } else {
    output.Error(
        u"junctra: the dialog is not available in this build; name two database folders\n");
    result = kDialogCancel;
  }

  ReleaseSatelliteResources(&m_hLangResourceDLL);
  SetCurrentResourceModule(nullptr);
  if (result == kWrongUse) return 2;
  return DialogExitCode(result);
}

}  // namespace junctra
