// Inputs and outputs that are not what a merge expects: folders where files
// should be, files that cannot be read, empty files, names made of every
// UTF-16 code unit. Each run merges correctly or fails with a message that
// names the problem, and a failed run changes nothing.
#include <gtest/gtest.h>

#include <cerrno>

#include "database/class_list.h"
#include "database/tag_list.h"
#include "merge/class_merge.h"
#include "merge/merge_command.h"
#include "merge/output_writer.h"
#include "merge/tag_merge.h"
#include "platform/text.h"
#include "tests/conflict_lines.h"
#include "tests/file_wrapper.h"
#include "tests/hardening/hardening_support.h"
#include "tests/recording_ui.h"
#include "tests/records.h"
#include "tests/tag_lookup.h"
#include "tests/temp_dir.h"

namespace junctra {
namespace {

// Refuses to open one file, or lets it open and fails every read of it.
// Permission bits cannot show this: the tests may run as root.
class UnreadableEnv : public EnvWrapper {
 public:
  UnreadableEnv(std::filesystem::path path, bool open_fails)
      : EnvWrapper(Env::Default()), path_(std::move(path)), open_fails_(open_fails) {}

  int OpenFile(const std::filesystem::path& path, const OpenMode& mode,
               std::unique_ptr<File>* file) override {
    if (path != path_) return target()->OpenFile(path, mode, file);
    if (open_fails_) return EACCES;
    std::unique_ptr<File> real;
    if (int err = target()->OpenFile(path, mode, &real)) return err;
    *file = std::make_unique<Unreadable>(std::move(real));
    return 0;
  }

 private:
  class Unreadable : public FileWrapper {
   public:
    using FileWrapper::FileWrapper;
    int ReadAt(std::uint64_t, void*, std::size_t, std::size_t* got) override {
      *got = 0;
      return EIO;
    }
  };

  std::filesystem::path path_;
  bool open_fails_;
};

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto* p : {&a_, &b_, &out_}) std::filesystem::create_directory(*p);
    WriteDatabaseFile(a_ / "class.lst", GeneratedClasses(u"Pump", 2));
    WriteDatabaseFile(a_ / "tagl.txt", GeneratedTags(u"A", 3, 2));
    WriteDatabaseFile(b_ / "class.lst", GeneratedClasses(u"Valve", 1));
    WriteDatabaseFile(b_ / "tagl.txt", GeneratedTags(u"B", 2, 1));
  }

  bool Run(const std::filesystem::path& output, Env* env = Env::Default()) {
    ui_ = RecordingUi();
    MergeFolders folders{a_, b_, output, {}};
    return RunMergeCommand(folders, ui_, ResourceModule::BuiltIn(), env);
  }

  // The folder's entries with each regular file's bytes; folders as "/".
  std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      files[entry.path().filename().string()] =
          entry.is_directory() ? std::string("/") : ReadBytes(entry.path());
    }
    return files;
  }

  // Message 107 and the reason below it.
  std::vector<std::u16string> Named(const std::filesystem::path& path, std::u16string_view reason) {
    return {u"Can not open file " + PathToUtf16(path), Detail(path, reason)};
  }
  // The line under a save error.
  std::u16string Detail(const std::filesystem::path& path, std::u16string_view reason) {
    return PathToUtf16(path) + u": " + std::u16string(reason);
  }

  TempDir dir_;
  std::filesystem::path a_ = dir_.path() / "a", b_ = dir_.path() / "b", out_ = dir_.path() / "out";
  RecordingUi ui_;
};

TEST_F(BadInputTest, FoldersWhereFilesShouldBe) {
  // Inputs: the run stops at the folder and names it.
  for (const auto& input : {a_ / "tagl.txt", a_ / "class.lst", b_ / "class.lst", b_ / "tagl.txt"}) {
    const std::string saved = ReadBytes(input);
    std::filesystem::remove(input);
    std::filesystem::create_directory(input);
    const auto before = Snapshot(b_);
    EXPECT_FALSE(Run(b_)) << input;
    EXPECT_EQ(ui_.messages, Named(input, u"Is a directory"));
    EXPECT_EQ(Snapshot(b_), before) << input;
    std::filesystem::remove(input);
    WriteBytes(input, saved);
  }

  // Outputs: a folder in the way of either file fails that file, and the
  // other keeps its old content even when it had been exchanged already.
  WriteDatabaseFile(out_ / "tagl.txt", u"old tags");
  std::filesystem::create_directory(out_ / "class.lst");
  auto before = Snapshot(out_);
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"Error saving class file",
                                         Detail(out_ / "class.lst", u"Is a directory")}));
  EXPECT_EQ(Snapshot(out_), before);

  std::filesystem::remove_all(out_);
  std::filesystem::create_directory(out_);
  WriteDatabaseFile(out_ / "class.lst", u"old classes");
  std::filesystem::create_directory(out_ / "tagl.txt");
  before = Snapshot(out_);
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"Error saving database file",
                                         Detail(out_ / "tagl.txt", u"Is a directory")}));
  EXPECT_EQ(Snapshot(out_), before);

  // An output "folder" that is a file.
  std::filesystem::remove_all(out_);
  WriteBytes(out_, "not a folder");
  EXPECT_FALSE(Run(out_));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{
                u"Error saving class file", Detail(out_ / "class.lst", u"Not a directory"),
                u"Error saving database file", Detail(out_ / "tagl.txt", u"Not a directory")}));
  EXPECT_EQ(ReadBytes(out_), "not a folder");

  // An input "folder" that is a file is no database.
  const auto a_file = dir_.path() / "a-file";
  WriteBytes(a_file, "x");
  MergeFolders folders{a_file, b_, b_, {}};
  ui_ = RecordingUi();
  EXPECT_FALSE(RunMergeCommand(folders, ui_, ResourceModule::BuiltIn()));
  EXPECT_EQ(ui_.messages,
            (std::vector<std::u16string>{u"First folder does not contain database files",
                                         Detail(a_file / "tagl.txt", u"Not a directory")}));
}

