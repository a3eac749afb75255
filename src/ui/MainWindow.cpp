#include "ui/MainWindow.h"

#include "platform/Paths.h"
#include "ui/Convert.h"
#include "ui/EmojiFonts.h"
#include "ui/Fonts.h"
#include "ui/RegistryWindow.h"

#include <cstdlib>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

namespace ui {

MainWindow::MainWindow(core::Editor& editor, QWidget* parent)
    : QMainWindow(parent), m_editor(editor), m_body(nullptr), m_preview(nullptr) {
    setObjectName(QStringLiteral("Form1"));
    registerEmojiFonts();
    // Dialogs show their Japanese in the window's font. And a new line box is laid out once in
    // the application's font before its own: with one font for both, only one face is loaded.
    const QFont font = japaneseFont(u"ＭＳ ゴシック", 9);
    QApplication::setFont(font);
    setFont(font);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);
    buildControls();
    buildMenus();
    m_body = TextMirror(Text1);
    m_preview = TextMirror(Text3);
    connectControls();
    connectMenus();
    connectAddressBook();
    m_previewCaretTimer = new QTimer(this);
    m_previewCaretTimer->setSingleShot(true);
    m_previewCaretTimer->setInterval(60);
    connect(m_previewCaretTimer, &QTimer::timeout, this, [this] { refresh(); });
    refresh();
}

MainWindow::~MainWindow() {
    delete m_registry; // before what it reaches the body through
}

void MainWindow::bodyReplaced(int pos, int removed, std::u16string_view text) {
    if (m_inBodyChange > 0 || !m_pendingBody.empty()) {
        // The document is still announcing the user's edit; change it once that is over.
        m_pendingBody.push_back({pos, removed, std::u16string(text), false});
        if (m_pendingBody.size() == 1)
            QTimer::singleShot(0, this, [this] {
                flushPendingBody();
                refresh();
            });
        return;
    }
    bool was = m_syncing;
    m_syncing = true;
    m_body.apply(pos, removed, text, m_inCommand && m_commandEdited);
    m_commandEdited = m_inCommand;
    m_syncing = was;
}

void MainWindow::bodyAmended(int pos, int removed, std::u16string_view text) {
    bodyReplaced(pos, removed, text);
    if (!m_pendingBody.empty())
        m_pendingBody.back().joinPrevious = true; // one undo step with the edit it amends
}

void MainWindow::flushPendingBody() {
    if (m_pendingBody.empty())
        return;
    if (m_inBodyChange > 0) {
        QTimer::singleShot(0, this, [this] {
            flushPendingBody();
            refresh();
        });
        return;
    }
    std::vector<CoreEdit> edits;
    edits.swap(m_pendingBody);
    bool was = m_syncing;
    m_syncing = true;
    for (const CoreEdit& e : edits)
        m_body.apply(e.pos, e.removed, e.text, e.joinPrevious);
    m_syncing = was;
}

void MainWindow::previewReplaced(int pos, int removed, std::u16string_view text) {
    bool was = m_syncing;
    m_syncing = true;
    m_preview.apply(pos, removed, text);
    m_previewCaretDue = true;
    m_syncing = was;
}

void MainWindow::releaseQuestions() {
    if (!m_releaseQueued || m_inBodyChange > 0)
        return;
    m_releaseQueued = false;
    if (m_shaped[0] != m_body.holdsPrivateUse())
        syncBoxFonts(); // the body's, which waited for its edit to be over
    // Most edits leave nothing to ask: no mirroring for them beyond the edit's own.
    if (m_editor.questionsWaiting())
        act([&] { m_editor.releaseQuestions(); });
    else
        m_editor.releaseQuestions();
}

void MainWindow::bodyDocumentChanged(int pos, int removed, int added) {
    if (m_syncing)
        return; // our own mirroring edit
    ++m_inBodyChange;
    m_commandEdited = false; // a command's later edits are a step of their own after this one
    if (auto edit = m_body.documentChanged(pos, removed, added)) {
        // The box shows the edit only once this change is over: questions about it wait.
        m_editor.holdQuestions();
        if (!m_releaseQueued) {
            m_releaseQueued = true;
            if (!Text1->takingKey()) // a key press releases them itself once the box is done
                QMetaObject::invokeMethod(
                    this, [this] { releaseQuestions(); }, Qt::QueuedConnection);
        }
        m_editor.bodyEdited(edit->pos, edit->removed, edit->text);
        const core::TextBox& body = m_editor.s.Text1;
        if (body.selLength != 0 || body.selStart != edit->pos + int(edit->text.size())) {
            // The editor chose a selection while handling the edit (the excess the user kept):
            // the box's own caret, moved once the edit is over, must not replace it.
            m_coreSelection = true;
            QTimer::singleShot(0, this, [this] {
                m_coreSelection = false;
                refresh();
            });
        }
    }
    bodySelectionMoved();
    m_typing = true;
    refresh();
    m_typing = false;
    --m_inBodyChange;
}

void MainWindow::bodySelectionMoved() {
    // While an editor edit or selection waits to reach the box, the editor's caret is the one
    // that counts.
    if (m_syncing || !m_pendingBody.empty() || m_coreSelection)
        return;
    QTextCursor c = Text1->textCursor();
    int start = m_body.toCore(c.selectionStart());
    int length = m_body.toCore(c.selectionEnd()) - start;
    if (start != m_editor.s.Text1.selStart || length != m_editor.s.Text1.selLength)
        m_editor.bodySelectionChanged(start, length);
}

