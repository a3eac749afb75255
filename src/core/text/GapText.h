#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace core {

// A text edited at one place after another, as typing does: its spare room (the gap) stays
// where the last edit was, so an edit near it moves only the units in between rather than the
// whole rest of a long text.
class GapText {
public:
    std::size_t size() const { return m_units.size() - m_gap; }
    char16_t operator[](std::size_t i) const { return m_units[i < m_at ? i : i + m_gap]; }

    // [pos, pos + count) in one piece, the gap moved out of it if need be; valid until the
    // next change.
    std::u16string_view view(std::size_t pos, std::size_t count) {
        if (pos < m_at && m_at < pos + count)
            moveGap(m_at - pos < pos + count - m_at ? pos : pos + count); // to the nearer end
        return {m_units.data() + (pos < m_at || (count == 0 && pos == m_at) ? pos : pos + m_gap), count};
    }
    std::u16string_view whole() { return view(0, size()); }

    // Whether the text is `other`, the gap left where it is; whole memory comparisons, as a
    // character-by-character one is many times slower on a long text.
    bool equals(std::u16string_view other) const {
        const std::size_t after = size() - m_at;
        return other.size() == size() && std::memcmp(m_units.data(), other.data(), m_at * sizeof(char16_t)) == 0 &&
               std::memcmp(m_units.data() + m_at + m_gap, other.data() + m_at, after * sizeof(char16_t)) == 0;
    }

    // How many of [from, to) are c.
    std::size_t count(char16_t c, std::size_t from, std::size_t to) const {
        const auto in = [&](std::size_t a, std::size_t b) {
            return a < b ? static_cast<std::size_t>(std::count(m_units.begin() + a, m_units.begin() + b, c)) : 0;
        };
        return in(std::min(from, m_at), std::min(to, m_at)) +
               in(std::max(from, m_at) + m_gap, std::max(to, m_at) + m_gap);
    }

    // [pos, pos + removed) becomes text.
    void replace(std::size_t pos, std::size_t removed, std::u16string_view text) {
        // The gap goes to the nearer end of the removed units, which then join it.
        if (m_at > pos + removed)
            moveGap(pos + removed);
        else if (m_at < pos)
            moveGap(pos);
        m_at = pos;
        m_gap += removed;
        if (text.size() > m_gap) {
            // Room for many more edits, so that growing (which moves the rest) is rare.
            const std::size_t more = text.size() - m_gap + 1024 + size() / 16;
            m_units.insert(m_at, more, u'\0');
            m_gap += more;
        }
        std::copy(text.begin(), text.end(), m_units.begin() + m_at);
        m_at += text.size();
        m_gap -= text.size();
    }

private:
    void moveGap(std::size_t to) {
        if (to < m_at)
            std::copy_backward(m_units.begin() + to, m_units.begin() + m_at, m_units.begin() + m_at + m_gap);
        else if (to > m_at)
            std::copy(m_units.begin() + m_at + m_gap, m_units.begin() + to + m_gap, m_units.begin() + m_at);
        m_at = to;
    }

    std::u16string m_units; // the text with the gap in it
    std::size_t m_at = 0;   // where the gap is
    std::size_t m_gap = 0;  // its length
};

} // namespace core
