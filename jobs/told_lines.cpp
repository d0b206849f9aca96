#include "told_lines.h"

namespace nimbra {

ToldLines::ToldLines(const JobControl& control) : std::ostream(nullptr), buffer_(control) { rdbuf(&buffer_); }

ToldLines::~ToldLines() { buffer_.TellRest(); }

ToldLines::LineBuffer::int_type ToldLines::LineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  if (traits_type::to_char_type(c) != '\n') {
    line_ += traits_type::to_char_type(c);
    return c;
  }
  control_.Tell(line_);
  line_.clear();
  return c;
}

void ToldLines::LineBuffer::TellRest() {
  if (!line_.empty()) control_.Tell(line_);
  line_.clear();
}

}  // namespace nimbra
