// The address book window opened from the main window: both kinds, and the drop target of the
// open command.
#include "WindowTest.h"

#include "ui/AddressBookWindow.h"
#include "ui/Convert.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace test {
namespace {

class AddressBookWindowTest : public WindowTest {
protected:
    void startWithBooks() {
        programFile("addr.adr", u"a@docomo.ne.jp\tアリス\tN501i\tありちゃん\t.\t.\r\n"
                                u"b@docomo.ne.jp\tボブ\tD501i\t.\t.\t.\r\n");
        programFile("becky/AddrBook/Work.adr", u"w@docomo.ne.jp\tWatanabe\t会社\t.\t.\t.\r\n");
        start();
    }
    ui::AddressBookWindow& book() {
        ui::AddressBookWindow* open = w().addressBookWindow();
        EXPECT_NE(open, nullptr);
        return *open;
    }
    // Runs the open command; `whileOpen` acts on the modal window once it shows. A window that
    // never shows, or stays open, fails within seconds instead of holding its loop for ever.
    void openFile(const std::function<void(ui::AddressBookWindow&)>& whileOpen) {
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([this] { return w().addressBookWindow() != nullptr; }, 2000)) {
                ui::AddressBookWindow& open = book();
                QTimer::singleShot(5000, &open, [&open] {
                    ADD_FAILURE() << "the window stays open";
                    open.deleteLater();
                });
                whileOpen(open);
                return;
            }
            ADD_FAILURE() << "the window never shows";
            for (ui::AddressBookWindow* made : w().findChildren<ui::AddressBookWindow*>())
                made->deleteLater();
        });
        w().openfile->trigger();
    }
    static void drop(ui::AddressBookWindow& target, const QList<QUrl>& urls, bool wanted = true) {
        QMimeData data;
        data.setUrls(urls);
        // A drop follows an accepted drag entering the window.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &enter);
        EXPECT_EQ(enter.isAccepted(), wanted);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QPointer<ui::AddressBookWindow> alive(&target);
        QCoreApplication::sendEvent(&target, &event);
        // The drop's exchange still runs through the window: it is neither closed nor deleted
        // until the event has returned to the event loop.
        EXPECT_TRUE(alive && alive->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive && alive->isVisible());
    }
    // A label's text starts at its top, as the window's labels always have.
    static bool inkedFromTheTop(QLabel* label) {
        const QRect room = label->contentsRect();
        const QImage shot = label->grab().toImage();
        const auto inked = [&](int y) {
            for (int x = room.left(); x <= room.right(); ++x)
                if (qGray(shot.pixel(x, y)) < 128)
                    return true;
            return false;
        };
        int top = room.top();
        while (top < room.bottom() && !inked(top))
            ++top;
        return top - room.top() <= label->fontMetrics().height() / 2;
    }
    QUrl fileOfSize(const std::string& name, std::size_t bytes) {
        folder.write(name, std::string(bytes, 'a'));
        return QUrl::fromLocalFile(QString::fromStdString((folder.path() / name).string()));
    }
};

