#include "shown_text.h"

namespace nimbra {

namespace {

constexpr std::size_t kShownLength = 40;

}  // namespace

std::string Shown(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : text.substr(0, kShownLength)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127 && byte != '\\') {
      shown += c;
    } else {
      shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 15]);
    }
  }
  return text.size() > kShownLength ? shown + "..." : shown;
}

}  // namespace nimbra
