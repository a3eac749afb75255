#pragma once

// What the benchmark programs share: one answer to every box, a clock that stands still, and a
// scratch folder of the run's own.
#include "core/app/Clock.h"
#include "core/app/Prompts.h"

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

} // namespace bench
