#pragma once
// Text from a user's file quoted in a message: at most 40 bytes, then "...", with
// control characters, bytes outside ASCII and the backslash shown as \xHH, so that
// nothing invisible or garbling reaches a terminal.

#include <string>
#include <string_view>

namespace nimbra {

std::string Shown(std::string_view text);

}  // namespace nimbra
