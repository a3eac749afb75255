#include "WindowTest.h"

#include "platform/Cp932.h"
#include "ui/Application.h"
#include "ui/TextMirror.h"

#include <QPlainTextEdit>

namespace test {

void WindowTest::TearDown() {
    if (editor)
        editor->setView(nullptr);
    window.reset();
    editor.reset();
}

void WindowTest::start(std::u16string_view commandLine) {
    if (withBecky && !folder.exists("Becky.mil") && !folder.exists("Becky2.mil")) {
        std::filesystem::create_directories(folder.path() / "becky" / "User1");
        programFile("Becky.mil", folder.core() + u"\\becky\\\r\nme@docomo.ne.jp\r\nメイン,1\r\nmain@example.jp\r\n");
    }
    editor = std::make_unique<core::Editor>(prompts, clock, folder.core());
    window = std::make_unique<ui::MainWindow>(*editor);
    window->setEndProgram([this] { ++programEnds; }); // the test's own event loops must keep running
    ASSERT_TRUE(ui::startEditor(*editor, *window, commandLine));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(20); // the size is given again once the window's frame is known
}

void WindowTest::programFile(const std::string& name, std::u16string_view text) {
    folder.write(name, platform::encodeCp932(text));
}

void WindowTest::type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void WindowTest::key(QWidget* widget, Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, k, modifiers);
}

std::u16string WindowTest::shownBody() const {
    return ui::coreText(window->Text1->toPlainText());
}

std::u16string WindowTest::shownPreview() const {
    return ui::coreText(window->Text3->toPlainText());
}

} // namespace test
