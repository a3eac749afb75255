#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// An allocator whose growth leaves new elements unset: a layout sizes its list of row ends for
// the most it could find, writes what it finds, and cuts the list back.
template <typename T> struct UnsetGrowth : std::allocator<T> {
    template <typename U> struct rebind { using other = UnsetGrowth<U>; };
    template <typename U> void construct(U* at) noexcept { ::new (static_cast<void*>(at)) U; }
    template <typename U, typename... Args> void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using RowEnds = std::vector<std::size_t, UnsetGrowth<std::size_t>>;

// Appends text, which starts at a line's start, in the rows of a screen `width` half-width
// positions wide: a one-byte character takes one position, any other two; a row ends with CR LF
// when it is full, and a two-position character that does not fit starts the next row (no rows
// end at all below two positions: no model chosen). When
// given, `breaks` gets where each added row end stands in the text, plus `offset`: the index of
// the character it comes before.
void appendRows(std::u16string& out, std::u16string_view text, int width, std::size_t offset = 0,
                RowEnds* breaks = nullptr);

// The horizontal preview: the body in the rows the chosen phone shows, kept up to date edit by
// edit. An edit changes the rows of the lines it touches and no others.
class PreviewRows {
public:
    std::u16string build(std::u16string_view body, int width);

    // The span of the preview to replace after body [pos, pos + removed) became
    // [pos, pos + added), and its new text.
    struct Change {
        std::size_t pos = 0, removed = 0;
        std::u16string text;
    };
    Change update(std::u16string_view body, std::size_t pos, std::size_t removed, std::size_t added);
    // Text done with (a change's, or the preview it replaced), whose storage the next long
    // layout may take: one that is large need not be cleared before it is written. The larger
    // storage is kept, so that a keystroke's small change does not drop a command's.
    void recycle(std::u16string&& text) {
        if (text.capacity() > m_spare.capacity())
            m_spare = std::move(text);
    }

    // Where a body position stands in the preview: after the row ends before it.
    std::size_t previewPosition(std::size_t bodyPos) const;
    int width() const { return m_width; }

private:
    RowEnds m_breaks;    // body positions of the row ends, ascending
    RowEnds m_newBreaks; // the row ends an update lays out
    std::u16string m_spare;
    int m_width = 0;
};

} // namespace core
