// Lines of a database file as the loaders take them: the pieces that
// ReadString delivers, or whole lines joined from them, each with the number
// of the line of the file it starts on. The file's text is decoded into one
// block of a TextStore (FileText), and every line is a view into it that
// stays valid as long as the store: records keep them without a copy. The
// reader also keeps the loaders' account of what was not taken, so that no
// class or tag is ever dropped silently.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <new>
#include <string_view>

#include "database/file_text.h"
#include "database/load_report.h"
#include "database/tav_stdio_file.h"
#include "database/text_store.h"
#include "platform/env.h"
#include "platform/stdio_file.h"

namespace junctra {

class LineReader {
 public:
  // Reads file, just opened, into a block of store as it goes; nMax as for
  // CTAVStdioFile::ReadString.
  LineReader(CTAVStdioFile* file, std::uint32_t nMax, TextStore* store);

  // The header: one piece. False at the end of the file, and when the header
  // is not one plain line (then line 1 is refused): a piece without line
  // feed that the file goes on after, or a file without a single line feed
  // that holds line ends of another kind (CR alone, or the LF and CR of
  // big-endian UTF-16 read as little-endian).
  bool ReadHeader();
  // The next piece; false at the end of the file.
  bool ReadPiece();
  // Joins the pieces that follow the current one until the line ends in "\n"
  // or the file ends.
  void CompleteLine();
  // The next whole line; false at the end of the file.
  bool ReadLine() {
    if (!ReadPiece()) return false;
    CompleteLine();
    return true;
  }

  // Valid as long as the store.
  std::u16string_view line() const { return line_; }
  // 1-based number of the file line on which the current line starts.
  std::size_t line_number() const { return line_number_; }
  // Bytes of the file.
  std::size_t file_size() const { return text_.size(); }

  // After a read met the end of the file: text that ends with the last line
  // read and lacks its line feed, because the end of the file cut it off,
  // gets one, as though the file had ended with it. Anything else is
  // returned as it is.
  std::u16string_view EndWithLineFeed(std::u16string_view text) {
    if (text.empty() || text.back() == u'\n') return text;
    return text_.AppendLineFeed(text);
  }

  // Reads to the end of the file. True when nothing but blank lines was
  // left; otherwise that line is refused.
  bool OnlyBlankLinesLeft();

  // The file is not taken from this line on. The smallest line refused is
  // the one reported.
  void Refuse(std::size_t line);

  // Opens the file at path for reading and runs a loader's reading of it,
  // read(reader), filling report (when given): complete unless a line was
  // refused. Then the file must still be as it was when the reading began.
  // A read error, a changed file or a failed allocation ends the reading,
  // refused at the line being read, with its errno in the report; nothing
  // is thrown for them.
  template <class Read>
  static void Load(const std::filesystem::path& path, std::uint32_t nMax, TextStore* store,
                   Env* env, LoadReport* report, Read read);

 private:
  bool NextPiece(std::u16string_view* piece);
  void Report(LoadReport& report) const;

  FileText text_;
  std::u16string_view line_;
  std::size_t line_number_ = 0;
  std::size_t next_line_number_ = 1;
  std::size_t refused_line_ = 0;  // 0: none
  bool nul_seen_ = false;
};

// Only blanks, tabs and line feeds.
bool IsBlankLine(std::u16string_view line);

template <class Read>
void LineReader::Load(const std::filesystem::path& path, std::uint32_t nMax, TextStore* store,
                      Env* env, LoadReport* report, Read read) {
  LoadReport local;
  LoadReport& done = report != nullptr ? *report : local;
  done = LoadReport();
  try {
    CTAVStdioFile file(env);
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
      done.error = file.GetOpenError();
      return;
    }
    done.opened = true;
    LineReader reader(&file, nMax, store);
    try {
      read(reader);
      reader.text_.CheckUnchanged();
    } catch (...) {
      reader.Refuse(reader.next_line_number_);
      reader.Report(done);
      throw;
    }
    reader.Report(done);
  } catch (const CFileException& e) {
    // A failed look at the first bytes, while opening, gives no reason.
    if (done.opened) done.error = e.error();
  } catch (const std::bad_alloc&) {
    // A file that does not fit into memory: what was read of it is freed as
    // the reading unwinds. Before the first line: at line 1.
    done.opened = true;
    done.complete = false;
    if (done.first_unread_line == 0) done.first_unread_line = 1;
    done.error = ENOMEM;
  }
}

}  // namespace junctra
