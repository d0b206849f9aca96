#pragma once
// The records of the classic daily input file: `Day Tag Period [skipped values] Depth
// [24 hours]`, read token by token. File mode and the conversion to CSV both read them
// here, so that they take and refuse the same records with the same words.

#include <array>
#include <cstdint>
#include <string>

#include "input_tokens.h"
#include "model_parameters.h"

namespace nimbra {

// mm; above any day's rain a gauge has recorded, and above what a search can match.
inline constexpr double kLargestDepth = 1e4;

// One day of the daily input file.
struct DailyRecord {
  int Day = 0;
  int Tag = 0;
  int Period = 0;
  double Depth = 0;
  std::array<double, kHoursPerDay> Hours{};
};

// What the header of a file says about its records, and what a Day may be.
struct RecordLayout {
  bool HasHours = false;  // each record carries 24 observed hours
  int SkipCount = 0;      // values between Period and Depth
  int LastDay = 31;       // a Day above it ends the input
  std::string FileName;   // names the file in messages; empty when unknown
};

// Why a record could not be read: Reason names the field, the line and the file;
// Consequence is what file mode then does, to be appended for its message.
struct RecordProblem {
  std::string Reason;
  std::string Consequence;
};

class RecordReader {
 public:
  RecordReader(const RecordLayout& layout, InputScanner& scan)
      : layout_(layout), scan_(scan), line_(scan.Line()) {}

  // False when the text ends within the record, or a token is no number, a day lies
  // outside 1 to LastDay or a depth beyond belief; Problem() then says why. A negative
  // hour is read as dry (0 mm), as a negative depth marks a dry day.
  bool Read(DailyRecord& record);

  const RecordProblem& Problem() const { return problem_; }
  // The line on which the record begins.
  std::int64_t Line() const { return line_; }
  // The line of the record's first negative hour, or 0.
  std::int64_t NegativeHourLine() const { return negativeHourLine_; }

 private:
  struct Field {
    const char* name;
    int number = 0;
    std::string Name() const;
  };

  template <class Number>
  bool Next(Number& value, const Field& field, std::optional<Number> (*parse)(std::string_view));
  bool DayInPeriod(int day);
  bool NextDepth(double& depth, const Field& field);
  std::string LineName(std::int64_t line) const;

  const RecordLayout& layout_;
  InputScanner& scan_;
  std::int64_t line_;
  std::int64_t tokenLine_ = 0;
  std::int64_t negativeHourLine_ = 0;
  RecordProblem problem_;
};

}  // namespace nimbra
