#include "TextFixture.h"

#include <functional>

namespace {

std::u16string report(std::u16string_view size, std::u16string_view count) {
    return u"大きさは、" + std::u16string(size) + u"です。\r\n制限付き文字数は、" + std::u16string(count) +
           u"文字です。";
}

// Runs a code each time the count yields to the window.
class YieldingView : public test::PreviewView {
public:
    void processEvents() override {
        PreviewView::processEvents();
        if (onEvents)
            onEvents();
    }
    std::function<void()> onEvents;
};

} // namespace

TEST_F(TextTest, CountRunLeavesOutTheTickedKinds) {
    struct Case {
        std::u16string body;
        std::vector<int> boxes;
        std::u16string size, count;
    } cases[] = {
        {u"a、b。c", {2, 7}, u"5", u"1.5"},
        {u"x<br>y", {4}, u"6", u"2"},
        {u"ab<cd", {4}, u"5", u"2"}, // an unterminated tag runs to the end
        {u"ことりです", {5}, u"5", u"2"},
        {u"\r\n", {7}, u"2", u"1"},
        {u"a\r\nb", {1}, u"4", u"2"},
        {u"\t \u3000x", {0}, u"4", u"1"},
        {u"「a」[b](c)（d）{e}｛f｝［g］", {3}, u"21", u"9"}, // full-width square brackets stay
        {u"", {}, u"0", u"0"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 9; ++i)
            editor.s.Check1[i].checked = false;
        for (int box : c.boxes)
            editor.s.Check1[box].checked = true;
        editor.s.Text1.text = c.body;
        prompts.message(std::u16string(core::AppTitle), report(c.size, c.count));
        editor.countRun();
        prompts.verify();
        EXPECT_EQ(editor.s.Label1.caption, c.count + u"文字 (" + c.size + u")") << test::show(c.body);
        EXPECT_TRUE(editor.s.Command1.enabled);
        EXPECT_EQ(editor.s.Text1.text, c.body); // measured, not changed
    }
}

TEST_F(TextTest, CountRunShowsProgressAndMeasuresItsCopy) {
    YieldingView yielding;
    editor.setView(&yielding);
    editor.s.window.minimized = true;
    editor.s.Text1.text = u"abcdefgh";
    std::vector<std::u16string> captions;
    yielding.onEvents = [&] {
        captions.push_back(editor.s.window.caption);
        EXPECT_FALSE(editor.s.Command1.enabled);
        editor.s.Text1.text.insert(0, u"more"); // typing during the run
        editor.countRun();                      // an Enter with "auto実行" while it runs starts nothing
    };
    prompts.message(std::u16string(core::AppTitle), report(u"8", u"8"));
    editor.countRun();
    ASSERT_EQ(captions.size(), 8u); // the window had its turn at every character
    EXPECT_EQ(captions.front(), u"ことり便");
    EXPECT_EQ(captions[1], u"12%完了"); // 12.5 rounds to even
    EXPECT_EQ(captions[3], u"38%完了"); // 37.5 too
    EXPECT_EQ(editor.s.window.caption, u"ことり便");
    EXPECT_EQ(editor.s.Command1.caption, u"実行");
    EXPECT_EQ(editor.CountProgress, 0);
    EXPECT_EQ(editor.s.Label1.caption, u"8文字 (8)");
    editor.setView(&view);
}
