// Inputs that cannot be read completely: line ends the reader cannot see,
// text hidden behind a NUL, pipes and devices, read errors. Each is refused
// with a message that names the file, and the second folder stays as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "merge/merge_command.h"
#include "platform/text.h"
#include "tests/file_wrapper.h"
#include "tests/hardening/hardening_support.h"
#include "tests/recording_ui.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

std::string Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

class RefusedInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto* p : {&a_, &b_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "tagl.txt", GeneratedTags(u"A", 3));
    WriteDatabaseFile(b_ / "tagl.txt", GeneratedTags(u"B", 3));
  }

  // A batch merge into the second folder that must fail with message and
  // leave that folder's files as they were.
  void ExpectRefused(const std::string& message) {
    const std::string tags = Snapshot();
    const RunResult run =
        RunProgram({a_.string(), b_.string()}, {.env = {}, .time_limit = std::chrono::seconds(20)});
    EXPECT_FALSE(run.killed);
    EXPECT_LT(run.seconds, 5);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_EQ(Snapshot(), tags);
  }
  // The second folder's entries, with the bytes of its regular files.
  std::string Snapshot() {
    std::string all;
    for (const std::string& name : FolderEntries(b_)) {
      all += name + ":";
      if (std::filesystem::is_regular_file(b_ / name)) all += ReadBytes(b_ / name);
    }
    return all;
  }
  std::string ReadError(const std::filesystem::path& path, int line) {
    return "Error reading file " + path.string() + " at line " + std::to_string(line);
  }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b";
};

TEST_F(RefusedInputTest, LineEndsTheReaderCannotSee) {
  std::u16string tags = GeneratedTags(u"B", 40);
  std::u16string cr_only = tags, swapped;
  std::replace(cr_only.begin(), cr_only.end(), u'\n', u'\r');
  for (char16_t c : tags.substr(0, 200)) swapped += static_cast<char16_t>((c << 8) | (c >> 8));
  for (const std::string& bytes : {Le(u"\uFEFF" + cr_only), Le(u"\uFEFF" + cr_only.substr(0, 200)),
                                   std::string(cr_only.begin(), cr_only.end()), Le(swapped)}) {
    WriteBytes(b_ / "tagl.txt", bytes);
    ExpectRefused(ReadError(b_ / "tagl.txt", 1));
  }
}

TEST_F(RefusedInputTest, TextHiddenByANulIsRefusedPaddingIsNot) {
  std::u16string hidden = GeneratedTags(u"B", 3);
  hidden.insert(hidden.find(u"#2|"), 1, char16_t{0});  // hides tags B1 and B2
  WriteDatabaseFile(b_ / "tagl.txt", hidden);
  ExpectRefused(ReadError(b_ / "tagl.txt", 10));

  WriteBytes(b_ / "tagl.txt", Utf16FileBytes(GeneratedTags(u"B", 3)) + std::string(5000, '\0'));
  EXPECT_EQ(RunProgram({a_.string(), b_.string()}).exit_code, 0);
}

TEST_F(RefusedInputTest, PipesAreRefusedAtOnce) {
  for (const char* name : {"class.lst", "tagl.txt"}) {
    const auto path = b_ / name;
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    ExpectRefused("Can not open file " + path.string() + "\n" + path.string() +
                  ": Invalid argument");
    std::filesystem::remove(path);
    WriteDatabaseFile(b_ / "tagl.txt", GeneratedTags(u"B", 3));
  }
}

// A long section line that runs straight into the next header merges with
// its own source and writes back unchanged.
TEST_F(RefusedInputTest, LongPiecesBeforeAHeaderMergeWithTheirSource) {
  const std::u16string text = u"//4.x - Application Tags\n#1|T|1|1|x\n#Parameters\n" +
                              std::u16string(1022, u'p') + u"#Alarm\n#History\n#";
  WriteDatabaseFile(a_ / "tagl.txt", text);
  WriteDatabaseFile(b_ / "tagl.txt", text);
  const RunResult run = RunProgram({a_.string(), b_.string()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), ReadBytes(a_ / "tagl.txt"));
}

// Reads of one file fail from a byte on; or, with cut_to, the first read
// from that byte on finds the file cut to that length, as another program
// that saves it in place leaves it.
class FailingReadsEnv : public EnvWrapper {
 public:
  FailingReadsEnv(std::filesystem::path path, std::uint64_t from,
                  std::optional<std::uint64_t> cut_to = std::nullopt)
      : EnvWrapper(Env::Default()), path_(std::move(path)), from_(from), cut_to_(cut_to) {}
  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    if (int err = target()->OpenFile(path, mode, file); err != 0 || path != path_) return err;
    *file = std::make_unique<Failing>(std::move(*file), this);
    return 0;
  }

 private:
  class Failing : public FileWrapper {
   public:
    Failing(std::unique_ptr<File> real, FailingReadsEnv* env)
        : FileWrapper(std::move(real)), env_(env) {}
    int ReadAt(std::uint64_t offset, void* dst, std::size_t n, std::size_t* got) override {
      *got = 0;
      if (!env_->cut_to_) {
        return offset + n > env_->from_ ? EIO : FileWrapper::ReadAt(offset, dst, n, got);
      }
      if (offset >= env_->from_ && !env_->cut_) {
        std::filesystem::resize_file(env_->path_, *env_->cut_to_);
        env_->cut_ = true;
      }
      return FileWrapper::ReadAt(offset, dst, n, got);
    }

   private:
    FailingReadsEnv* env_;
  };
  std::filesystem::path path_;
  std::uint64_t from_;
  std::optional<std::uint64_t> cut_to_;
  bool cut_ = false;
};

