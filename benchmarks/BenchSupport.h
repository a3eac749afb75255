#pragma once

// What the benchmark programs share: one answer to every box, a clock that stands still, a
// scratch folder of the run's own, and the floor for opening a file.
#include "core/app/Clock.h"
#include "core/app/Prompts.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace bench {

class FixedAnswer : public core::Prompts {
public:
    explicit FixedAnswer(core::Answer answer = core::Answer::No) : m_answer(answer) {}
    core::Answer question(std::u16string_view, std::u16string_view, core::Buttons, core::Icon) override {
        return m_answer;
    }
    void message(std::u16string_view, std::u16string_view, core::Icon) override {}
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }

private:
    core::Answer m_answer;
};

class StillClock : public core::Clock {
public:
    explicit StillClock(core::DateTime at = {}) : m_at(at) {}
    core::DateTime now() const override { return m_at; }

private:
    core::DateTime m_at;
};

// temp/kotori-bench-NAME-PID, made on the call.
// The scratch folders made so far, removed when the program ends.
inline std::vector<std::filesystem::path>& scratchFolders() {
    // Never destroyed, so that it is still there for the removal at exit.
    static auto* const folders = new std::vector<std::filesystem::path>;
    return *folders;
}

inline std::filesystem::path scratchFolder(const std::string& name) {
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code ignored;
            for (const auto& folder : scratchFolders())
                std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)removedAtExit;
    std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("kotori-bench-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    scratchFolders().push_back(p);
    return p;
}

// The floor for opening a file: reading it whole and decoding it.
inline void readAndDecode(benchmark::State& state, const std::u16string& path) {
    for (auto _ : state) {
        auto bytes = platform::readBytes(path);
        std::u16string text = platform::decodeCp932(*bytes);
        benchmark::DoNotOptimize(text.data());
    }
}

// The floor for a command that works character by character: one table lookup per UTF-16 unit
// of the body, written to a new string.
inline void lookupEachUnit(benchmark::State& state, const std::u16string& body) {
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(0x10000);
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<char16_t>((i * 40503u) >> 3);
        return t;
    }();
    for (auto _ : state) {
        std::u16string out(body.size(), u'\0');
        for (std::size_t i = 0; i < body.size(); ++i)
            out[i] = table[body[i]];
        benchmark::DoNotOptimize(out.data());
    }
}

} // namespace bench
