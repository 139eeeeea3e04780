// SPDX-License-Identifier: GPL-3.0-or-later
// The real typing windows offscreen, driven by key clicks.
#include "support/fakes.h"
#include "support/screen_reader.h"
#include "support/test_files.h"
#include "typing/practice_file.h"
#include "typing/typing_window.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

const QStringList Lines{"apple", "banana", "cherry", "damson"};

// A window opened on recording services; the file dialog runs `inDialog` and answers with `answer`
// (empty: cancelled); voices, when there are any, speak into the recording services.
struct WindowRig final : VoiceFactory, FilePicker, EditorLauncher {
    explicit WindowRig(TypingLanguage language = TypingLanguage::Japanese, bool voice = true,
                       PreferenceKeeper *kept = nullptr)
        : voiceAvailable(voice)
        , boxes(services)
        , window(language, TypingDevices{services, services, *this, *this, *this, nullptr, kept})
    {
        window.open();
    }
    std::unique_ptr<Speaker> createVoice() override
    {
        struct Voice final : Speaker {
            explicit Voice(RecordingServices &services) : log(services) {}
            void speak(const QString &text) override { log.speak(text); }
            RecordingServices &log;
        };
        ++voicesCreated;
        return voiceAvailable ? std::make_unique<Voice>(services) : nullptr;
    }
    QString chooseTextFile(QWidget *, const TextFileRequest &request) override
    {
        startFolders << request.startFolder;
        if (inDialog)
            inDialog(request);
        return answer;
    }
    bool startEditor() override { return ++editorCalls, editorStarts; }

    QPlainTextEdit *input() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku")); }
    QPlainTextEdit *display() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji")); }
    QString shown() const { return display()->toPlainText(); }
    QString label(const char *name) const { return window.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
    bool scoreShown() const { return window.findChild<QLabel *>(QStringLiteral("lblTokuten"))->isVisibleTo(&window); }
    QTimer *timer() const { return window.findChild<QTimer *>(QStringLiteral("Timer1")); }
    void trigger(const char *action) const { window.findChild<QAction *>(QString::fromLatin1(action))->trigger(); }
    void loadFile(const QString &path)
    {
        answer = path;
        trigger("mnuFileOpen");
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(input(), key, modifiers); }
    // The window's own timer runs the clock out, a millisecond a second.
    void runOut()
    {
        QVERIFY(timer()->isActive());
        timer()->setInterval(1);
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(label("lblTime"), QStringLiteral("TIME 0"));
    }

    QString answer;
    QStringList startFolders; ///< where each dialog opened
    std::function<void(const TextFileRequest &)> inDialog;
    bool voiceAvailable, editorStarts = true;
    int voicesCreated = 0, editorCalls = 0;
    RecordingServices services;
    BoxCatcher boxes;
    TypingWindow window;
};

} // namespace

class TypingWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_practice;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_practice = writeTestFile(m_dir, QStringLiteral("fruit.txt"), Lines.join(u'\n').toUtf8());
    }

    void a_run_through_the_keyboard_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<bool>("voice");
        QTest::newRow("japanese") << TypingLanguage::Japanese << false;
        QTest::newRow("english, a voice") << TypingLanguage::English << true;
        QTest::newRow("english, no voice to be had") << TypingLanguage::English << false;
    }

    void a_run_through_the_keyboard()
    {
        QFETCH(TypingLanguage, language);
        QFETCH(bool, voice);
        const TypingProfile &profile = TypingProfile::of(language);
        const bool english = language == TypingLanguage::English;
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("ab\r\ncd\n"));
        QSignalSpy changes(clipboard, &QClipboard::dataChanged);
        WindowRig rig(language, voice);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QCOMPARE(rig.input()->inputMethodHints().testFlag(Qt::ImhLatinOnly), english);
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        // A line shown and read by a screen reader; the timer on.
        const QString first = rig.shown();
        QVERIFY(Lines.contains(first));
        QCOMPARE(textOf(accessible(rig.display())), first);
        QTRY_VERIFY(rig.timer()->isActive() && rig.timer()->remainingTime() < 900);
        const int remaining = rig.timer()->remainingTime();
        // "xyz", Enter, Shift+Enter, Tab: two wrong tries, no line break or tab in the input; the
        // timer, switched on again, goes on with its second rather than starting it over.
        QTest::keyClicks(rig.input(), QStringLiteral("xyz"));
        rig.key(Qt::Key_Return);
        rig.key(Qt::Key_Return, Qt::ShiftModifier);
        rig.key(Qt::Key_Tab);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyz"));
        QCOMPARE(rig.label("lblBatsu"), QStringLiteral("× 2"));
        QCOMPARE(rig.services.cueCount(profile.wrongCue), 2);
        QVERIFY(rig.timer()->isActive() && rig.timer()->remainingTime() <= remaining);
        // A paste loses its line breaks.
        rig.input()->paste();
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyzabcd"));
        // The input method composes and commits the line: right, the input emptied.
        rig.input()->selectAll();
        rig.key(Qt::Key_Backspace);
        QInputMethodEvent composing(first, {});
        QCoreApplication::sendEvent(rig.input(), &composing);
        QInputMethodEvent commit;
        commit.setCommitString(first);
        QCoreApplication::sendEvent(rig.input(), &commit);
        rig.key(Qt::Key_Return);
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        QCOMPARE(textOf(accessible(rig.input())), QString());
        // Part of the next line typed; time-up: the end text and the score, each line said through
        // the window's channel (in English by the voice, with its hints), never by the clipboard.
        const QString next = rig.shown();
        QTest::keyClicks(rig.input(), QStringLiteral("ba"));
        rig.runOut();
        QCOMPARE(rig.shown(), profile.gameOverText);
        QVERIFY(rig.scoreShown());
        const TypingHints &h = profile.hints;
        QStringList said{first, next, profile.gameOverText, profile.scorePrefix + "-1"};
        if (english)
            said = voice ? QStringList{h.openFile, h.chooseFile, h.loaded, "One Minute", first, h.wrongLine, h.wrongLine}
                               + said.mid(1)
                         : QStringList();
        QCOMPARE(english ? rig.services.spoken() : rig.services.announcements(), said);
        QCOMPARE(changes.count(), 0);
        QVERIFY(rig.boxes.texts().isEmpty());
        // The box keeps what was typed, read-only for typing, Ctrl+V and a screen reader alike.
        QVERIFY(accessible(rig.input())->state().readOnly);
        QTest::keyClicks(rig.input(), QStringLiteral("xyz"));
        rig.key(Qt::Key_Backspace);
        rig.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("ba"));
        QCOMPARE(rig.label("lblKey_Guide"), QStringLiteral("Esc:RESET\nCtrl:REPEAT"));
        // Esc: a fresh run may be typed again.
        rig.key(Qt::Key_Escape);
        QVERIFY(!rig.input()->isReadOnly() && !rig.scoreShown());
        QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 60"));
        // Exit from the menu while the line's box has the focus; reopened: a fresh run, the keyboard
        // on the input, and in English a new voice.
        rig.key(Qt::Key_Return);
        rig.display()->setFocus();
        rig.trigger("mnuEnd");
        QVERIFY(!rig.window.isVisible() && !rig.timer()->isActive());
        rig.services.clear();
        rig.window.open();
        QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 180"));
        QCOMPARE(rig.window.focusWidget(), rig.input());
        QCOMPARE(rig.voicesCreated, english ? 2 : 0);
        rig.key(Qt::Key_Control);
        QCOMPARE(rig.services.spoken(), voice ? (QStringList{h.start, rig.shown()}) : QStringList());
    }

    void the_user_is_told_data()
    {
        const auto ja = TypingLanguage::Japanese;
        const auto en = TypingLanguage::English;
        const auto notice = QMessageBox::Information;
        const auto failure = QMessageBox::Warning;
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QByteArray>("chosen"); // "editor", "no editor", "folder", "missing", else a file's bytes
        QTest::addColumn<QString>("told");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<bool>("refused"); // the name follows the message; the text before is kept
        QTest::newRow("150 lines, English") << en << QByteArray("line\n").repeated(150)
            << "This file has more than 101 lines. Only the first 101 lines are used." << notice << false;
        QTest::newRow("a line too long") << ja << "short\n" + QByteArray(PracticeLineLengthLimit + 1, 'x')
            << "とても長い行があったので、その行ははじめの部分だけを使います。" << notice << false;
        QTest::newRow("characters no encoding reads") << ja << QByteArray("\x82\xA0\xFF\n")
            << "このファイルには読めない文字がありました。その文字は正しく出ません。UTF-8 で保存しなおすと、すべて読めます。"
            << failure << false;
        QTest::newRow("a folder") << ja << QByteArray("folder")
            << "フォルダーは開けません。テキスト ファイルを選んでください。" << failure << true;
        QTest::newRow("a file gone") << ja << QByteArray("missing") << "ファイルが見つかりません。" << failure << true;
        QTest::newRow("only blanks, English") << en << QByteArray(" \t\r\n\xE3\x80\x80\r\n\r\n")
            << "This file has nothing to type. Please choose another text file." << failure << true;
        QTest::newRow("editor started: nothing") << ja << QByteArray("editor") << QString() << notice << false;
        QTest::newRow("no editor, English") << en << QByteArray("no editor") << "The text editor could not be started."
                                            << failure << false;
    }

    void the_user_is_told()
    {
        // The window, entry 1 of a text said; a file loaded, or the editor started.
        QFETCH(TypingLanguage, language);
        QFETCH(QByteArray, chosen);
        QFETCH(QString, told);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(bool, refused);
        WindowRig rig(language);
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Control);
        rig.services.clear();
        // A line break in a file name (Linux allows it) is said and shown as a space.
        const QString path = m_dir.filePath(QStringLiteral("chosen %1\n.txt").arg(QTest::currentDataTag()));
        if (chosen.endsWith("editor")) {
            rig.editorStarts = chosen == "editor";
            rig.trigger("mnuFileText");
            QCOMPARE(rig.editorCalls, 1);
        } else {
            if (chosen == "folder")
                QVERIFY(QDir().mkpath(path));
            else if (chosen != "missing")
                writeTestFile(m_dir, QFileInfo(path).fileName(), chosen);
            rig.loadFile(path);
        }
        // One box, said once with CR LF just before it opened; a refused file keeps the text and its line.
        const QString boxText = refused ? told + u'\n' + QString(path).replace(u'\n', u' ') : told;
        QCOMPARE(rig.boxes.texts(), told.isEmpty() ? QStringList() : QStringList{boxText});
        for (const BoxCatcher::Box &box : rig.boxes.boxes) {
            const QString said = QString::fromLatin1(language == TypingLanguage::English ? "speak " : "announce ")
                + QString(box.text).replace(u'\n', QStringLiteral("\r\n"));
            QCOMPARE(box.saidBefore.value(box.saidBefore.size() - 1), said);
            QCOMPARE(saidTexts(rig.services).count(said), 1);
            QCOMPARE(box.icon, icon);
        }
        if (refused) {
            QCOMPARE(rig.window.exercise().text().practiceFile(), m_practice);
            QCOMPARE(rig.shown(), QStringLiteral("banana"));
        }
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Return);
        QVERIFY(rig.timer()->isActive());
    }

    void the_file_dialog_says_each_entry_and_opens_where_the_last_file_lay()
    {
        // In the dialog: a folder, names with a line break and a tab, Qt's own box, a folder
        // with names it cannot list; then five minutes and a file of another folder chosen.
        const TypingProfile &profile = TypingProfile::japanese();
        KeptPreferences kept;
        WindowRig rig(TypingLanguage::Japanese, true, &kept);
        rig.trigger("mnu5M");
        rig.inDialog = [this](const TextFileRequest &request) {
            request.entryFocused(QStringLiteral("練習"), true);
            request.entryFocused(QStringLiteral("a\nb.txt"), false);
            request.entryFocused(QStringLiteral("tab\tc.txt"), false);
            request.boxShown(QStringLiteral("x.txt\nFile not found."));
            request.unlistedNames(m_dir.path());
        };
        rig.services.clear();
        rig.loadFile(m_practice);
        // The first dialog opened on the shipped texts; each entry said on one line, Qt's box with CR LF.
        const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/texts/") + profile.sampleFolder;
        QCOMPARE(rig.startFolders, QStringList{texts});
        QVERIFY(QFileInfo(texts).isDir());
        QCOMPARE(rig.services.announcements().mid(0, 4),
                 (QStringList{"練習 " + profile.folderWord, "a b.txt", "tab c.txt", "x.txt\r\nFile not found."}));
        QCOMPARE(rig.services.hints().mid(0, 2), (QStringList{profile.hints.chooseFile, profile.hints.unlistedNames}));
        // Later dialogs, here and in a window opened later, where the chosen file lay; the English
        // window's still on its own texts; the five minutes kept for both.
        rig.loadFile(QString());
        WindowRig later(TypingLanguage::Japanese, true, &kept);
        WindowRig english(TypingLanguage::English, true, &kept);
        later.loadFile(QString());
        english.loadFile(QString());
        QCOMPARE(rig.startFolders, (QStringList{texts, m_dir.path()}));
        QCOMPARE(later.startFolders, QStringList{m_dir.path()});
        QVERIFY(english.startFolders.value(0).endsWith(QLatin1String("/texts/english")));
        QCOMPARE(later.label("lblTime"), QStringLiteral("TIME 300"));
        QCOMPARE(english.label("lblTime"), QStringLiteral("TIME 300"));
    }
};

QTEST_MAIN(TypingWindowTest)
#include "test_typing_window.moc"
