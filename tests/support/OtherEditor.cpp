#include "OtherEditor.h"

#ifdef _WIN32
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace test {

namespace {
thread_local bool insideOther = false;
} // namespace

#ifdef _WIN32

struct OtherEditor::State {
    std::thread thread;
    bool result = false;
};

OtherEditor::OtherEditor(std::function<bool()> work) : m_state(std::make_unique<State>()) {
    m_state->thread = std::thread([state = m_state.get(), work = std::move(work)] {
        insideOther = true;
        state->result = work();
    });
}

bool OtherEditor::finished() {
    if (m_state->thread.joinable())
        m_state->thread.join();
    return m_state->result;
}

#else

struct OtherEditor::State {
    pid_t child = -1;
    bool result = false;
};

OtherEditor::OtherEditor(std::function<bool()> work) : m_state(std::make_unique<State>()) {
    m_state->child = ::fork();
    if (m_state->child == 0) {
        insideOther = true;
        ::_exit(work() ? 0 : 1); // no exit handlers: they belong to the parent's test run
    }
}

bool OtherEditor::finished() {
    if (m_state->child > 0) {
        int status = 0;
        const pid_t waited = ::waitpid(m_state->child, &status, 0);
        m_state->result = waited == m_state->child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        m_state->child = -1;
    }
    return m_state->result;
}

#endif

OtherEditor::~OtherEditor() {
    finished();
}

bool OtherEditor::inside() {
    return insideOther;
}

} // namespace test
