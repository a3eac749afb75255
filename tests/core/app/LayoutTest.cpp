#include "AppFixture.h"

#include <gtest/gtest.h>

using namespace apptest;

TEST(Layout, SmallCommands) {
    App app;
    auto& s = app.s();
    app.prompts.message(u"ことり便", u"ご利用ありがとうございます。\r\nことり便 Plus! バージョン0.5.3");
    app.editor.about();

    app.editor.readMe(); // no file: nothing opened
    app.folder.write("readme.txt", "x");
    app.editor.readMe();
    ASSERT_EQ(app.view.opened.size(), 1u);
    EXPECT_EQ(app.view.opened[0], app.folder.core() + u"\\readme.txt");

    // Exit ends at once: no question, no settings written.
    s.modified = true;
    app.editor.exitCommand();
    EXPECT_TRUE(app.view.quitCalled);
    EXPECT_FALSE(app.folder.exists("Kotori.ini"));
}
