#pragma once

#include <cstddef>
#include <string_view>

// Vector steps for laying texts out and reading layouts back (plain loops where the processor
// has none).
namespace core::textscan {

inline constexpr std::size_t Block = 16;

// Copies a block with "｜" as "ー" and notes a CR in it; returns how many units come before
// the first last character of the page mark (Block when there is none): those need no
// further look. out needs room for a whole block.
std::size_t copyBlockFlat(const char16_t* in, char16_t* out, bool& cr);

// Where what first occurs in text, or npos.
std::size_t find(std::u16string_view text, std::u16string_view what);

// What a body holds that changes how it is laid out: at least its TABs and LFs (backspaces
// and vertical tabs are counted too: one test covers all four), and whether it has a "ー".
struct LayoutCounts {
    std::size_t tabsAndLineFeeds = 0;
    bool prolongedMark = false;
};
LayoutCounts countForLayout(std::u16string_view text);

// CR LF pairs in text.
std::size_t countLineBreaks(std::u16string_view text);

} // namespace core::textscan
