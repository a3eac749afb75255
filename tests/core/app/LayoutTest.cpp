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

    // The window menu, enabled with the preview button: the preview area, the list, and the
    // filter frame folded out and back as a click on it does.
    s.Command4[0].enabled = false;
    app.editor.viewPre(2);
    const int folded = s.Frame1.rect.height;
    s.Command4[0].enabled = true;
    const bool area = s.Frame3.visible, list = s.List1.visible;
    app.editor.viewPre(0);
    app.editor.viewPre(1);
    EXPECT_TRUE(s.Frame3.visible != area && s.List1.visible != list);
    app.editor.viewPre(2);
    EXPECT_NE(s.Frame1.rect.height, folded);
    app.editor.viewPre(2);
    EXPECT_EQ(s.Frame1.rect.height, folded);

    // Exit ends at once: no question, no settings written.
    s.modified = true;
    app.editor.exitCommand();
    EXPECT_TRUE(app.view.quitCalled);
    EXPECT_FALSE(app.folder.exists("Kotori.ini"));
}
