#pragma once

// What the benchmark programs share: one answer to every box, a clock that stands still, a
// scratch folder of the run's own, and the floor for opening a file.
#include "core/app/Clock.h"
#include "core/app/Prompts.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

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
inline std::filesystem::path scratchFolder(const std::string& name) {
    std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("kotori-bench-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
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

} // namespace bench
