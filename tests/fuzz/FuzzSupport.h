#pragma once

// What the fuzz targets share: reading the fuzzer's bytes, a program folder to put files in, a
// headless editor, and a check that stops the run with a message.
#include "core/app/Clock.h"
#include "core/app/Editor.h"
#include "core/app/MainView.h"
#include "core/app/Prompts.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition) ::fuzz::check((condition), #condition, __FILE__, __LINE__)

namespace fuzz {

void check(bool holds, const char* what, const char* file, int line);

// The fuzzer's bytes, taken from the front.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_size > 0 ? (--m_size, *m_data++) : 0; }
    bool flag() { return byte() & 1; }
    std::string_view rest() const { return {reinterpret_cast<const char*>(m_data), m_size}; }
    // The rest as UTF-16 units, two bytes each (little-endian).
    std::u16string units() const;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// A folder of its own for this run (in memory where the system has it), also made the Wine
// prefix; its files are overwritten input after input.
const std::u16string& folder();
std::string nativeFolder();
std::u16string writeFile(const std::string& relative, std::string_view bytes); // the file's core path

// Answers every question alike and counts what was shown.
class FixedAnswers : public core::Prompts {
public:
    explicit FixedAnswers(core::Answer answer) : m_answer(answer) {}
    core::Answer question(std::u16string_view, std::u16string_view text, core::Buttons, core::Icon) override;
    void message(std::u16string_view, std::u16string_view, core::Icon) override { ++messages; }
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
    std::u16string lastQuestion;
    int questions = 0, messages = 0;

private:
    core::Answer m_answer;
};

// An editor on the run's folder with no window.
struct HeadlessEditor {
    explicit HeadlessEditor(core::Answer answer = core::Answer::No);
    FixedAnswers prompts;
    core::SystemClock clock;
    core::NullView view;
    core::Editor editor;
};

} // namespace fuzz
