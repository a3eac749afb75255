#pragma once

#include <string>
#include <string_view>

// The removal loops of the conversions. Bodies can be long and the removed units dense, so on
// x86-64 these pack eight units at a time (32 where the processor can compress a vector);
// elsewhere they run unit by unit. Each writes its result in `storage` when given one: a string
// already as long as the result is written over without being cleared first.
namespace core {

// The text without any unit equal to `what`.
std::u16string withoutUnit(std::u16string_view text, char16_t what, std::u16string storage = {});

// The text with every `from` turned into `to`; `count` tells how many there were.
std::u16string withUnitReplaced(std::u16string_view text, char16_t from, char16_t to, long long& count,
                                std::u16string storage = {});

// The text without the CR LF pairs it holds (a pair formed by removing others stays).
std::u16string withoutPairsOnce(std::u16string_view text, std::u16string storage = {});

// True when a carriage return is directly followed by a line feed.
bool holdsLineBreak(std::u16string_view text);

} // namespace core