namespace {

void readSelection(const QLineEdit* edit, int& start, int& length) {
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        length = int(edit->selectedText().size());
    } else {
        start = edit->cursorPosition();
        length = 0;
    }
}

} // namespace

void MainWindow::lineSelectionMoved(QLineEdit* edit, core::TextBox& textState) {
    if (!m_syncing)
        readSelection(edit, textState.selStart, textState.selLength);
}

void MainWindow::destinationSelectionMoved() {
    if (!m_syncing)
        readSelection(Combo1->lineEdit(), m_editor.s.Combo1.selStart, m_editor.s.Combo1.selLength);
}

void MainWindow::showBeforeQuestion() {
    refresh();
    repaint(); // the box comes up over what the user has just done, not over the state before it
}

void MainWindow::processEvents() {
    // A long command calls this often; mirroring every time would cost more than the command.
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastEventsRefresh >= 50) {
        m_lastEventsRefresh = now;
        refresh();
    }
    QCoreApplication::processEvents();
}

bool MainWindow::waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) {
    if (done())
        return true;
    refresh();
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(std::max(1, intervalMs));
    bool reached = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        if (done()) {
            reached = true;
            loop.quit();
        } else if (clock.elapsed() >= timeoutMs) {
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
    return reached;
}

void MainWindow::setClipboardText(std::u16string_view text) {
    QGuiApplication::clipboard()->setText(qs(text));
}

void MainWindow::openDocument(std::u16string_view path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(platform::nativePath(path).string())));
}

void MainWindow::closeWindow() {
    close();
}

void MainWindow::quit() {
    m_ending = true;
    close();
    m_ended = true;
    if (m_endProgram)
        m_endProgram();
    else
        QCoreApplication::exit(0);
}

void MainWindow::bringToFront() {
    showMinimized();
    showNormal();
    raise();
    activateWindow();
}

bool MainWindow::frameKnown() const {
    return isVisible() && frameGeometry().size() != geometry().size();
}

QSize MainWindow::outerTwips() const {
    const core::WindowState& w = m_editor.s.window;
    if (m_reapplyQueued) // the size is about to be given again: it stands meanwhile
        return QSize(w.outerWidth, w.outerHeight);
    QSize twips;
    if (frameKnown() && !m_onAssumedFrame)
        twips = frameGeometry().size() * TwipsPerPixel;
    else // as the size was applied: the client area and the editor's own idea of the frame
        twips = m_client->size() * TwipsPerPixel + QSize(w.frameWidth, w.frameHeight);
    // Not a pixel changed: the editor keeps the exact size it has (the settings may hold any).
    if (std::abs(twips.width() - w.outerWidth) < TwipsPerPixel)
        twips.setWidth(w.outerWidth);
    if (std::abs(twips.height() - w.outerHeight) < TwipsPerPixel)
        twips.setHeight(w.outerHeight);
    return twips;
}

void MainWindow::reapplyOuterSizeSoon() {
    if (m_reapplyQueued)
        return;
    m_reapplyQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_reapplyQueued = false;
        applyOuterSize();
    });
}

QSize MainWindow::nonClientSize() {
    // What the window holds beside the client area (the menu bar), as its layout places it.
    ensurePolished();
    if (QLayout* l = layout())
        l->activate();
    return size() - m_client->size();
}

void MainWindow::applyOuterSize() {
    const core::WindowState& w = m_editor.s.window;
    m_appliedOuterWidth = w.outerWidth;
    m_appliedOuterHeight = w.outerHeight;
    // Until the window manager has framed the window, its frame is not known: the editor's
    // assumed one stands in, and the size is applied again once the real one is there.
    m_onAssumedFrame = !frameKnown();
    QSize size;
    if (!m_onAssumedFrame)
        size = QSize(px(w.outerWidth), px(w.outerHeight)) - (frameGeometry().size() - geometry().size());
    else {
        m_nonClient = nonClientSize();
        size = QSize(px(w.outerWidth - w.frameWidth), px(w.outerHeight - w.frameHeight)) + m_nonClient;
    }
    resize(size.expandedTo(QSize(1, 1)));
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    const QEvent::Type type = event->type();
    if (m_onAssumedFrame && (type == QEvent::Move || type == QEvent::Show) && frameKnown())
        reapplyOuterSizeSoon();
    if (type == QEvent::Paint && !m_painted) {
        m_painted = true;
        // Queued, so that it runs once this paint is done.
        QTimer::singleShot(0, this, [this] { m_editor.afterFirstPaint(); });
    }
    return handled;
}

void MainWindow::clientResized() {
    // Applied on an assumed frame, or before the menu bar had its place: the size is given
    // again once the real frame and the menu bar's real height are known.
    if (m_onAssumedFrame && (frameKnown() || nonClientSize() != m_nonClient))
        reapplyOuterSizeSoon();
    // The client area's own size, once the window's layout has placed it.
    const QSize outer = outerTwips();
    m_appliedOuterWidth = outer.width();
    m_appliedOuterHeight = outer.height();
    if (m_syncing) {
        m_refreshAgain = true; // reported when the mirroring is done
        return;
    }
    m_editor.windowResized(m_appliedOuterWidth, m_appliedOuterHeight, m_client->width() * 15, m_client->height() * 15);
    refresh();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The secondary windows ask about their own changes first; one that could not save keeps
    // itself and the main window open.
    if (!m_ending && ((m_registry && !m_registry->close()) || !closeAddressBook())) {
        event->ignore();
        return;
    }
    if (m_ending || m_editor.requestClose()) {
        m_ended = true;
        event->accept();
        return;
    }
    event->ignore();
    refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        clientResized();
    else if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        act([&] { m_editor.frameClicked(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ui
