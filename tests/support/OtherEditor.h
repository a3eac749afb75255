#pragma once

#include <functional>
#include <memory>

namespace test {

// Another copy of the editor at work on the same files at the same moment: a child process where
// the system can fork, else a thread, whose opens of a file are as separate from ours as another
// process's for the locks and the sharing rules.
class OtherEditor {
public:
    explicit OtherEditor(std::function<bool()> work); // starts the work at once
    ~OtherEditor();                                   // waits too
    OtherEditor(const OtherEditor&) = delete;
    OtherEditor& operator=(const OtherEditor&) = delete;

    // Waits for the work to end; whether it returned true.
    bool finished();
    // Whether the calling code is the other editor's work (for hooks that must let it through).
    static bool inside();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace test
