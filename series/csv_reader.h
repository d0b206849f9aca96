#pragma once
// A CSV file read whole and walked row by row: the separator (`,` or `;`) is taken from
// the header line, fields may be quoted ("" stands for one quote inside a quoted field),
// a UTF-8 byte-order mark is dropped, and lines end at LF or CR LF. Fields are views into
// the file's text, valid until the next row is read.

#include <string>
#include <string_view>
#include <vector>

#include "csv_row.h"
#include "shown_text.h"

namespace nimbra {

class CsvReader {
 public:
  // Reads the file; a file that cannot be read or has no header line raises InOutError or
  // InputError naming it.
  static CsvReader Open(const std::string& path);
  // The same from text already in memory; path only names it in messages.
  CsvReader(std::string path, std::string text);

  const std::string& Path() const { return path_; }
  char Separator() const { return separator_; }
  const std::vector<std::string>& Header() const { return header_; }
  // Index of the header field with this name, or -1.
  int ColumnIndex(std::string_view name) const;
  // The column's index; raises InputError naming the file when the header lacks it.
  int RequireColumn(const std::string& name) const;
  // Raises InputError unless the row last read has as many fields as the header.
  void RequireFieldCount(std::size_t count) const;

  // Reads the next row that is not blank into fields; false at the end of the file.
  bool NextRow(std::vector<std::string_view>& fields);
  // Line of the file (from 1) on which the row last read starts.
  int Line() const { return rowLine_; }

  // Raises InputError: "<file>, line <n>, column <k> (<name>): expected <what>, found '<text>'".
  [[noreturn]] void FailField(int column, std::string_view expected, std::string_view found) const;
  // Raises InputError: "<file>, line <n>: <message>".
  [[noreturn]] void FailLine(std::string_view message) const;

 private:
  void ReadHeader();
  // Line of the file on which the text at offset stands, within the row last read.
  int LineOf(std::size_t offset) const;

  std::string path_;
  std::string text_;
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
