#include "ui/Application.h"

#include "core/app/Clock.h"
#include "core/app/Editor.h"
#include "platform/Paths.h"
#include "ui/Convert.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>

namespace ui {

bool startEditor(core::Editor& editor, MainWindow& window, std::u16string_view commandLine) {
    editor.setView(&window);
    editor.startup(commandLine);
    if (window.ended() || editor.ProgramEnding)
        return false; // start-up closed the window or ended the program
    editor.s.window.visible = true;
    window.refresh();
    // A mail starts with its destination, then the title, then the body.
    QWidget::setTabOrder(window.Combo1, window.Text2);
    QWidget::setTabOrder(window.Text2, window.Text1);
    window.Combo1->setFocus();
    return true;
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QtPrompts prompts;
    core::SystemClock clock;
    core::Editor editor(prompts, clock, platform::programFolder(), platform::documentFolder());
    MainWindow window(editor);
    prompts.setParentWidget(&window);
    prompts.setBeforeShow([&window] { window.showBeforeQuestion(); });

    // The whole command line is one file path, spaces included.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!startEditor(editor, window, u16(args.join(QLatin1Char(' ')))))
        return 0;
    int code = app.exec();
    editor.setView(nullptr);
    return code;
}

} // namespace ui
