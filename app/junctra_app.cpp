#include "app/junctra_app.h"

#include <new>
#include <string>
#include <vector>

#include "app/batch_ui.h"
#include "app/command_line.h"
#include "app/settings_folder.h"
#include "merge/merge_command.h"
#include "platform/path_ops.h"
#include "platform/resource_module.h"
#include "platform/text.h"
#include "ui/dialog_result.h"

namespace junctra {

CJunctraApp theApp;

namespace {

// Not a dialog result: the command line cannot be used (exit code 2).
constexpr int kWrongUse = -2;

// Batch use: the merge runs at once, with no window; the result is the one
// the main dialog would end with.
int RunBatchMerge(const std::filesystem::path& first, const std::filesystem::path& second,
                  const std::filesystem::path& output, Env* env) {
  MergeFolders folders{first, second, output, {}};
  const ResourceModule& strings = CurrentResourceModule();
  BatchUi ui(strings);
  return RunMergeCommand(folders, ui, strings, env) ? kDialogOk : kDialogCancel;
}

}  // namespace

int CJunctraApp::InitInstance(int argc, char** argv, MainDialogRunner run_dialog) {
  try {
    return Run(argc, argv, run_dialog);
  } catch (const std::bad_alloc&) {
    // Out of memory outside a merge, which reports its own: the stack is
    // unwound, so whatever the run made is gone; the message still comes
    // in the satellite's language.
    WriteStandardError(CurrentResourceModule().LoadString(IDS_OUT_OF_MEMORY) + u"\n");
    ReleaseSatelliteResources(&m_hLangResourceDLL);
    SetCurrentResourceModule(nullptr);
    return 1;
  }
}

int CJunctraApp::Run(int argc, char** argv, MainDialogRunner run_dialog) {
  const auto settings_file = MakeFilePath(GetSettingsFolder(env_), kProgramSettingsFileName);
  const std::u16string culture = ReadCultureName(settings_file, kCultureNameBufferSize, env_);
  LoadSatelliteResources(culture, &m_hLangResourceDLL, env_);
  SetCurrentResourceModule(m_hLangResourceDLL.module());

  const std::vector<std::string> arguments = ProgramArguments(argc, argv);
  std::vector<const char*> pointers;
  pointers.reserve(arguments.size());
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  const CommandLineFolders args =
      ParseCommandLine(static_cast<int>(pointers.size()), pointers.data());
  // Both database folders given means batch use. It runs here, without the
  // dialog, so that scripts need no display; its result is the one the
  // dialog would have ended with. The output folder is the third folder, or
  // else the second, whatever it holds. With fewer folders the dialog runs
  // interactively: it never merges by itself.
  // A quoted trailing backslash ("D:\a\") leaves a quote in the argument,
  // and often joins it with the next: wrong use, reported as such rather
  // than opening the dialog that a script would wait on.
  const std::filesystem::path* not_a_folder = nullptr;
  for (const auto* folder : {&args.first, &args.second, &args.output}) {
    if (not_a_folder == nullptr && !CanNameFolder(*folder)) not_a_folder = folder;
  }
  int result;
  if (not_a_folder != nullptr) {
    const ResourceModule& strings = CurrentResourceModule();
    BatchUi(strings).ShowMessage(
        FormatMessage(strings.LoadString(IDS_NOT_A_FOLDER_NAME), PathToUtf16(*not_a_folder)));
    result = kWrongUse;
  } else if (!args.first.empty() && !args.second.empty()) {
    const std::filesystem::path output = args.output.empty() ? args.second : args.output;
    result = RunBatchMerge(args.first, args.second, output, env_);
  } else if (run_dialog != nullptr) {
    // The built-in texts are English whatever the culture asked for.
    const std::u16string dialog_culture = m_hLangResourceDLL.is_satellite() ? culture : u"";
    result = run_dialog(argc, argv, args.first, dialog_culture, {});
  } else {
    WriteStandardError(
        u"junctra: the dialog is not available in this build; name two database folders\n");
    result = kDialogCancel;
  }

  ReleaseSatelliteResources(&m_hLangResourceDLL);
  SetCurrentResourceModule(nullptr);
  if (result == kWrongUse) return 2;
  return DialogExitCode(result);
}

}  // namespace junctra