TEST_F(RefusedInputTest, AReadErrorInsideAFileIsAReadError) {
  const std::u16string tags = GeneratedTags(u"B", 3000);
  WriteDatabaseFile(b_ / "tagl.txt", tags);
  const std::uint64_t from = 300000;
  // The read-ahead fails somewhere before the byte, on a line after the first.
  const auto last = static_cast<std::size_t>(
      std::count(tags.begin(), tags.begin() + static_cast<std::ptrdiff_t>(from / 2), u'\n') + 1);
  FailingReadsEnv env(b_ / "tagl.txt", from);
  RecordingUi ui;
  MergeFolders folders{a_, b_, b_, {}};
  EXPECT_FALSE(RunMergeCommand(folders, ui, ResourceModule::BuiltIn(), &env));
  ASSERT_EQ(ui.details.size(), 1u);
  const std::string message = Utf16ToUtf8(ui.messages[0]);
  const std::string start = "Error reading file " + (b_ / "tagl.txt").string() + " at line ";
  ASSERT_EQ(message.substr(0, start.size()), start);
  const auto line = std::stoul(message.substr(start.size()));
  EXPECT_GT(line, 1u);
  EXPECT_LE(line, last);
  EXPECT_EQ(Utf16ToUtf8(ui.details[0]), (b_ / "tagl.txt").string() + ": Input/output error");
}

// A file cut short while it is read, in its middle or once every byte of it
// has been read, is refused, whichever loader reads it; nothing is written.
TEST_F(RefusedInputTest, AFileCutWhileItIsReadIsRefused) {
  WriteDatabaseFile(b_ / "tagl.txt", GeneratedTags(u"B", 3000));
  WriteDatabaseFile(b_ / "class.lst", GeneratedClasses(u"C", 20));
  const std::uint64_t tags = std::filesystem::file_size(b_ / "tagl.txt");
  const std::uint64_t classes = std::filesystem::file_size(b_ / "class.lst");
  const struct {
    const char* file;
    std::uint64_t from, cut_to;
  } cases[] = {{"tagl.txt", tags / 2, tags / 3},
               {"tagl.txt", tags, tags - 4},
               {"class.lst", classes, classes / 2}};
  for (const auto& c : cases) {
    const auto path = b_ / c.file;
    const std::string bytes = ReadBytes(path);
    FailingReadsEnv env(path, c.from, c.cut_to);
    RecordingUi ui;
    MergeFolders folders{a_, b_, b_, {}};
    EXPECT_FALSE(RunMergeCommand(folders, ui, ResourceModule::BuiltIn(), &env)) << c.file;
    ASSERT_EQ(ui.details.size(), 1u) << c.file;
    EXPECT_TRUE(Utf16ToUtf8(ui.messages[0])
                    .starts_with("Error reading file " + path.string() + " at line "));
    EXPECT_EQ(Utf16ToUtf8(ui.details[0]), path.string() + ": Device or resource busy");
    EXPECT_EQ(ReadBytes(path).size(), c.cut_to);
    EXPECT_EQ(FolderEntries(b_), (std::vector<std::string>{"class.lst", "tagl.txt"}));
    WriteBytes(path, bytes);
  }
}

// Names and paths reach the terminal without their control characters.
TEST_F(RefusedInputTest, ControlCharactersNeverReachTheTerminal) {
  WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"\x1B]0;x\x07", u"1|1|x")));
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"\x1B]0;x\x07", u"1|1|x\x1B[2J")));
  ExpectRefused(
      "Can not merge databases due to the following inconsistencies:\n"
      "Tag '\xEF\xBF\xBD]0;x\xEF\xBF\xBD' has different definitions\n"
      "  Rest of the tag line: first \"|x\", second \"|x\xEF\xBF\xBD[2J\"");
  const auto odd = dir_.path() / "c\x1B[2J\x7F";
  std::filesystem::create_directories(odd / "tagl.txt");
  const RunResult run = RunProgram({odd.string(), b_.string()});
  const std::string shown = (dir_.path() / "c\xEF\xBF\xBD[2J\xEF\xBF\xBD").string() + "/tagl.txt";
  EXPECT_EQ(run.err, "Can not open file " + shown + "\n" + shown + ": Is a directory\n");
  // C1 controls (CSI, OSC: punctuation in 8-bit files) and the bidirectional
  // overrides and isolates, which make a line read as something else.
  for (char16_t c : {char16_t(0x9B), char16_t(0x9D), char16_t(0x202E), char16_t(0x2066)}) {
    const std::u16string name = u"P" + std::u16string(1, c);
    WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(name, u"1|1|x")));
    WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(name, u"1|1|x" + name)));
    ExpectRefused(
        "Can not merge databases due to the following inconsistencies:\n"
        "Tag 'P\xEF\xBF\xBD' has different definitions\n"
        "  Rest of the tag line: first \"|x\", second \"|xP\xEF\xBF\xBD\"");
  }
}

}  // namespace
}  // namespace junctra
