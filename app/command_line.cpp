#include "app/command_line.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/path_ops.h"
#include "platform/text.h"
#include "resources/resource_ids.h"

namespace junctra {

namespace {

class Parser {
 public:
  Parser(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

  CommandLine Parse() {
    if (argc_ == 2 && IsSystemHelpSwitch(Argument(1))) {
      line_.help = true;
      return line_;
    }
    bool options = true;
    for (next_ = 1; next_ < argc_;) {
      const std::string_view argument = Argument(next_++);
      if (argument.empty()) continue;
      if (options && argument == "--") {
        options = false;
      } else if (!options || !Option(argument)) {
        options = false;
        Folder(argument);
      }
    }
    if ((line_.take || line_.dry_run) && (line_.first.empty() || line_.second.empty()) &&
        !line_.help && !line_.version) {
      Wrong(IDS_OPTION_NEEDS_DATABASES, line_.dry_run ? "--dry-run" : "--take");
    }
    return line_;
  }

 private:
  std::string_view Argument(int i) const { return argv_[i] != nullptr ? argv_[i] : ""; }

  // False when argument is no option, which makes it the first folder.
  bool Option(std::string_view argument) {
    for (const auto& [option, flag] :
         {std::pair{"--help", &line_.help}, std::pair{"--version", &line_.version},
          std::pair{"--dry-run", &line_.dry_run}}) {
      if (argument == option) {
        Once(*flag, argument);
        return true;
      }
    }
    const std::string_view name = argument.substr(0, argument.find('='));
    if (name != "--base" && name != "--take") return false;
    // "--base=B", else "--base B"; none at the end of the line.
    std::optional<std::string_view> value;
    if (name.size() < argument.size()) {
      value = argument.substr(name.size() + 1);
    } else if (next_ < argc_) {
      value = Argument(next_++);
    }
    const std::string_view text = value.value_or("");
    if (name == "--base") {
      Once(base_given_, name);
      if (text.empty()) {
        Wrong(IDS_OPTION_NEEDS_FOLDER, name);
      } else {
        line_.base = Utf8ToPath(text);
      }
    } else {
      Once(take_given_, name);
      if (text == "first") {
        line_.take = Side::kFirst;
      } else if (text == "second") {
        line_.take = Side::kSecond;
      } else {
        Wrong(IDS_OPTION_NEEDS_SIDE, name);
      }
    }
    return true;
  }

  void Once(bool& given, std::string_view option) {
    if (given) Wrong(IDS_OPTION_TWICE, option);
    given = true;
  }

  // Notes the first wrong use only.
  void Wrong(unsigned message, std::string_view option) {
    if (line_.wrong_use != 0) return;
    line_.wrong_use = message;
    line_.wrong_option = Utf8ToUtf16(option);
  }

  void Folder(std::string_view argument) {
    const std::array slots = {&line_.first, &line_.second, &line_.output, &line_.fourth};
    if (filled_ < slots.size()) *slots[filled_++] = Utf8ToPath(argument);
  }

  const int argc_;
  const char* const* const argv_;
  int next_ = 1;
  std::size_t filled_ = 0;
  bool base_given_ = false;
  bool take_given_ = false;
  CommandLine line_;
};

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  return Parser(argc, argv).Parse();
}

}  // namespace junctra
