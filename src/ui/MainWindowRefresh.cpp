// Mirroring the editor's state into the widgets. Only what differs is set: this runs after
// every event.
#include "ui/MainWindow.h"

#include "ui/Convert.h"
#include "ui/CountLabel.h"
#include "ui/DraftList.h"
#include "ui/ItemListModel.h"
#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/TabStopDelegate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QFrame>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

namespace ui {

int px(int twips) {
    return (twips >= 0 ? twips + TwipsPerPixel / 2 : twips - TwipsPerPixel / 2) / TwipsPerPixel;
}

namespace {

QRect pixels(const core::Rect& r) {
    return QRect(px(r.left), px(r.top), std::max(0, px(r.width)), std::max(0, px(r.height)));
}

// The sum of the characters' own advances, which the font keeps: far cheaper than shaping the
// line, and close to its width.
int roughWidth(const QFontMetrics& metrics, const QString& text) {
    int width = 0;
    for (QChar c : text)
        width += metrics.horizontalAdvance(c);
    return width;
}

// A one-line label shows its whole text, or as much as fits followed by "…" with the whole text
// as its tooltip.
void syncLabel(QLabel* l, std::u16string_view caption, std::u16string_view toolTip) {
    const QString whole = displayText(caption);
    QString shown = whole;
    QString tip = qs(toolTip);
    auto* count = dynamic_cast<CountLabel*>(l);
    if (!l->wordWrap() && !whole.contains(QLatin1Char('\n'))) {
        const QFontMetrics metrics(l->font());
        const int room = l->contentsRect().width();
        // The count changes with every keystroke: a text well inside the room is not shaped.
        const qreal rough = count ? count->roughWidth(whole) : roughWidth(metrics, whole);
        if (rough * 10 > room * 9 && metrics.horizontalAdvance(whole) > room) {
            shown = metrics.elidedText(whole, Qt::ElideRight, room);
            tip = whole;
        }
    }
    if (l->text() != shown) {
        if (count)
            count->setTextInPlace(shown);
        else
            l->setText(shown);
    }
    if (l->toolTip() != tip)
        l->setToolTip(tip);
}

void syncAction(QAction* a, const core::MenuItem& m) {
    if (a->text() != qv(m.caption))
        a->setText(qs(m.caption));
    if (a->isEnabled() != m.enabled)
        a->setEnabled(m.enabled);
    if (a->isVisible() != m.visible)
        a->setVisible(m.visible);
    if (m.checked && !a->isCheckable())
        a->setCheckable(true);
    if (a->isCheckable() && a->isChecked() != m.checked)
        a->setChecked(m.checked);
    if (!m.shortcut.empty() && a->property("kotoriShortcut").toString() != qv(m.shortcut)) {
        a->setProperty("kotoriShortcut", qs(m.shortcut));
        QKeySequence key = QKeySequence::fromString(qs(m.shortcut), QKeySequence::PortableText);
        if (a->shortcut() != key)
            a->setShortcut(key);
    }
}

// Puts the entries in place when their texts differ from what is shown.
void syncItems(ItemListModel* list, const std::vector<core::ListEntry>& items) {
    const std::vector<std::u16string>& shown = list->texts();
    bool same = items.size() == shown.size();
    for (std::size_t i = 0; same && i < items.size(); ++i)
        same = items[i].text == shown[i];
    if (same)
        return;
    std::vector<std::u16string> texts;
    texts.reserve(items.size());
    for (const auto& item : items)
        texts.push_back(item.text);
    list->setTexts(std::move(texts));
}

void syncLineSelection(QLineEdit* edit, int start, int length) {
    int shownStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    int shownLength = edit->hasSelectedText() ? int(edit->selectedText().size()) : 0;
    if (shownStart == start && shownLength == length)
        return;
    if (length > 0)
        edit->setSelection(start, length);
    else
        edit->setCursorPosition(start);
}

void syncTextSelection(QPlainTextEdit* edit, const TextMirror& mirror, int start, int length) {
    QTextCursor c = edit->textCursor();
    int shownStart = mirror.toCore(c.selectionStart());
    int shownEnd = mirror.toCore(c.selectionEnd());
    if (shownStart == start && shownEnd - shownStart == length)
        return;
    c.setPosition(mirror.toDocument(start));
    c.setPosition(mirror.toDocument(start + length), QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

} // namespace

void MainWindow::refresh() {
    if (m_syncing)
        return;
    m_syncing = true;
    for (int round = 0; round < 3; ++round) {
        m_refreshAgain = false;
        syncWindow();
        syncControls();
        if (!m_typing) // menus change by commands, not by typing; a full mirroring follows a pause
            syncMenus();
        syncTexts();
        if (!m_refreshAgain)
            break;
        // A resize happened while mirroring: report it, then mirror what the editor made of it.
        m_syncing = false;
        m_editor.windowResized(m_appliedOuterWidth, m_appliedOuterHeight, m_client->width() * TwipsPerPixel,
                               m_client->height() * TwipsPerPixel);
        m_syncing = true;
    }
    m_syncing = false;
}

void MainWindow::syncWindow() {
    const core::WindowState& w = m_editor.s.window;
    if (windowTitle() != qv(w.caption))
        setWindowTitle(qs(w.caption));
    const QSize minimum(px(w.minInnerWidth), px(w.minInnerHeight));
    if (m_client->minimumSize() != minimum)
        m_client->setMinimumSize(minimum);
    if (w.outerWidth != m_appliedOuterWidth || w.outerHeight != m_appliedOuterHeight)
        applyOuterSize();
    if (!w.visible && isVisible())
        hide();
    else if (w.visible && !isVisible() && !m_ended)
        show();
}

void MainWindow::syncControls() {
    core::MainState& s = m_editor.s;
    if (m_statusFontSize != s.statusFontSize) {
        m_statusFontSize = s.statusFontSize;
        const QFont font = japaneseFont(u"ＭＳ ゴシック", m_statusFontSize);
        for (QLabel* l : {Label3[0], Label3[1], Label6})
            l->setFont(font);
        // The count (digits and "文字", never an emoji) is drawn again at every keystroke: glyphs
        // straight from the font's map, unshaped, make that cheaper.
        QFont count = font;
        count.setStyleStrategy(QFont::PreferNoShaping);
        Label1->setFont(count);
    }
    if (m_countLevel != s.countLevel) {
        m_countLevel = s.countLevel;
        QPalette palette = Label1->palette();
        palette.setColor(QPalette::WindowText, m_countLevel == core::CountLevel::Over ? colours::CountOver
                                               : m_countLevel == core::CountLevel::Near
                                                   ? colours::CountNear
                                                   : Picture1->palette().color(QPalette::WindowText));
        Label1->setPalette(palette);
    }
    for (ControlBinding& b : m_controls) {
        const core::Control& st = *b.state;
        QRect r = pixels(st.rect);
        if (b.widget->geometry() != r) {
            // A label of a fixed size does not ask its parent to lay out again at every new
            // text (the count's is new at every keystroke): nothing here is laid out by hints.
            if (b.label)
                b.label->setFixedSize(r.size());
            b.widget->setGeometry(r);
        }
        if (b.widget->isHidden() == st.visible)
            b.widget->setVisible(st.visible);
        if (b.widget->testAttribute(Qt::WA_Disabled) == st.enabled)
            b.widget->setEnabled(st.enabled);
        if (QLabel* l = b.label) {
            // Measuring a text costs more than the rest of a keystroke's mirroring: only a new
            // text, size or face is measured again.
            LabelShown& shown = b.shown;
            if (shown.caption != st.caption || shown.toolTip != st.toolTip || shown.width != l->width() ||
                shown.font != l->font()) {
                syncLabel(l, st.caption, st.toolTip);
                shown = {st.caption, st.toolTip, l->width(), l->font()};
            }
            continue;
        }
        if (b.widget->toolTip() != qv(st.toolTip))
            b.widget->setToolTip(qs(st.toolTip));
        if (b.button && b.button->text() != qv(st.caption))
            b.button->setText(qs(st.caption));
        else if (b.group && b.group->title() != qv(st.caption))
            b.group->setTitle(qs(st.caption));
    }
    for (std::size_t i = 0; i < 9; ++i)
        if (Check1[i]->isChecked() != s.Check1[i].checked)
            Check1[i]->setChecked(s.Check1[i].checked);
    if (Check2->isChecked() != s.Check2.checked)
        Check2->setChecked(s.Check2.checked);
    if (Check3->isChecked() != s.Check3.checked)
        Check3->setChecked(s.Check3.checked);
    if (m_red != s.Command7.red) {
        m_red = s.Command7.red;
        Command7->setStyleSheet(m_red ? QStringLiteral("QPushButton { background-color: #ff0000; }") : QString());
    }

    // Lists (up to thousands of addresses) are compared on every mirroring but the ones that
    // follow a keystroke in the body, which never changes them.
    if (!m_typing)
        syncItems(m_combo2Model, s.Combo2.items);
    if (Combo2->currentIndex() != s.Combo2.listIndex)
        Combo2->setCurrentIndex(s.Combo2.listIndex);
    if (!m_typing)
        syncItems(m_combo3Model, s.Combo3.items);
    if (Combo3->currentIndex() != s.Combo3.listIndex)
        Combo3->setCurrentIndex(s.Combo3.listIndex);
    if (m_listDelegate->tabStops() != s.List1.tabStops || m_listDelegate->extent() != s.List1.horizontalExtent) {
        m_listDelegate->setTabStops(s.List1.tabStops);
        m_listDelegate->setExtent(s.List1.horizontalExtent);
        List1->doItemsLayout();
    }
    m_listModel->sync();
    if (List1->currentRow() != s.List1.listIndex)
        List1->setCurrentRow(s.List1.listIndex);

    // The destination box is editable: its text is what shows, whatever entry is selected.
    if (!m_typing)
        syncItems(m_combo1Model, s.Combo1.items);
    if (s.Combo1.listIndex >= 0 && Combo1->currentIndex() != s.Combo1.listIndex)
        Combo1->setCurrentIndex(s.Combo1.listIndex);
    if (Combo1->currentText() != qv(s.Combo1.text))
        Combo1->setEditText(qs(s.Combo1.text));
    syncLineSelection(Combo1->lineEdit(), s.Combo1.selStart, s.Combo1.selLength);

    if (Text2->text() != qv(s.Text2.text))
        Text2->setText(qs(s.Text2.text));
    syncLineSelection(Text2, s.Text2.selStart, s.Text2.selLength);
}

void MainWindow::syncMenus() {
    core::MainState& s = m_editor.s;
    for (const ActionBinding& b : m_actions)
        syncAction(b.action, *b.item);
    syncDynamicMenu(Mnucode, PutChar, s.PutChar, "PutChar", true);
    for (std::size_t n = 0; n < PutChar.size(); ++n)
        syncAction(PutChar[n], s.PutChar[n]);
    syncDynamicMenu(imenu, OutAdr, s.OutAdr, "OutAdr", false);
    for (std::size_t n = 0; n < OutAdr.size(); ++n)
        syncAction(OutAdr[n], s.OutAdr[n]);
}

// A text box's marked part, painted by the box behind its text: caret, selection and undo stay
// as they are. `selection` shows the editor's selection as a highlight as well.
void MainWindow::syncMarks(MarkedEdit* box, const TextMirror& mirror, const core::TextBox& state, bool selection,
                           const std::vector<std::pair<int, int>>& cells) {
    QList<QTextEdit::ExtraSelection> marks;
    const bool current = mirror.size() == state.text.size();
    // The excess on its back behind the text; the marks follow edits by themselves, so they are
    // given again only when the editor moved them.
    std::vector<std::pair<int, int>> excess;
    if (current && state.markEnd > state.markStart)
        excess.emplace_back(mirror.toDocument(state.markStart), mirror.toDocument(state.markEnd));
    for (const auto& [from, to] : cells)
        if (current && to <= static_cast<int>(state.text.size()))
            excess.emplace_back(mirror.toDocument(from), mirror.toDocument(to));
    if (current)
        box->setMarks(excess, colours::Excess);
    const auto mark = [&](int from, int to, const QBrush& back, const QBrush& fore) {
        QTextEdit::ExtraSelection m;
        m.cursor = QTextCursor(box->document());
        m.cursor.setPosition(mirror.toDocument(from));
        m.cursor.setPosition(mirror.toDocument(to), QTextCursor::KeepAnchor);
        m.format.setBackground(back);
        if (fore != Qt::NoBrush)
            m.format.setForeground(fore);
        marks.append(m);
    };
    if (selection && current && state.selLength > 0)
        mark(state.selStart, state.selStart + state.selLength, box->palette().brush(QPalette::Highlight),
             box->palette().brush(QPalette::HighlightedText));
    const QList<QTextEdit::ExtraSelection> shown = box->extraSelections();
    bool same = shown.size() == marks.size();
    for (qsizetype i = 0; same && i < marks.size(); ++i)
        same = shown[i].cursor.selectionStart() == marks[i].cursor.selectionStart() &&
               shown[i].cursor.selectionEnd() == marks[i].cursor.selectionEnd() &&
               shown[i].format.background() == marks[i].format.background();
    if (!same)
        box->setExtraSelections(marks);
}

// A one-line box has no highlights of its own: its marked part is a format of its text, given
// as an input method gives one, with no text to add.
void MainWindow::syncLineMark(QLineEdit* box, const core::TextBox& state) {
    const std::array<int, 3> wanted{state.markStart, state.markEnd, int(box->text().size())};
    if (wanted == m_titleMark)
        return;
    m_titleMark = wanted;
    QList<QInputMethodEvent::Attribute> attributes;
    if (state.markEnd > state.markStart && state.markEnd <= box->text().size()) {
        QTextCharFormat format;
        format.setBackground(colours::Excess);
        attributes.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                       state.markStart - box->cursorPosition(),
                                                       state.markEnd - state.markStart, format));
    }
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(box, &event);
}

void MainWindow::fitPreviewFont() {
    // A row of the phone's columns, in full-width characters, fits the box whatever the font's
    // size and the display's resolution: the font gives way, never the row.
    const core::MainState& s = m_editor.s;
    const int index = s.Combo3.listIndex;
    const int columns = index >= 0 && index < static_cast<int>(s.Combo3.items.size())
                            ? s.Combo3.items[static_cast<std::size_t>(index)].data / 100
                            : 0;
    const int room = Text3->viewport()->width() - 2 * static_cast<int>(Text3->document()->documentMargin()) -
                     Text3->cursorWidth() - 1;
    const std::array<int, 2> fit{columns, room};
    if (columns <= 0 || room <= 0 || fit == m_previewFit)
        return;
    m_previewFit = fit;
    QFont font = textBoxFont(s.Text3.fontName, s.Text3.fontSize, m_shaped[2]);
    const QString row(columns, QChar(0x3042)); // あ
    while (font.pointSizeF() > 4 && QFontMetricsF(font).horizontalAdvance(row) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (Text3->font() != font)
        Text3->setFont(font);
}

void MainWindow::syncBoxFonts() {
    const core::MainState& s = m_editor.s;
    const core::TextBox* boxes[3] = {&s.Text1, &s.Text2, &s.Text3};
    QWidget* widgets[3] = {Text1, Text2, Text3};
    // The subject is one short line: always shaped. The body's font waits while its document
    // is still announcing an edit.
    const bool shaped[3] = {m_inBodyChange > 0 ? m_shaped[0] : m_body.holdsPrivateUse(), true,
                            m_preview.holdsPrivateUse()};
    for (int i = 0; i < 3; ++i) {
        if (m_fontNames[i] != boxes[i]->fontName || m_fontSizes[i] != boxes[i]->fontSize || m_shaped[i] != shaped[i]) {
            m_fontNames[i] = boxes[i]->fontName;
            m_fontSizes[i] = boxes[i]->fontSize;
            m_shaped[i] = shaped[i];
            widgets[i]->setFont(textBoxFont(boxes[i]->fontName, boxes[i]->fontSize, shaped[i]));
            if (i == 2)
                m_previewFit = {};
        }
    }
    fitPreviewFont();
}

void MainWindow::syncTexts() {
    core::MainState& s = m_editor.s;
    // Edits reach the boxes through bodyReplaced and previewReplaced; comparing the whole texts
    // is a safety net for state set directly, too costly to run on every keystroke.
    bool compare = !m_typing;
    // The body's document must not change while it announces a change of its own.
    if (m_inBodyChange == 0 && m_pendingBody.empty()) {
        if (m_body.size() != s.Text1.text.size() || (compare && !m_body.shows(s.Text1.text)))
            m_body.syncTo(s.Text1.text);
        syncTextSelection(Text1, m_body, s.Text1.selStart, s.Text1.selLength);
        syncMarks(Text1, m_body, s.Text1, false);
    } else if (m_pendingBody.empty()) {
        // The box's cursor must stay as it is while the box is still making the user's edit: the
        // editor's selection shows as a highlight until it can become the real one.
        syncMarks(Text1, m_body, s.Text1, true);
    }
    const auto wrap = s.Text3.wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    if (Text3->lineWrapMode() != wrap)
        Text3->setLineWrapMode(wrap);
    if (m_preview.size() != s.Text3.text.size() || (compare && !m_preview.shows(s.Text3.text)))
        m_preview.syncTo(s.Text3.text);
    syncMarks(Text3, m_preview, s.Text3, false, s.previewMarks);
    syncLineMark(Text2, s.Text2);
    syncBoxFonts(); // after the texts: an emoji may have come or gone
    // Moving the preview's caret scrolls it: after a keystroke that waits for a pause in typing.
    // A caret the edit carried along is where it should be but may be out of sight: given anew
    // with every change of the preview, it is brought into view, as the user's own scrolling is
    // left alone until the next change.
    if (compare) {
        syncTextSelection(Text3, m_preview, s.Text3.selStart, s.Text3.selLength);
        if (m_previewCaretDue)
            Text3->ensureCursorVisible();
        m_previewCaretDue = false;
    } else {
        m_previewCaretTimer->start();
    }
}

} // namespace ui