TEST_F(BadInputTest, FilesThatCannotBeRead) {
  const auto before = Snapshot(b_);
  for (bool open_fails : {true, false}) {
    for (const auto& input :
         {a_ / "class.lst", b_ / "class.lst", a_ / "tagl.txt", b_ / "tagl.txt"}) {
      UnreadableEnv env(input, open_fails);
      EXPECT_FALSE(Run(b_, &env)) << input;
      std::vector<std::u16string> named = Named(input, u"Permission denied");
      if (!open_fails) named.pop_back();  // opened, then its first bytes failed
      EXPECT_EQ(ui_.messages, named) << input;
      EXPECT_EQ(Snapshot(b_), before) << input;
    }
  }
  // Temporaries that cannot be created.
  for (const char* name : {"class.lst", "tagl.txt"}) {
    struct NoTemporaryEnv : EnvWrapper {
      explicit NoTemporaryEnv(std::string file) : EnvWrapper(Env::Default()), file_(file) {}
      int CreateNewFile(const std::filesystem::path& path, const FileStatus* like,
                        std::unique_ptr<File>* file) override {
        const std::string name = path.filename().string();
        if (IsTemporaryName(name) && name.starts_with(file_)) return EACCES;
        return target()->CreateNewFile(path, like, file);
      }
      std::string file_;
    } env(name);
    EXPECT_FALSE(Run(b_, &env));
    EXPECT_EQ(ui_.messages, (std::vector<std::u16string>{name == std::string("class.lst")
                                                             ? u"Error saving class file"
                                                             : u"Error saving database file",
                                                         Detail(b_ / name, u"Permission denied")}));
    EXPECT_EQ(Snapshot(b_), before);
  }
}

TEST_F(BadInputTest, EmptyFilesAreEmptyLists) {
  const std::string b_tags = ReadBytes(b_ / "tagl.txt");
  // The second database's tags as the program writes them.
  CTagList b_list;
  ASSERT_TRUE(b_list.LoadTagFile(b_ / "tagl.txt"));
  ASSERT_TRUE(b_list.SaveTagFile(dir_.path() / "b-tags"));
  const std::string b_tags_written = ReadBytes(dir_.path() / "b-tags");
  // Zero bytes, a lone byte-order mark, a single byte: all empty.
  for (const std::string& empty : {std::string(), std::string("\xFF\xFE"), std::string("x")}) {
    WriteBytes(a_ / "class.lst", empty);
    WriteBytes(a_ / "tagl.txt", empty);
    WriteBytes(b_ / "tagl.txt", b_tags);
    EXPECT_TRUE(Run(out_));
    EXPECT_TRUE(ui_.messages.empty());
    // The second database alone, as it was.
    EXPECT_EQ(ReadBytes(out_ / "class.lst"), ReadBytes(b_ / "class.lst"));
    EXPECT_EQ(ReadBytes(out_ / "tagl.txt"), b_tags_written);

    WriteBytes(b_ / "class.lst", empty);
    WriteBytes(b_ / "tagl.txt", empty);
    EXPECT_TRUE(Run(b_));
    EXPECT_EQ(ReadBytes(b_ / "class.lst"), Utf16FileBytes(u"V4.x - CLASS LIST\n"));
    EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), Utf16FileBytes(u"//4.x - Application Tags\n"));
    WriteDatabaseFile(b_ / "class.lst", GeneratedClasses(u"Valve", 1));
  }
}

// Every code unit that can stand in a name: all but NUL, which ends the
// text read, the line ends and the separator.
std::vector<char16_t> NameUnits() {
  std::vector<char16_t> units;
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c != u'\n' && c != u'\r' && c != u'|') units.push_back(static_cast<char16_t>(c));
  }
  return units;
}

