// Code page 932 conversion against glibc's iconv on a 64,000-byte mixed Japanese body.
#include "Ratio.h"

#include "platform/Cp932.h"
#include "platform/Width.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <iconv.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kBodyBytes = 64000;

// Kanji, kana, ASCII, half-width kana and line breaks, in a fixed pseudo-random mix.
std::u16string makeBody() {
    static const std::u16string_view pieces[] = {u"漢字",
                                                 u"東京都",
                                                 u"携帯電話",
                                                 u"本日は晴天なり",
                                                 u"送信",
                                                 u"絵文字",
                                                 u"よろしくお願いします",
                                                 u"ありがとう",
                                                 u"です。",
                                                 u"カタカナ",
                                                 u"メール",
                                                 u"ｶﾀｶﾅ",
                                                 u"ﾃﾞｰﾀ",
                                                 u"abc",
                                                 u"Hello, world ",
                                                 u"2026-12-06 ",
                                                 u"　",
                                                 u"「確認」",
                                                 u"\r\n",
                                                 u"\r\n",
                                                 u"①",
                                                 u"ー"};
    constexpr std::size_t count = sizeof pieces / sizeof pieces[0];
    std::u16string text;
    std::uint32_t seed = 12345;
    while (platform::sjisLength(text) < kBodyBytes - 40) {
        seed = seed * 1103515245u + 12345u;
        text += pieces[(seed >> 16) % count];
    }
    text.append(kBodyBytes - platform::sjisLength(text), u'x');
    return text;
}

const std::u16string& body() {
    static const std::u16string text = makeBody();
    return text;
}

const std::string& bodyBytes() {
    static const std::string bytes = platform::encodeCp932(body());
    return bytes;
}

// Converts the whole input into out; the converter state is reset first.
std::size_t runIconv(iconv_t cd, std::string_view in, std::vector<char>& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* ip = const_cast<char*>(in.data());
    std::size_t il = in.size();
    char* op = out.data();
    std::size_t ol = out.size();
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1))
        std::abort();
    return out.size() - ol;
}

void BM_SjisLength(benchmark::State& state) {
    const std::u16string& text = body();
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::sjisLength(text));
    if (platform::sjisLength(text) != kBodyBytes)
        state.SkipWithError("unexpected length");
}
BENCHMARK(BM_SjisLength);

void BM_Encode(benchmark::State& state) {
    const std::u16string& text = body();
    for (auto _ : state) {
        std::string bytes = platform::encodeCp932(text);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_Encode);

void BM_IconvEncode(benchmark::State& state) {
    const std::u16string& text = body();
    const std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    std::vector<char> out(kBodyBytes + 16);
    for (auto _ : state)
        benchmark::DoNotOptimize(runIconv(cd, in, out));
    if (runIconv(cd, in, out) != kBodyBytes || std::string_view(out.data(), kBodyBytes) != bodyBytes())
        state.SkipWithError("iconv disagrees");
    iconv_close(cd);
}
BENCHMARK(BM_IconvEncode);

void BM_Decode(benchmark::State& state) {
    const std::string& bytes = bodyBytes();
    for (auto _ : state) {
        std::u16string text = platform::decodeCp932(bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_Decode);

void BM_IconvDecode(benchmark::State& state) {
    const std::string& bytes = bodyBytes();
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    std::vector<char> out(kBodyBytes * 2 + 16);
    for (auto _ : state)
        benchmark::DoNotOptimize(runIconv(cd, bytes, out));
    if (runIconv(cd, bytes, out) != body().size() * 2)
        state.SkipWithError("iconv disagrees");
    iconv_close(cd);
}
BENCHMARK(BM_IconvDecode);

// Width conversion on the same body, for reference (no baseline).
void BM_ToFullWidth(benchmark::State& state) {
    for (auto _ : state) {
        std::u16string text = platform::toFullWidth(body());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ToFullWidth);

void BM_ToHalfWidth(benchmark::State& state) {
    for (auto _ : state) {
        std::u16string text = platform::toHalfWidth(body());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ToHalfWidth);

} // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv,
                                {{"sjis_length_vs_iconv", "BM_SjisLength", "BM_IconvEncode"},
                                 {"encode_vs_iconv", "BM_Encode", "BM_IconvEncode"},
                                 {"decode_vs_iconv", "BM_Decode", "BM_IconvDecode"}});
}
