#include "core/addressbook/AddressBook.h"

#include "core/app/AppFixture.h"

#include <gtest/gtest.h>

namespace {

struct BookFixture : ::testing::Test, apptest::App {
    BookFixture() { editor.loadModelList(); }
    std::vector<std::u16string> destinationTexts() const {
        std::vector<std::u16string> texts;
        for (const core::ListEntry& item : editor.s.Combo1.items)
            texts.push_back(item.text + u"/" + static_cast<char16_t>(u'0' + item.data));
        return texts;
    }
};

const std::string Book = "a@docomo.ne.jp\tAlice\tN501i\tali\t.\t.\r\n"
                         "b@example.com\tBob\tNoSuchPhone\r\n"
                         "c@example.com\r\n"
                         "no address here\r\n"
                         "d@docomo.ne.jp\tDan\r\n"
                         "e@docomo.ne.jp\tEve\tD501i\tx\ty\tz\textra\r\n";

} // namespace

TEST_F(BookFixture, ReaderKeepsTailsAndFiltersForImode) {
    folder.write("addr.adr", Book);
    const std::u16string path = editor.programFile(core::AddressBookFile);
    auto all = core::readAddressBook(path, false);
    auto entry = [](const core::AddressEntry& e) { return e.address + u"|" + e.name + u"|" + e.tail; };
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(entry(all[0]), u"a@docomo.ne.jp|Alice|N501i\tali\t.\t.");
    EXPECT_EQ(entry(all[2]), u"c@example.com|c@example.com|");
    EXPECT_EQ(all[3].tail, u""); // only two fields
    EXPECT_EQ(all[4].tail, u"D501i\tx\ty\tz\textra");
    EXPECT_EQ(core::tabField(all[4].tail, 3), u"z");
    EXPECT_EQ(core::tabField(all[4].tail, 9), u"");

    // i-mode: full records need the carrier tag; bare addresses stay whatever they are.
    auto imode = core::readAddressBook(path, true);
    ASSERT_EQ(imode.size(), 4u);
    EXPECT_EQ(imode[1].address + imode[2].name, u"c@example.comDan");
    EXPECT_TRUE(core::readAddressBook(editor.programFile(u"missing.adr"), false).empty());

    // Every kind of line end, a CR-only file, and a stray lead byte before a TAB.
    folder.write("odd.adr", "a@x\rb@y\nc@z\r\n\r\nd@w\r\r\ne@v\x82\tname\x82\r\nf@u");
    auto odd = core::readAddressBook(editor.programFile(u"odd.adr"), false);
    std::u16string seen;
    for (const auto& e : odd)
        seen += entry(e) + u";";
    EXPECT_EQ(seen, u"a@x|a@x|;b@y|b@y|;c@z|c@z|;d@w|d@w|;e@v\u30FB|name\u30FB|;f@u|f@u|;");
}

TEST_F(BookFixture, DestinationListFromTheBookAndWhatTheWriterStores) {
    test::TempFolder empty; // no book: no list, no button
    core::Editor other{prompts, clock, empty.core()};
    other.loadToAddressList();
    EXPECT_FALSE(other.s.Command6.enabled || !other.s.Combo1.items.empty());
    folder.write("addr.adr", Book);
    editor.loadToAddressList();
    EXPECT_TRUE(editor.s.Command6.enabled);
    EXPECT_EQ(destinationTexts().at(3), u"Dan<d@docomo.ne.jp>/0"); // the rest: as written back below
    auto entries = core::readAddressBook(editor.programFile(core::AddressBookFile), false);
    entries.push_back({u"", u"Nameless", u""});                // nothing to keep: dropped
    entries.push_back({u"", u"Only name", u"Other\t.\t.\t."}); // a tail keeps it
    entries.push_back({u"f@docomo.ne.jp", u"Fay", u"F501i"});
    ASSERT_TRUE(core::writeAddressBook(editor, entries, folder.read("addr.adr")));
    EXPECT_EQ(folder.read("addr.adr"), "a@docomo.ne.jp\tAlice\tN501i\tali\t.\t.\r\n"
                                       "b@example.com\tBob\tNoSuchPhone\r\n"
                                       "c@example.com\r\n"
                                       "d@docomo.ne.jp\r\n" // two fields: its name is not kept
                                       "e@docomo.ne.jp\tEve\tD501i\tx\ty\tz\textra\r\n"
                                       "\tOnly name\tOther\t.\t.\t.\r\n"
                                       "f@docomo.ne.jp\tFay\tF501i\r\n");
    const std::vector<std::u16string> written = destinationTexts();
    EXPECT_EQ(written, (std::vector<std::u16string>{u"Alice<a@docomo.ne.jp>/1", u"Bob<b@example.com>/0",
                                                    u"c@example.com/0", u"d@docomo.ne.jp/0", u"Eve<e@docomo.ne.jp>/3",
                                                    u"Only name<>/0", u"Fay<f@docomo.ne.jp>/2"}));

    // An empty book is an empty file, not a missing one.
    ASSERT_TRUE(core::writeAddressBook(editor, {{u"", u"x", u""}}, folder.read("addr.adr")));
    EXPECT_TRUE(folder.exists("addr.adr"));
    EXPECT_EQ(folder.read("addr.adr"), "");
    EXPECT_TRUE(editor.s.Combo1.items.empty());
}
