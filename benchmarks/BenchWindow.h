#pragma once

#include "Ratio.h"
#include "core/app/Prompts.h"

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

// Answers every box at once (No, Cancel, empty), so a timed run never waits for a user.
class AutoPrompts : public core::Prompts {
public:
    core::Answer question(std::u16string_view, std::u16string_view, core::Buttons buttons, core::Icon) override {
        return buttons == core::Buttons::YesNo
                   ? core::Answer::No
                   : (buttons == core::Buttons::OkCancel ? core::Answer::Cancel : core::Answer::Ok);
    }
    void message(std::u16string_view, std::u16string_view, core::Icon) override {}
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
};

// A plain window with widgets of the same kinds and number as the main window, and no editor:
// the floor for start-up.

inline void buildBareWindow(QMainWindow& window) {
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    window.setWindowTitle(QStringLiteral("ことり便"));
    window.resize(530, 490);
    auto* bar = new QGroupBox(client);
    bar->setGeometry(0, 0, 529, 51);
    for (int i = 0; i < 6; ++i)
        (new QPushButton(bar))->setGeometry(2 + 40 * i, 8, 41, 41);
    (new QCheckBox(QStringLiteral("i-mode設定"), bar))->setGeometry(264, 16, 81, 12);
    (new QComboBox(bar))->setGeometry(344, 10, 81, 20);
    auto* filters = new QGroupBox(QStringLiteral("制限"), client);
    filters->setGeometry(280, 32, 139, 17);
    for (int i = 0; i < 9; ++i)
        (new QCheckBox(QStringLiteral("抜き"), filters))->setGeometry(8 + 72 * (i % 2), 16 + 32 * (i / 2), 60, 17);
    (new QPushButton(QStringLiteral("アドレス(&A)"), client))->setGeometry(0, 56, 81, 20);
    auto* to = new QComboBox(client);
    to->setEditable(true);
    to->setGeometry(80, 56, 313, 20);
    (new QLabel(QStringLiteral("件名：："), client))->setGeometry(0, 80, 73, 17);
    (new QLineEdit(client))->setGeometry(80, 80, 313, 18);
    (new QPlainTextEdit(client))->setGeometry(0, 104, 393, 225);
    auto* list = new QListWidget(client);
    list->setGeometry(0, 336, 393, 100);
    list->hide();
    auto* preview = new QGroupBox(client);
    preview->setGeometry(392, 43, 137, 393);
    (new QComboBox(preview))->setGeometry(8, 8, 121, 20);
    (new QPlainTextEdit(preview))->setGeometry(8, 32, 117, 114);
    (new QPushButton(QStringLiteral("送信イメージ"), preview))->setGeometry(40, 152, 81, 25);
    (new QCheckBox(QStringLiteral("縦書きﾌﾟﾚﾋﾞｭｰﾓｰﾄﾞ"), preview))->setGeometry(8, 184, 121, 17);
    auto* note = new QLabel(QStringLiteral("実際の簡易的な送信イメージ画面です。"), preview);
    note->setWordWrap(true);
    note->setGeometry(8, 208, 121, 178);
    auto* status = new QFrame(client);
    status->setGeometry(0, 440, 529, 25);
    for (int i = 0; i < 5; ++i)
        (new QLabel(QStringLiteral("・制限："), status))->setGeometry(4 + 100 * i, 4, 100, 17);
    const int entries[] = {6, 17, 26, 10, 9, 6};
    for (int m = 0; m < 6; ++m) {
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("メニュー"));
        for (int i = 0; i < entries[m]; ++i)
            menu->addAction(QStringLiteral("項目"));
    }
}

// The main of a benchmark that also times a window: offscreen unless a display is asked for,
// the data written and the window timed before the ratios, and the scratch folder removed.
inline int runWithWindow(int argc, char** argv, const std::filesystem::path& folder,
                         const std::function<void()>& beforeRatios, const std::vector<Comparison>& comparisons) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    beforeRatios();
    const int rc = runWithRatios(argc, argv, comparisons);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return rc;
}

} // namespace bench
