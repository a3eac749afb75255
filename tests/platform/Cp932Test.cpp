#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include "support/System.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

using namespace platform;

namespace {

#ifdef _WIN32
// glibc's converter is the reference; Windows has none to compare with.
class Iconv {
public:
    Iconv(const char*, const char*) {}
    std::optional<std::string> convert(const std::string&) { return std::nullopt; }
};
#else
// glibc's converter, the independent reference. Empty when it rejects the input.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(m_cd); }

    std::optional<std::string> convert(const std::string& in) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[64];
        char* ip = const_cast<char*>(in.data());
        std::size_t il = in.size();
        char* op = buffer;
        std::size_t ol = sizeof buffer;
        if (iconv(m_cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(buffer, op);
    }

private:
    iconv_t m_cd;
};
#endif

std::u16string fromUtf16le(const std::string& bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
}

std::string toUtf16le(std::u16string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// glibc also writes the JIS forms of these (em dash, double vertical line, overline, minus sign,
// wave dash); Windows' table has no entry for them, so Windows writes '?'.
bool isJisOnly(char16_t unit) {
    return std::u16string_view(u"\u2014\u2016\u203E\u2212\u301C").find(unit) != std::u16string_view::npos;
}

bool isTrail(int b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

} // namespace

// Every lead byte with every second byte. glibc rejects pairs Windows has no character for; there
// the expected text is ours: one U+30FB for a pair whose second byte is in the trail range (the
// table's own default), else U+30FB for the lead byte and the second byte read on its own.
TEST(Cp932Decode, EveryPairAgreesWithIconv) {
    if (test::onWindows)
        GTEST_SKIP() << "glibc's converter is the reference";
    Iconv iconv("UTF-16LE", "CP932");
    int accepted = 0;
    for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair = bytes({lead, trail});
            const std::optional<std::string> reference = iconv.convert(pair);
            std::u16string expected;
            if (reference) {
                expected = fromUtf16le(*reference);
                ++accepted;
            } else if (isTrail(trail)) {
                expected = u"\u30FB";
            } else {
                expected = u"\u30FB" + decodeCp932(std::string(1, static_cast<char>(trail)));
            }
            ASSERT_EQ(decodeCp932(pair), expected) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_EQ(accepted, 7724 + 1880); // the assigned pairs and the user-defined area
}

// Every UTF-16 unit: where glibc has a form, ours is the same bytes; where it has none, ours is a
// best fit from Windows' table or the '?' substitute. Length and classification agree with encoding.
TEST(Cp932Encode, EveryUnitAgreesWithIconvAndLength) {
    if (test::onWindows)
        GTEST_SKIP() << "glibc's converter is the reference";
    Iconv iconv("CP932", "UTF-16LE");
    int sameAsIconv = 0;
    int bestFits = 0;
    int toQuestionMark = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const char16_t unit = static_cast<char16_t>(u);
        const std::u16string_view text(&unit, 1);
        const std::string ours = encodeCp932(text);
        const std::optional<std::string> reference =
            (u >= 0xD800 && u < 0xE000) ? std::nullopt : iconv.convert(toUtf16le(text));
        if (reference && isJisOnly(unit)) {
            ASSERT_EQ(ours, "?") << std::hex << u;
        } else if (reference) {
            ASSERT_EQ(ours, *reference) << std::hex << u;
            ++sameAsIconv;
        } else if (ours != "?") {
            ++bestFits;
        }
        ASSERT_EQ(sjisLength(text), ours.size()) << std::hex << u;
        ASSERT_EQ(isSingleByte(unit), ours.size() == 1) << std::hex << u;
        if (!hasCp932Form(unit))
            ASSERT_EQ(ours, "?") << std::hex << u;
        else if (ours == "?")
            ++toQuestionMark;
    }
    EXPECT_EQ(sameAsIconv, 9401);
    EXPECT_EQ(bestFits, 84);
    EXPECT_EQ(toQuestionMark, 2); // "?" itself and U+00BF
}

// What the checks against glibc leave out: single bytes, a pair cut short, and units glibc has
// no form for.
TEST(Cp932, SingleBytesCutPairsAndSubstitutes) {
    EXPECT_EQ(decodeCp932("a\\~\x7F"), u"a\\~\x7F");
    // Bytes glibc rejects but Windows maps.
    EXPECT_EQ(decodeCp932("\x80\xA0\xFD\xFE\xFF"), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_EQ(encodeCp932(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
    EXPECT_EQ(decodeCp932("\x82"), u"\u30FB");               // lead byte at the end
    EXPECT_EQ(decodeCp932("\x82\xA0\xA0"), u"\u3042\uF8F0"); // 82 A0 is a pair; A0 stands alone

    EXPECT_EQ(encodeCp932(u"caf\u00E9"), "cafe"); // Windows' best fit: the plain letter
    // No form at all: one '?' per UTF-16 unit.
    EXPECT_EQ(encodeCp932(u"a\U0001F600b"), "a??b");
    EXPECT_EQ(sjisLength(u"a\U0001F600b"), 4u);
}

// The search for a unit the code page lacks passes eight plain units at a time: every unit, at
// every place in and after those eight, is found exactly when it has no form.
TEST(Cp932, FirstUnitWithoutAFormAtAnyPlace) {
    const std::u16string plain = u"aあアイ\uE63E~ゎヶ"
                                 u"bんァ\uE757\x7Fぁヴz"
                                 u"1\u3000";
    for (int u = 0; u <= 0xFFFF; ++u) {
        std::u16string text = plain;
        const std::size_t at = static_cast<std::size_t>(u) % text.size();
        text[at] = static_cast<char16_t>(u);
        ASSERT_EQ(firstWithoutCp932Form(text), hasCp932Form(text[at]) ? std::u16string::npos : at) << std::hex << u;
    }
}
