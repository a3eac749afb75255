// Every vector width the processor offers gives what the plain loops give.
#include "core/text/Compaction.h"
#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/PreviewRows.h"
#include "core/vertical/TextScan.h"
#include "platform/Cp932.h"
#include "platform/Vectors.h"
#include "platform/Width.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Texts of every length around the block sizes, dense in the units the loops single out.
std::vector<std::u16string> texts() {
    // The ends of the ranges the vector loops take whole are in it too.
    const std::u16string alphabet = u"\r\n\r\naｱﾞｶﾟＡ！ー｜ｰ　「」’”゛゜ヴ＄￤￥\t\x0b\x08あ漢\xE000\xFFFF\xD842\xDFB7"
                                    u"\x7F\x80\x3040\x3041\x3093\x3094\x30A0\x30A1\x30F6\x30F7\xE757\xE758";
    std::mt19937 random(16);
    // One text long enough that a 16-bit count per lane would overflow.
    std::vector<std::u16string> out{u"", u"\r\r\r\n\n\n", std::u16string(1100000, u'ー')};
    for (std::size_t length = 1; length < 140; ++length)
        for (int k = 0; k < 6; ++k) {
            std::u16string t;
            for (std::size_t i = 0; i < length; ++i)
                t += alphabet[random() % alphabet.size()];
            out.push_back(t);
        }
    // Each end of a range alone in plain text, in every lane of a block.
    for (char16_t edge : std::u16string(u"\x0D\x0E\x7F\x80\x3040\x3041\x3093\x3094\x30A0\x30A1\x30F6\x30F7\xE757\xE758"
                                        u"\xFF00\xFF01\xFF5E\xFF5F\x2018\x201E\x2FFF\x300E\x309A\x30FD\xFFE3\xFFE6"))
        for (std::size_t at = 0; at < 40; at += 3) {
            std::u16string t(40, u'あ');
            t[at] = edge;
            out.push_back(t);
        }
    return out;
}

// Texts long enough for whole spans of units of one size, the rows of which the widest loops
// write many at a time, for screens of every kind of row: one unit, odd, and even widths.
std::vector<std::u16string> longTexts() {
    std::u16string kana(5000, u'あ'), ascii(5000, u'a'), mixed(3000, u'あ');
    mixed += u"\r\n" + std::u16string(999, u'漢') + u"a" + std::u16string(1000, u'\xE63E') + u"ｱ" +
             std::u16string(700, u'b');
    return {kana, ascii, mixed, kana.substr(0, 301)};
}

struct Results {
    std::vector<std::u16string> texts;
    std::vector<long long> numbers;
};

Results everything(const std::vector<std::u16string>& inputs) {
    Results r;
    for (const std::u16string& t : inputs) {
        long long delta = 0, replaced = -1; // the count is set, not added to
        r.texts.push_back(platform::toHalfWidth(t, delta));
        r.texts.push_back(platform::toFullWidth(t));
        r.texts.push_back(core::withoutUnit(t, u'\r'));
        r.texts.push_back(core::withUnitReplaced(t, u'ー', u'｜', replaced));
        EXPECT_EQ(replaced, std::count(t.begin(), t.end(), u'ー'));
        r.texts.push_back(core::withoutPairsOnce(t));
        const auto counts = core::textscan::countForLayout(t);
        r.numbers.insert(r.numbers.end(),
                         {delta, replaced, core::holdsLineBreak(t), static_cast<long long>(counts.tabsAndLineFeeds),
                          counts.prolongedMark, counts.surrogates,
                          static_cast<long long>(core::textscan::countLineBreaks(t)),
                          static_cast<long long>(core::textscan::find(t, u"\r\n")),
                          static_cast<long long>(core::textscan::find(t, u"ｱﾞ")),
                          static_cast<long long>(core::textscan::findLast(t, u'\n')),
                          static_cast<long long>(core::textscan::findLast(t, u'あ')), core::textscan::holdsSurrogate(t),
                          static_cast<long long>(platform::firstWithoutCp932Form(t))});
        // The text read back as pages of a few screens (up to the largest read a vector at a
        // time and past it), half its units fillers so that lines end in every row.
        std::u16string paged = t;
        for (std::size_t i = 0; i < paged.size(); ++i)
            if ((i * 2654435761u >> 9) % 2)
                paged[i] = u'\u3000';
        for (core::ScreenSize screen : {core::ScreenSize{8, 9}, {16, 8}, {12, 11}, {3, 1}})
            r.texts.push_back(core::toHorizontal(paged, screen).value_or(u"-"));
        for (int width : {16, 17, 41}) {
            std::u16string rows;
            core::appendRows(rows, t, width);
            r.texts.push_back(rows);
        }
        std::u16string flat(t.size() + core::textscan::Block, u'\0');
        for (std::size_t at = 0; at + core::textscan::Block <= t.size(); at += core::textscan::Block) {
            bool cr = false, surrogate = false;
            std::size_t before = 0;
#ifdef KOTORI_SSE2
            if (platform::vectorsAtLeast(platform::VectorLevel::Sse))
                before = core::textscan::copyBlockVector(t.data() + at, flat.data() + at, cr, surrogate);
            else
#endif
                before = core::textscan::copyBlockPlain(t.data() + at, flat.data() + at, cr, surrogate);
            r.numbers.insert(r.numbers.end(), {static_cast<long long>(before), cr, surrogate});
            r.texts.push_back(flat.substr(at, before));
        }
    }
    return r;
}

} // namespace

Results rowsOfLongTexts() {
    Results r;
    for (const std::u16string& t : longTexts())
        for (int width : {2, 3, 4, 16, 17, 31, 32}) {
            std::u16string rows;
            core::RowEnds ends;
            core::appendRows(rows, t, width, 5, &ends);
            r.texts.push_back(rows);
            r.numbers.insert(r.numbers.end(), ends.begin(), ends.end());
        }
    return r;
}

TEST(VectorLevels, EveryLevelMatchesThePlainLoops) {
    const std::vector<std::u16string> inputs = texts();
    const platform::VectorLevel before = platform::capVectorLevel(platform::VectorLevel::Plain);
    ASSERT_EQ(platform::vectorLevel(), platform::VectorLevel::Plain);
    const Results plain = everything(inputs), plainRows = rowsOfLongTexts();
    for (auto level : {platform::VectorLevel::Sse, platform::VectorLevel::Avx2, platform::VectorLevel::Avx512}) {
        platform::capVectorLevel(level);
        const Results vector = everything(inputs), vectorRows = rowsOfLongTexts();
        EXPECT_TRUE(vector.texts == plain.texts) << static_cast<int>(platform::vectorLevel());
        EXPECT_TRUE(vector.numbers == plain.numbers) << static_cast<int>(platform::vectorLevel());
        EXPECT_TRUE(vectorRows.texts == plainRows.texts) << static_cast<int>(platform::vectorLevel());
        EXPECT_TRUE(vectorRows.numbers == plainRows.numbers) << static_cast<int>(platform::vectorLevel());
    }
    platform::capVectorLevel(before);
    EXPECT_EQ(before, platform::vectorLevel());
}
