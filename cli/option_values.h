#pragma once
// Option values every command reads alike: integers are decimal whatever their leading
// zeros (left to itself, the parser reads 010 as octal and 0x10 as hexadecimal), and a
// distance is a number, never nan.

#include <CLI/CLI.hpp>

namespace nimbra {

// A transform that rewrites the integer without its leading zeros, or refuses the text.
const CLI::Validator& DecimalInteger();
// A check: a finite number 0 or more.
const CLI::Validator& NonNegativeReal();
// A check: a finite number from 1 to most.
CLI::Validator RealFromOneTo(int most);

}  // namespace nimbra
