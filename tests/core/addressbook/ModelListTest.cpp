#include "core/addressbook/AddressBook.h"
#include "core/addressbook/ModelList.h"

#include "core/app/AppFixture.h"
#include "core/app/Strings.h"

#include <gtest/gtest.h>

namespace {
struct ModelFixture : ::testing::Test, apptest::App {};
} // namespace

TEST_F(ModelFixture, ModelListFromPresetsAndFile) {
    folder.write("Keitai.pre", "X#0809\r\nno model here\r\n#0809\r\nBig#1212\r\nab#1\r\nBad#08a9\r\nX#0606\r\n");
    editor.loadModelList();
    ASSERT_EQ(editor.s.Combo3.items.size(), 8u); // the four presets, then the file's
    const char16_t* names[] = {u"X", u"", u"Big", u"X"};
    const int codes[] = {809, 809, 1212, 606};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(editor.s.Combo3.items[i + 4].text, names[i]) << i;
        EXPECT_EQ(editor.s.Combo3.items[i + 4].data, codes[i]) << i;
    }
    // A destination shows the first model of its model's name; a name no model has, the first.
    const auto destinations = core::destinationItems({u"a@x\tA\tX\t.\t.\t.", u"b@x\tB\tn501i\t.\t.\t."}, editor.models);
    ASSERT_EQ(destinations.size(), 2u);
    EXPECT_EQ(destinations[0].data, 4);
    EXPECT_EQ(destinations[1].data, 0);

    editor.modelSelected(6);
    EXPECT_EQ(editor.screenColumns(), 12);
    EXPECT_EQ(editor.screenRows(), 12);
    editor.modelSelected(1);
    // No entry: nothing happens.
    editor.modelSelected(-1);
    editor.modelSelected(8);
    EXPECT_EQ(editor.s.Combo3.listIndex, 1);
}

TEST_F(ModelFixture, OddCodesAndAppendedModels) {
    editor.loadModelList(); // no file: presets only
    EXPECT_EQ(editor.models.size(), 4u);
    // Nothing selected yet: the start-up model.
    EXPECT_EQ(std::pair(editor.screenColumns(), editor.screenRows()), std::pair(8, 9));
    editor.s.Combo3.items.push_back({u"Wide", 12345});
    editor.modelSelected(4);
    EXPECT_EQ(editor.screenRows(), 0);

    const std::u16string path = editor.programFile(core::ModelFile);
    EXPECT_TRUE(core::appendModel(path, {u"Foo", 809})); // creates the file
    EXPECT_FALSE(core::appendModel(path, {u"Huge", 10000}));
    EXPECT_TRUE(core::appendModel(path, {u"不明", 1212}));
    EXPECT_EQ(folder.read("Keitai.pre"), "Foo#0809\r\n\x95s\x96\xbe#1212\r\n");
    editor.loadModelList();
    ASSERT_EQ(editor.models.size(), 6u);
    EXPECT_EQ(editor.models[5].name + core::ascii(std::to_string(editor.models[5].screenCode)), u"不明1212");

    // A last line left without its end by hand editing stays a line of its own.
    folder.write("Keitai.pre", "Bar#1010");
    EXPECT_TRUE(core::appendModel(path, {u"Baz", 806}));
    EXPECT_EQ(folder.read("Keitai.pre"), "Bar#1010\r\nBaz#0806\r\n");
}