TEST_F(AddressBookWindowTest, BothButtonsOpenTheirKindOneAtATime) {
    startWithBooks();
    QTest::mouseClick(w().Command6, Qt::LeftButton);
    ui::AddressBookWindow& my = book();
    EXPECT_TRUE(my.isVisible());
    EXPECT_FALSE(my.isModal());
    EXPECT_EQ(my.windowTitle(), QStringLiteral("アドレス帳"));
    EXPECT_EQ(my.List1->count(), 2);
    EXPECT_EQ(my.Text1[1]->text(), QStringLiteral("アリス"));
    EXPECT_EQ(my.Text1[0]->text(), QStringLiteral("a@docomo.ne.jp")); // every field shows its row
    // The details, the model's box among them, each on a row of its own inside their frame.
    std::vector<QWidget*> fields(my.Text1.begin(), my.Text1.end());
    fields.push_back(my.Combo2);
    for (QWidget* field : fields) {
        EXPECT_TRUE(my.Frame2->rect().contains(field->geometry()) && field->width() > 100);
        for (QWidget* other : fields)
            EXPECT_TRUE(other == field || !other->geometry().intersects(field->geometry()));
    }

    QTest::mouseClick(my.Command1, Qt::LeftButton);
    EXPECT_EQ(w().Combo1->currentText(), QStringLiteral("a@docomo.ne.jp"));

    // The Becky! button closes the MY kind and opens the groups from the design state.
    const auto openBecky = [&](core::Answer imode) {
        prompts.question(u"CHECK",
                         u"設定がi-mode用になっていませんが、i-mode用のアドレス帳として起動しますか？\r\n"
                         u"(i-mode設定欄にチェックが入ります。)",
                         core::Buttons::YesNo, imode);
        QTest::mouseClick(w().Command2, Qt::LeftButton);
        prompts.verify();
    };
    openBecky(core::Answer::No);
    ui::AddressBookWindow& becky = book();
    EXPECT_NE(&becky, &my);
    EXPECT_EQ(becky.Combo1->currentText(), QStringLiteral("Work"));
    EXPECT_EQ(becky.Combo2->currentText(), QStringLiteral("会社"));

    // The status line repeats a hovered control's tooltip, the longest ones whole.
    for (QWidget* hovered : std::vector<QWidget*>{becky.Command3[3], becky.Text1[2], becky.Text1[0], becky.Text1[3]}) {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(hovered, &enter);
        EXPECT_EQ(becky.Label1->text(), hovered->toolTip());
        EXPECT_FALSE(becky.Label1->text().isEmpty());
        const QRect room = becky.Label1->contentsRect();
        EXPECT_LE(
            QFontMetrics(becky.Label1->font()).boundingRect(room, Qt::TextWordWrap, becky.Label1->text()).height(),
            room.height())
            << becky.Label1->text().toStdString();
        EXPECT_TRUE(inkedFromTheTop(becky.Label1)) << becky.Label1->text().toStdString();
    }

    QTest::mouseClick(becky.Command2, Qt::LeftButton);
    EXPECT_EQ(w().addressBookWindow(), nullptr);

    // Answered はい, the main window shows its i-mode box checked at once.
    openBecky(core::Answer::Yes);
    EXPECT_TRUE(w().Check2->isChecked());
    QTest::mouseClick(book().Command2, Qt::LeftButton);
}

// A book that could not be saved keeps its window open, the change still on screen.
TEST_F(AddressBookWindowTest, ABookThatCannotBeSavedStaysOpen) {
    startWithBooks();
    QTest::mouseClick(w().Command6, Qt::LeftButton);
    ui::AddressBookWindow& my = book();
    my.List1->setCurrentRow(0);
    prompts.question(u"削除確認", u"アリスを削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    QTest::mouseClick(my.Command3[2], Qt::LeftButton);
    std::filesystem::permissions(folder.path() / "addr.adr", std::filesystem::perms::owner_read);
    prompts.question(u"アドレス帳保存", u"アドレス帳に変更があります。保存しますか？", core::Buttons::YesNo,
                     core::Answer::Yes);
    prompts.message(std::u16string(core::AppTitle),
                    u"アドレス帳を保存できませんでした。変更はまだ保存されていません。\r\n" + folder.core() +
                        u"\\addr.adr");
    EXPECT_FALSE(my.close());
    prompts.verify();
    EXPECT_TRUE(my.isVisible());
    EXPECT_EQ(my.List1->count(), 1);
}

TEST_F(AddressBookWindowTest, DroppedFilesLoadIntoTheBodyUpToTheLimit) {
    start();
    const QUrl fits = fileOfSize("fits.txt", 64000);
    const QUrl over = fileOfSize("over.txt", 64001);
    const auto question = [&](const QUrl& url, core::Answer answer) {
        prompts.question(u"ことり", ui::u16(QDir::toNativeSeparators(url.toLocalFile())) + u"を読み込みますか？",
                         core::Buttons::YesNo, answer);
    };

    // Two files: No to the first, Yes to the second, which loads.
    question(over, core::Answer::No);
    question(fits, core::Answer::Yes);
    openFile([&](ui::AddressBookWindow& b) {
        EXPECT_TRUE(b.isModal());
        EXPECT_EQ(b.windowTitle(), QStringLiteral("読み込み"));
        EXPECT_TRUE(b.Frame1->isVisible());
        EXPECT_TRUE(inkedFromTheTop(b.Label2));
        drop(b, {QUrl(QStringLiteral("https://example.com/x.txt"))}, false); // not a local file
        drop(b, {over, fits});
    });
    prompts.verify();
    EXPECT_EQ(shownBody(), std::u16string(64000, u'a'));
    EXPECT_EQ(s().lastGroupIndex, -1);

    // Esc leaves without a file.
    openFile([&](ui::AddressBookWindow& b) { QTest::keyClick(&b, Qt::Key_Escape); });
    EXPECT_EQ(w().addressBookWindow(), nullptr);
}

} // namespace
} // namespace test
