// One typed character in a 64,000-byte body with the preview shown, beside one typed character
// in a plain QPlainTextEdit holding the same text. Both run in this process, offscreen.
#include "BenchWindow.h"
#include "QuickCore.h"
#include "Ratio.h"

#include "core/app/Clock.h"
#include "core/app/Editor.h"
#include "platform/Paths.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// 10,000 short lines of kana, kanji and ASCII: 64,000 bytes in Shift_JIS with CR LF.
std::u16string bodyText() {
    std::u16string text;
    for (int i = 0; i < 10000; ++i)
        text += (i % 5 < 3) ? u"abあ\r\n" : u"a漢字\r\n";
    return text;
}

void waitShown(QWidget& window) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

void press(QWidget* target, int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &up);
    QApplication::processEvents(); // layout and paint belong to the keystroke
}

// CPU time of one typed character, taken back with an untimed Backspace.
double typedNs(QWidget* target) {
    const double start = bench::threadCpuNs();
    press(target, Qt::Key_X, QStringLiteral("x"));
    const double end = bench::threadCpuNs();
    press(target, Qt::Key_Backspace, QString());
    return end - start;
}

void caretToMiddle(QPlainTextEdit* edit) {
    QTextCursor c = edit->textCursor();
    c.setPosition(edit->document()->characterCount() / 2);
    edit->setTextCursor(c);
    edit->setFocus();
}

// Once typing pauses the preview brings the row being edited into view, and from then on each
// keystroke repaints that row there too, as a user sees it. One keystroke and a pause first, so
// that every timed keystroke does: otherwise the figure would depend on whether some pause in
// the run happened to be long enough.
void settlePreview(ui::MainWindow& window) {
    window.activateWindow();
    press(window.Text1, Qt::Key_X, QStringLiteral("x"));
    press(window.Text1, Qt::Key_Backspace, QString());
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window.Text3->viewport()->rect().intersects(window.Text3->cursorRect()))
        std::printf("keystroke: the preview does not show the row being edited\n");
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    fs::path dir =
        fs::temp_directory_path() / ("kotori-bench-keys-" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(dir / "wine");
    setenv("WINEPREFIX", (dir / "wine").c_str(), 1);
    std::u16string text = bodyText();
    const int keystrokes = 200; // a round

    // The main window makes its font the application's: the bare editor keeps Qt's own.
    const QFont plainFont = QApplication::font();
    bench::AutoPrompts prompts;
    core::SystemClock clock;
    core::Editor editor(prompts, clock, platform::fromUtf8(dir.string()));
    ui::MainWindow window(editor);
    editor.setView(&window);
    editor.s.window.visible = true;
    editor.s.Frame3.visible = true;
    editor.setBody(text);
    window.refresh();
    waitShown(window);
    caretToMiddle(window.Text1);
    window.refresh();
    settlePreview(window);

    QMainWindow bareWindow;
    bareWindow.setFont(plainFont);
    bareWindow.resize(530, 490);
    auto* bare = new QPlainTextEdit(&bareWindow);
    bareWindow.setCentralWidget(bare);
    QString plain = QString::fromStdU16String(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    bare->setPlainText(plain);
    waitShown(bareWindow);
    caretToMiddle(bare);

    // Turn about, a block of keystrokes each, so both meet the same load of a shared machine;
    // a round's figure is its CPU time per keystroke. Each window is made active before its
    // block and left so: switching windows between keystrokes would repaint both windows'
    // frames inside the other's keystrokes.
    const auto block = [&](QWidget& owner, QWidget* target) {
        owner.activateWindow();
        QApplication::processEvents();
        double ns = 0;
        for (int i = 0; i < keystrokes + 20; ++i) {
            const double t = typedNs(target);
            if (i >= 20)
                ns += t;
        }
        return ns / keystrokes;
    };
    const auto measure = [&](const char* name) {
        bench::Rounds rounds;
        for (int r = 0; r < bench::Repetitions; ++r) {
            bench::useQuickestCore(name);
            rounds.baseline.push_back(block(bareWindow, bare));
            rounds.ours.push_back(block(window, window.Text1));
        }
        return rounds;
    };
    // KOTORI_BENCH_ONLY=TEXT times only the comparisons whose name holds TEXT.
    const char* only = std::getenv("KOTORI_BENCH_ONLY");
    const auto taken = [&](const std::string& name) {
        return !only || name.find(only) != std::string::npos ? measure(name.c_str()) : bench::Rounds{};
    };
    const bench::Rounds typing = taken("keystroke_vs_bare_editor");
    // The same with the body far over a character limit: the banner and the excess shown on
    // red follow every keystroke.
    editor.CharLimit = 250;
    editor.s.Check1[6].checked = true;
    editor.markExcess();
    window.refresh();
    const bench::Rounds over = taken("keystroke_over_limit_vs_bare_editor");
    editor.setView(nullptr);
    std::printf("keystroke CPU: kotori %.1f us, bare editor %.1f us; over the limit %.1f us, %.1f us\n",
                typing.oursNs() / 1e3, typing.baselineNs() / 1e3, over.oursNs() / 1e3, over.baselineNs() / 1e3);
    if (!typing.ours.empty())
        bench::printRatio("keystroke_vs_bare_editor", typing);
    if (!over.ours.empty())
        bench::printRatio("keystroke_over_limit_vs_bare_editor", over);
    fs::remove_all(dir);
    return 0;
}
