#include "AppFixture.h"

#include <gtest/gtest.h>

using namespace apptest;

TEST(Layout, BodyListAndPreviewFollowTheWindow) {
    App app;
    auto& s = app.s();
    s.Frame3.visible = false;
    app.editor.relayout();
    EXPECT_EQ(s.Text2.rect.width, 6870);
    EXPECT_EQ(s.Text1.rect.width, 7950);
    EXPECT_EQ(s.Text1.rect.height, 5010);
    EXPECT_EQ(s.Picture1.rect.top, 6605);
    EXPECT_EQ(s.Label1.rect.left, 7950 - s.Label1.rect.width - 100);
    EXPECT_EQ(s.Label6.rect.left, s.Label1.rect.left - s.Label6.rect.width - 200);

    s.List1.visible = true;
    app.editor.relayout();
    EXPECT_EQ(s.List1.rect.height, 1640);
    EXPECT_EQ(s.Text1.rect.height, 3330);
    EXPECT_EQ(s.Text1.rect.top, 1560);
    EXPECT_EQ(s.List1.rect.top, 4950);

    s.Frame3.visible = true;
    app.editor.windowResized(9240, 9020, 9000, 8000);
    EXPECT_EQ(s.window.frameWidth + s.window.frameHeight, 240 + 1020);
    EXPECT_EQ(s.Text1.rect.width, 9000 - 2115);
    EXPECT_EQ(s.Frame3.rect.left, 9000 - 2115 + 60);
    EXPECT_EQ(s.Frame3.rect.height, 8000 - 375 - 670);
    EXPECT_EQ(s.Label4.rect.height, s.Frame3.rect.height - 3120 - 100);

    // A tiny window: refused values are left out, the rest still apply.
    s.List1.visible = false;
    app.editor.windowResized(1240, 2020, 1000, 1000);
    EXPECT_EQ(s.Text1.rect.height, 6020 - 1976 - 40);  // 1000 - 1980 is refused
    EXPECT_EQ(s.Text2.rect.width, 9000 - 1080 - 2115); // so is 1000 - 1080 - w3
    EXPECT_EQ(s.Combo1.rect.width, s.Text2.rect.width);
    EXPECT_EQ(s.Picture1.rect.top, 615);
    EXPECT_EQ(s.Picture1.rect.width, 1000);
}

TEST(Layout, SmallCommands) {
    App app;
    auto& s = app.s();
    app.editor.frameClicked();
    EXPECT_EQ(s.Frame1.rect.height, 2655);
    app.editor.frameClicked();
    EXPECT_EQ(s.Frame1.rect.height, 255);

    app.editor.fontSizeChosen(2);
    EXPECT_EQ(s.Text1.fontSize, 15);

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
