#include "WindowTest.h"

#include "ui/TextMirror.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTextBlock>

#include <random>

namespace test {
namespace {

TEST_F(WindowTest, TypingEditsTheEditorsBodyWithCrLf) {
    start();
    ui::BodyEdit* body = w().Text1;
    body->setFocus();
    type(body, QStringLiteral("あい\nb"));
    EXPECT_EQ(s().Text1.text, u"あい\r\nb");
    EXPECT_EQ(std::pair(s().Text1.selStart, s().Text1.selLength), std::pair(5, 0));

    // Enter with a modifier is a line break like any other, never a soft break inside the line.
    key(body, Qt::Key_Return, Qt::ShiftModifier);
    key(body, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(s().Text1.text, u"あい\r\nb\r\n\r\n");

    // The editor's caret goes to the box: typing lands where the editor says.
    s().Text1.selStart = 2;
    w().refresh();
    type(body, QStringLiteral("う"));
    EXPECT_EQ(s().Text1.text, u"あいう\r\nb\r\n\r\n");
    EXPECT_EQ(s().Text1.selStart, 3);

    // Deleting a line break removes both of its characters; undo brings them back.
    key(body, Qt::Key_Delete);
    EXPECT_EQ(s().Text1.text, u"あいうb\r\n\r\n");
    key(body, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"あいう\r\nb\r\n\r\n");

    // A selection across a line break, in core units.
    s().Text1.selStart = 3;
    w().refresh();
    key(body, Qt::Key_Right, Qt::ShiftModifier);
    key(body, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(s().Text1.selStart, s().Text1.selLength), std::pair(3, 3));

    // Text committed by an input method is an edit like any other; its pre-edit text is not.
    s().Text1.selLength = 0;
    w().refresh();
    QInputMethodEvent compose(QStringLiteral("にほんご"), {});
    QApplication::sendEvent(body, &compose);
    EXPECT_EQ(s().Text1.text, u"あいう\r\nb\r\n\r\n");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本語"));
    QApplication::sendEvent(body, &commit);
    EXPECT_EQ(s().Text1.text, u"あいう日本語\r\nb\r\n\r\n");
    key(body, Qt::Key_Z, Qt::ControlModifier);
    s().Text1.selStart = 3;
    s().Text1.selLength = 0;
    w().refresh();
    key(body, Qt::Key_Right, Qt::ShiftModifier);
    key(body, Qt::Key_Right, Qt::ShiftModifier);

    // Pasted text with line breaks of any kind arrives with CR LF.
    QGuiApplication::clipboard()->setText(QStringLiteral("x\ny\r\nz"));
    key(body, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"あいうx\r\ny\r\nz\r\n\r\n");
    EXPECT_EQ(shownBody(), s().Text1.text);
}

TEST_F(WindowTest, EditorEditsShowInTheBoxAndUndoInOneStep) {
    start();
    ui::BodyEdit* body = w().Text1;
    body->setFocus();
    type(body, QStringLiteral("abc"));
    editor->replaceBody(1, 1, u"XY\r\nZ");
    EXPECT_EQ(shownBody(), u"aXY\r\nZc");

    key(body, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shownBody(), u"abc");
    EXPECT_EQ(s().Text1.text, u"abc"); // the undo reached the editor as an edit

    editor->setBody(u"一行目\r\n二行目\r\n");
    EXPECT_EQ(body->document()->blockCount(), 3);
    key(body, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"abc");

    // State set behind the window's back is brought over on the next mirroring.
    s().Text1.text = u"abc\r\nd";
    w().refresh();
    EXPECT_EQ(shownBody(), u"abc\r\nd");
}

TEST_F(WindowTest, PreviewChangesOnlyWhatDiffers) {
    start();
    QPlainTextEdit* preview = w().Text3;
    std::u16string lines;
    for (int i = 0; i < 200; ++i)
        lines += u"プレビューの行\r\n";
    editor->setPreviewText(lines);
    EXPECT_EQ(shownPreview(), lines);

    QSignalSpy changes(preview->document(), &QTextDocument::contentsChange);
    editor->setPreviewText(lines + u"x");
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toInt(), preview->document()->characterCount() - 2);         // only the new character
    EXPECT_EQ(std::pair(changes[0][1].toInt(), changes[0][2].toInt()), std::pair(0, 1)); // removed, added

    s().Text3.text = u"縦\r\n書";
    s().Text3.selStart = 3;
    w().refresh();
    EXPECT_EQ(shownPreview(), u"縦\r\n書");
    EXPECT_EQ(preview->textCursor().position(), 2);
}

// Random edits from both sides keep the mirror, the document and a plain copy of the text equal.
TEST(TextMirror, StaysInStepThroughRandomEditsFromBothSides) {
    for (bool loneBreaks : {false, true}) {
        QPlainTextEdit edit;
        ui::TextMirror mirror(&edit);
        std::u16string reference;
        bool applying = false;
        QObject::connect(edit.document(), &QTextDocument::contentsChange, &edit, [&](int p, int r, int a) {
            if (applying)
                return; // a mirrored edit is not the user's
            if (auto e = mirror.documentChanged(p, r, a))
                reference.replace(std::size_t(e->pos), std::size_t(e->removed), e->text);
        });
        std::mt19937 random(loneBreaks ? 7 : 3);
        auto pick = [&](int n) { return n <= 0 ? 0 : int(random() % unsigned(n + 1)); };
        std::vector<std::u16string> pieces{u"a", u"あ", u"\r\n", u"xyz", u"\r\n\r\n"};
        if (loneBreaks)
            pieces.insert(pieces.end(), {u"\r", u"\n"});
        auto pairAt = [&](int pos) {
            return !loneBreaks && pos > 0 && pos < int(reference.size()) && reference[std::size_t(pos) - 1] == u'\r' &&
                   reference[std::size_t(pos)] == u'\n';
        };
        for (int step = 0; step < 300; ++step) {
            std::u16string piece = pieces[random() % pieces.size()];
            if (step % 2 == 0) {
                // The editor edits its copy (on pair boundaries) and tells the box.
                int pos = pick(int(reference.size()));
                while (pairAt(pos))
                    --pos;
                int removed = std::min(pick(3), int(reference.size()) - pos);
                while (removed > 0 && pairAt(pos + removed))
                    ++removed;
                reference.replace(std::size_t(pos), std::size_t(removed), piece);
                applying = true;
                mirror.apply(pos, removed, piece);
                applying = false;
            } else {
                // The user edits the document.
                int length = edit.document()->characterCount() - 1;
                QTextCursor c(edit.document());
                c.setPosition(pick(length));
                c.setPosition(std::min(length, c.position() + pick(2)), QTextCursor::KeepAnchor);
                c.insertText(piece == u"\r\n" ? QStringLiteral("\n") : QString::fromStdU16String(piece));
            }
            ASSERT_EQ(mirror.text(), reference) << "step " << step;
            int docPos = pick(edit.document()->characterCount() - 1);
            if (!loneBreaks) {
                ASSERT_EQ(ui::coreText(edit.toPlainText()), reference) << "step " << step;
                ASSERT_EQ(mirror.toDocument(mirror.toCore(docPos)), docPos) << "step " << step;
            }
        }
    }
}

} // namespace
} // namespace test
