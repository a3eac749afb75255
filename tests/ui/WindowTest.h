#pragma once

#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "core/app/Editor.h"
#include "ui/MainWindow.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace test {

struct FixedClock : core::Clock {
    core::DateTime now() const override { return {2026, 12, 6, 21, 30, 5}; }
};

// The real main window on an editor whose program folder is a fresh temporary folder.
// Write the program's files with programFile() first, then start().
class WindowTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Creates the editor and the window, runs start-up and shows the window. Unless the test
    // wrote a pointer file or cleared withBecky, a Becky! 1.26 with one account is in place.
    void start(std::u16string_view commandLine = {});
    // A file in the program folder, in code page 932 with CR LF line ends.
    void programFile(const std::string& name, std::u16string_view text);

    // Types text into a widget key by key; "\n" is the Enter key.
    static void type(QWidget* widget, const QString& text);
    static void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    core::MainState& s() { return editor->s; }
    ui::MainWindow& w() { return *window; }
    // The body box's text with its line breaks as CR LF.
    std::u16string shownBody() const;
    std::u16string shownPreview() const;

    bool withBecky = true;
    int programEnds = 0;
    TempFolder folder;
    ScriptedPrompts prompts;
    FixedClock clock;
    std::unique_ptr<core::Editor> editor;
    std::unique_ptr<ui::MainWindow> window;
};

} // namespace test