TEST_F(BadInputTest, NamesOfEveryCodeUnitIncludingLoneSurrogates) {
  const std::vector<char16_t> units = NameUnits();
  std::u16string a_tags = u"//4.x - Application Tags\n", b_tags = a_tags;
  std::u16string a_classes = u"V4.x - CLASS LIST\n", b_classes = a_classes;
  for (char16_t c : units) {
    const std::u16string unit(1, c);
    a_tags += u"#1|" + unit + u"|1|1|x\n#Parameters\np" + unit + u"\n#Alarm\n#History\n";
    b_tags += u"#1|x" + unit + u"|2|1|y" + unit + u"\n#Parameters\n#Alarm\n#History\n";
    a_classes += u"Class:C" + unit + u"C\nm" + unit + u"|0|1|t" + unit + u"\n";
    b_classes += u"Class:D" + unit + u"D\n";
  }
  // Shared, with the same definitions: lone surrogates of both halves.
  for (char16_t c : {char16_t{0xD800}, char16_t{0xDBFF}, char16_t{0xDC00}, char16_t{0xDFFF}}) {
    const std::u16string unit(1, c);
    b_tags += u"#1|" + unit + u"|1|1|x\n#Parameters\np" + unit + u"\n#Alarm\n#History\n";
    b_classes += u"Class:C" + unit + u"C\nm" + unit + u"|0|1|t" + unit + u"\n";
  }
  WriteDatabaseFile(a_ / "tagl.txt", a_tags + u"#");
  WriteDatabaseFile(b_ / "tagl.txt", b_tags + u"#");
  WriteDatabaseFile(a_ / "class.lst", a_classes);
  WriteDatabaseFile(b_ / "class.lst", b_classes);
  ASSERT_TRUE(Run(out_));
  EXPECT_TRUE(ui_.messages.empty());

  CTagList tags;
  LoadReport report;
  ASSERT_TRUE(tags.LoadTagFile(out_ / "tagl.txt", &report));
  ASSERT_TRUE(report.complete);
  EXPECT_EQ(tags.m_tags.GetCount(), 2 * units.size());
  CClassList classes;
  classes.LoadClassFile(out_ / "class.lst", &report);
  ASSERT_TRUE(report.complete);
  ASSERT_EQ(classes.m_classNames.size(), 2 * units.size());
  const auto by_name = TagsByName(tags);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::u16string unit(1, units[i]);
    const auto a = by_name.find(unit);
    ASSERT_NE(a, by_name.end()) << i;
    EXPECT_EQ(AsStrings(a->second->m_parameterLines),
              std::vector<std::u16string>{u"p" + unit + u"\n"})
        << i;
    const auto b = by_name.find(u"x" + unit);
    ASSERT_NE(b, by_name.end()) << i;
    EXPECT_EQ(b->second->m_rest, u"|y" + unit + u"\n") << i;
    EXPECT_EQ(classes.m_classNames[i], u"C" + unit + u"C");
    EXPECT_EQ(AsStrings(classes.m_classInfos[i].m_memberTexts),
              std::vector<std::u16string>{u"t" + unit});
    EXPECT_EQ(classes.m_classNames[units.size() + i], u"D" + unit + u"D");
  }
}

TEST_F(BadInputTest, EightBitNamesBecomeLatin1) {
  std::string a_tags = "//4.x - Application Tags\r\n";
  for (int c = 0x80; c <= 0xFF; ++c) {
    a_tags += "#1|" + std::string(1, static_cast<char>(c)) +
              "|1|1|x\r\n#Parameters\r\n#Alarm\r\n#History\r\n";
  }
  WriteBytes(a_ / "tagl.txt", a_tags + "#");
  ASSERT_TRUE(Run(out_));
  CTagList tags;
  ASSERT_TRUE(tags.LoadTagFile(out_ / "tagl.txt"));
  const auto by_name = TagsByName(tags);
  for (char16_t c = 0x80; c <= 0xFF; ++c) EXPECT_TRUE(by_name.contains(std::u16string(1, c)));
}

TEST_F(BadInputTest, ConflictsOnLoneSurrogatesArePrintedReadably) {
  WriteDatabaseFile(a_ / "tagl.txt", TagFile(TagBlock(u"\xD800", u"1|1|x")));
  WriteDatabaseFile(b_ / "tagl.txt", TagFile(TagBlock(u"\xD800", u"2|1|x")));
  const std::string before = ReadBytes(b_ / "tagl.txt");
  const RunResult run = RunProgram({a_.string(), b_.string()});
  EXPECT_EQ(run.exit_code, 1);
  // The lone surrogate shows as U+FFFD.
  EXPECT_NE(run.err.find("Tag '\xEF\xBF\xBD' has different definitions\n"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadBytes(b_ / "tagl.txt"), before);
}

TEST_F(BadInputTest, TheProgramNamesAFolderInTheWay) {
  std::filesystem::remove(a_ / "tagl.txt");
  std::filesystem::create_directory(a_ / "tagl.txt");
  const auto before = Snapshot(b_);
  const RunResult run = RunProgram({a_.string(), b_.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Can not open file " + (a_ / "tagl.txt").string() + "\n" +
                         (a_ / "tagl.txt").string() + ": Is a directory\n");
  EXPECT_EQ(Snapshot(b_), before);
}

}  // namespace
}  // namespace junctra
