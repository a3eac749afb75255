#include "FakeView.h"

#include "core/app/Editor.h"

namespace test {

bool FakeView::waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) {
    for (int waited = 0; waited <= timeoutMs; waited += intervalMs > 0 ? intervalMs : 1)
        if (done())
            return true;
    return false;
}

void FakeView::refresh() {
    if (m_editor)
        shownAtRefresh.push_back(m_editor->s.window.visible);
}

void FakeView::closeWindow() {
    closeAsked = true;
    closed = m_editor ? m_editor->requestClose() : true;
}

} // namespace test
