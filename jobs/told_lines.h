#pragma once
// An output stream that hands each line written to it to JobControl::Tell, for a job whose
// messages go to a stream (as the disaggregation's do), so that a front end shows them as
// they come. A last line without its end is told when the stream is destroyed.

#include <ostream>
#include <streambuf>
#include <string>

#include "job_control.h"

namespace nimbra {

class ToldLines : public std::ostream {
 public:
  explicit ToldLines(const JobControl& control);
  ~ToldLines() override;

 private:
  class LineBuffer : public std::streambuf {
   public:
    explicit LineBuffer(const JobControl& control) : control_(control) {}
    void TellRest();

   protected:
    int_type overflow(int_type c) override;

   private:
    const JobControl& control_;
    std::string line_;
  };

  LineBuffer buffer_;
};

}  // namespace nimbra
