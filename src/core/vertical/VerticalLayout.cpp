#include "core/vertical/VerticalLayout.h"

#include "core/vertical/FullWidth.h"

#include <algorithm>
#include <utility>

namespace core {

std::u16string prepareColumns(std::u16string_view body, int rows) {
    return std::u16string(ColumnText(body, rows).view());
}

namespace {

// The buffer of the last conversion, kept for the next: the live preview converts the whole
// body on every keystroke, and a fresh large buffer costs more than filling it.
thread_local std::unique_ptr<char16_t[]> spareBuffer;
thread_local std::size_t spareCapacity = 0;

} // namespace

ColumnText::~ColumnText() {
    if (m_capacity > spareCapacity) {
        spareBuffer = std::move(m_data);
        spareCapacity = m_capacity;
    }
}

void ColumnText::reserve(std::size_t capacity) {
    if (capacity <= m_capacity)
        return;
    if (!m_data && capacity <= spareCapacity) {
        m_data = std::move(spareBuffer);
        m_capacity = std::exchange(spareCapacity, 0);
        return;
    }
    auto bigger = std::make_unique_for_overwrite<char16_t[]>(capacity);
    std::copy_n(m_data.get(), m_size, bigger.get());
    m_data = std::move(bigger);
    m_capacity = capacity;
}

ColumnText::ColumnText(std::u16string_view body, int rows) {
    const std::size_t r = static_cast<std::size_t>(std::max(rows, 1));
    // Room for the worst case, so that the loop below never checks: a TAB gives four
    // characters, a line break at most R - 1, anything else one (a widened run is checked).
    std::size_t tabs = 0, lineFeeds = 0;
    for (char16_t c : body) {
        tabs += c == u'\t';
        lineFeeds += c == u'\n';
    }
    reserve(body.size() + 3 * tabs + (r - 1) * lineFeeds + 1);

    // Plain locals in one loop: the output position stays in a register.
    char16_t* data = m_data.get();
    std::size_t size = 0;
    std::size_t lastBreak = 0; // output size after the last line break, a column boundary
    const auto put = [&](char16_t c) {
        if (c == u'\n' && size > 0 && data[size - 1] == u'\r') {
            // A line break is found when its LF arrives with a CR at the end of the output.
            // Checking the output rather than the input also catches a CR LF that forms once
            // an empty fill brings a lone CR and a lone LF together, as replacing from the
            // start again would.
            --size;
            const std::size_t sinceBreak = size - lastBreak; // wraps when the CR came before it
            if (const std::size_t used = sinceBreak < r ? sinceBreak : size % r) {
                std::fill_n(data + size, r - used, Filler);
                size += r - used;
            }
            lastBreak = size;
        } else if (c == u'\t') {
            std::fill_n(data + size, 4, Filler);
            size += 4;
        } else {
            data[size++] = c == u'ー' ? u'｜' : c;
        }
    };

    const char16_t* ascii = fullwidth::asciiWide();
    const std::size_t n = body.size();
    for (std::size_t i = 0; i < n;) {
        const char16_t c = body[i];
        if (c >= 0x3000 && c < 0xFF00) { // kana and CJK, the bulk of a mail
            data[size++] = c == u'ー' ? u'｜' : c;
            ++i;
        } else if (c < 0x80 && c >= 0x20 && ascii[c] && (i + 1 == n || !fullwidth::isVoicedMark(body[i + 1]))) {
            put(ascii[c]);
            ++i;
        } else if (fullwidth::keepsItsForm(c) || !fullwidth::isNarrow(c)) {
            put(c);
            ++i;
        } else {
            std::size_t end = i + 1;
            while (end < n && !fullwidth::keepsItsForm(body[end]) && fullwidth::isNarrow(body[end]))
                ++end;
            const std::u16string wide = fullwidth::widen(body.substr(i, end - i));
            if (wide.size() > end - i) {
                m_size = size;
                reserve(m_capacity + wide.size() - (end - i));
                data = m_data.get();
            }
            for (char16_t w : wide)
                put(w);
            i = end;
        }
    }
    m_size = size;
}

int verticalBudget(ScreenSize screen) {
    const int perScreen = screen.columns * screen.rows + screen.columns;
    if (perScreen <= 0)
        return 0;
    return MailCharacters / perScreen * screen.columns * screen.rows;
}

std::u16string separatorRow(int columns) {
    const std::size_t dashes = static_cast<std::size_t>(std::max(columns - 5, 0));
    std::u16string row(dashes, u'-');
    row += NextPageMark;
    row.append(dashes, u'-');
    return row;
}

std::u16string layOutPages(std::u16string_view text, ScreenSize screen, bool rowBreaks) {
    const std::size_t columns = static_cast<std::size_t>(std::max(screen.columns, 0));
    const std::size_t rows = static_cast<std::size_t>(std::max(screen.rows, 1));
    const std::size_t pageSize = columns * rows;
    const std::u16string separator = separatorRow(screen.columns) + (rowBreaks ? u"\r\n" : u"");

    const std::size_t pages = pageSize == 0 ? 1 : std::max<std::size_t>(1, (text.size() + pageSize - 1) / pageSize);
    const std::size_t rowLength = columns + (rowBreaks ? 2 : 0);
    std::u16string out(pages * rows * rowLength + (pages - 1) * separator.size(), u'\0');
    char16_t* w = out.data();

    std::size_t start = 0;
    for (std::size_t page = 0; page < pages; ++page) {
        const std::size_t length = std::min(pageSize, text.size() - start);
        const char16_t* chars = text.data() + start;
        for (std::size_t row = 0; row < rows; ++row) {
            // Row j holds characters j, j + R, j + 2R, ... of the page, the first on the right.
            const std::size_t taken = length == pageSize ? columns : length > row ? (length - row - 1) / rows + 1 : 0;
            w = std::fill_n(w, columns - taken, Filler);
            for (std::size_t k = taken; k-- > 0;)
                *w++ = chars[row + k * rows];
            if (rowBreaks) {
                *w++ = u'\r';
                *w++ = u'\n';
            }
        }
        start += length;
        if (page + 1 < pages)
            w = std::copy(separator.begin(), separator.end(), w);
    }
    return out;
}

} // namespace core
