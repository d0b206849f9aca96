#pragma once
// A CSV file walked row by row, read a piece at a time: the separator (`,` or `;`) is taken from
// the header line, fields may be quoted ("" stands for one quote inside a quoted field),
// a UTF-8 byte-order mark is dropped, and lines end at LF or CR LF. Fields are views into
// the file's text, valid until the next row is read.

#include <cstdint>
#include <deque>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "csv_row.h"
#include "shown_text.h"

namespace nimbra {

class CsvReader {
 public:
  // Opens the file and reads its header; a file that cannot be read or has no header line
  // raises InOutError or InputError naming it.
  static CsvReader Open(const std::string& path);
  // The same from text already in memory; path only names it in messages.
  CsvReader(std::string path, std::string text);

  const std::string& Path() const { return path_; }
  char Separator() const { return separator_; }
  const std::vector<std::string>& Header() const { return header_; }
  // Index of the header field with this name, or -1; raises InputError naming both columns
  // when the header names it twice.
  int ColumnIndex(std::string_view name) const;
  // The column's index; raises InputError naming the file when the header lacks it.
  int RequireColumn(const std::string& name) const;
  // Raises InputError unless the row last read has as many fields as the header.
  void RequireFieldCount(std::size_t count) const;

  // Reads the next row that is not blank into fields; false at the end of the file.
  bool NextRow(std::vector<std::string_view>& fields);
  // Line of the file (from 1) on which the row last read starts, and its byte offset.
  int Line() const { return rowLine_; }
  std::uint64_t Offset() const { return rowOffset_; }
  // Goes on reading at a row's offset and line, as Offset() and Line() gave them.
  void Seek(std::uint64_t offset, int line);

  // Raises InputError: "<file>, line <n>, column <k> (<name>): expected <what>, found '<text>'".
  [[noreturn]] void FailField(int column, std::string_view expected, std::string_view found) const;
  // Raises InputError: "<file>, line <n>, column <k> (<name>): <message>".
  [[noreturn]] void FailColumn(int column, std::string_view message) const;
  // Raises InputError: "<file>, line <n>: <message>".
  [[noreturn]] void FailLine(std::string_view message) const;

 private:
  CsvReader(std::string path, std::unique_ptr<std::istream> in);
  void ReadHeader();
  void Start();
  bool Fill();
  void EnsureRow();
  // Line of the file on which the text at offset stands, within the row last read.
  int LineOf(std::size_t offset) const;

  std::string path_;
  std::unique_ptr<std::istream> in_;  // the part of the file not yet in text_; null once read
  std::string text_;
  std::uint64_t dropped_ = 0;  // bytes of the file before text_
  std::uint64_t rowOffset_ = 0;
  std::size_t pos_ = 0;
  int line_ = 1;
  int rowLine_ = 0;
  int headerLine_ = 1;
  char separator_ = ',';
  std::vector<std::string> header_;
  std::size_t rowStart_ = 0;
  CsvRowSplitter splitter_{','};
};

}  // namespace nimbra
