// SPDX-License-Identifier: GPL-3.0-or-later
// The real typing windows offscreen, driven by key clicks: loading through
// the file dialog, the run, key routing, messages, menus and layout.
#include "support/fakes.h"
#include "support/screen_reader.h"
#include "support/test_files.h"
#include "typing/practice_file.h"
#include "typing/typing_window.h"

#include <QAction>
#include <QApplication>
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

// The file dialog answers with `answer` (empty: cancelled); the editor starts
// when told to; voices, when there are any, speak into the recording services.
struct FakeSystem final : VoiceFactory, FilePicker, EditorLauncher {
    explicit FakeSystem(RecordingServices &services) : log(services) {}
    std::unique_ptr<Speaker> createVoice() override
    {
        struct Voice final : Speaker {
            explicit Voice(RecordingServices &services) : log(services) {}
            void speak(const QString &text) override { log.speak(text); }
            RecordingServices &log;
        };
        ++voicesCreated;
        return voiceAvailable ? std::make_unique<Voice>(log) : nullptr;
    }
    QString chooseTextFile(QWidget *, const TextFileRequest &request) override
    {
        startFolders << request.startFolder;
        for (const auto &[name, isFolder] : focusMoves)
            request.entryFocused(name, isFolder);
        for (const QString &text : qtBoxes)
            request.boxShown(text);
        for (const QString &folder : unlistedFolders)
            request.unlistedNames(folder);
        return answer;
    }
    bool startEditor() override
    {
        ++editorCalls;
        return editorStarts;
    }

    RecordingServices &log;
    QString answer;
    QStringList startFolders; ///< where each dialog opened
    QList<std::pair<QString, bool>> focusMoves;
    QStringList qtBoxes; ///< boxes Qt's dialog opens on its own
    QStringList unlistedFolders;
    bool voiceAvailable = true;
    bool editorStarts = true;
    int voicesCreated = 0;
    int editorCalls = 0;
};

// A window with recording services, opened.
struct WindowRig {
    explicit WindowRig(TypingLanguage language = TypingLanguage::Japanese, bool voice = true,
                       PreferenceKeeper *kept = nullptr)
        : boxes(services)
        , system(services)
        , window(language, TypingDevices{services, services, system, system, system, nullptr, kept})
    {
        system.voiceAvailable = voice;
        window.open();
    }

    QPlainTextEdit *input() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku")); }
    QString shown() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"))->toPlainText(); }
    QLabel *labelWidget(const char *name) const { return window.findChild<QLabel *>(QString::fromLatin1(name)); }
    QString label(const char *name) const { return labelWidget(name)->text(); }
    QTimer *timer() const { return window.findChild<QTimer *>(QStringLiteral("Timer1")); }
    void trigger(const char *action) const { window.findChild<QAction *>(QString::fromLatin1(action))->trigger(); }
    void loadFile(const QString &path)
    {
        system.answer = path;
        trigger("mnuFileOpen");
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(input(), key, modifiers); }
    void typeLine(const QString &text)
    {
        QTest::keyClicks(input(), text);
        key(Qt::Key_Return);
    }
    // The window's own timer runs the clock out, a millisecond a second.
    void runOut()
    {
        QVERIFY(timer()->isActive());
        timer()->setInterval(1);
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(label("lblTime"), QStringLiteral("TIME 0"));
    }

    RecordingServices services;
    BoxCatcher boxes;
    FakeSystem system;
    TypingWindow window;
};

} // namespace

class TypingWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_practice;

    QString writeFile(const QString &name, const QByteArray &bytes) { return testing::writeTestFile(m_dir, name, bytes); }

    static QString channel(TypingLanguage language)
    {
        return language == TypingLanguage::English ? QStringLiteral("speak ") : QStringLiteral("announce ");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_practice = writeFile(QStringLiteral("fruit.txt"), Lines.join(QStringLiteral("\n")).toUtf8());
    }

    void a_run_through_the_keyboard()
    {
        // State: the Japanese window with a file loaded through the dialog. Action: Enter.
        WindowRig rig;
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Return);
        // Expected: a line shown, announced and read by a screen reader; the timer on.
        const QString first = rig.shown();
        QVERIFY(Lines.contains(first));
        QCOMPARE(rig.services.announcements(), QStringList{first});
        QCOMPARE(textOf(accessible(rig.window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji")))), first);
        QTRY_VERIFY(rig.timer()->isActive() && rig.timer()->remainingTime() < 900);
        const int remaining = rig.timer()->remainingTime();
        // Action: "xyz", Enter, Shift+Enter, Tab. Expected: two wrong tries; no line break or tab in
        // the input; the timer, switched on again, goes on with its second rather than starting it over.
        rig.typeLine(QStringLiteral("xyz"));
        rig.key(Qt::Key_Return, Qt::ShiftModifier);
        rig.key(Qt::Key_Tab);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyz"));
        QCOMPARE(rig.label("lblBatsu"), QStringLiteral("× 2"));
        QCOMPARE(rig.services.cueCount(Cue::Zannen), 2);
        QVERIFY(rig.timer()->isActive() && rig.timer()->remainingTime() <= remaining);
        // Action: a paste with line breaks. Expected: they are dropped.
        QGuiApplication::clipboard()->setText(QStringLiteral("ab\r\ncd\n"));
        rig.input()->paste();
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyzabcd"));
        // Action: all erased; the input method composes and commits the line; Enter.
        rig.input()->selectAll();
        rig.key(Qt::Key_Backspace);
        QInputMethodEvent composing(first, {});
        QCoreApplication::sendEvent(rig.input(), &composing);
        QInputMethodEvent commit;
        commit.setCommitString(first);
        QCoreApplication::sendEvent(rig.input(), &commit);
        rig.key(Qt::Key_Return);
        // Expected: ○ 1, the input emptied, the next line shown and announced; no box.
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        QCOMPARE(textOf(accessible(rig.input())), QString());
        QCOMPARE(rig.services.announcements(), (QStringList{first, rig.shown()}));
        QVERIFY(rig.boxes.texts().isEmpty());
    }

    void a_run_ends_at_time_up_esc_or_closing_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::newRow("japanese") << TypingLanguage::Japanese;
        QTest::newRow("english") << TypingLanguage::English;
    }

    void a_run_ends_at_time_up_esc_or_closing()
    {
        // State: a one-minute run, part of a line typed. Action: the clock runs out.
        QFETCH(TypingLanguage, language);
        WindowRig rig(language);
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        QTest::keyClicks(rig.input(), QStringLiteral("ba"));
        rig.runOut();
        // Expected: the end text and the score; the box keeps what was typed, read-only for
        // typing, Ctrl+V and a screen reader alike; the key help in plain lines.
        QCOMPARE(rig.shown(), TypingProfile::of(language).gameOverText);
        QVERIFY(rig.labelWidget("lblTokuten")->isVisibleTo(&rig.window));
        QVERIFY(accessible(rig.input())->state().readOnly);
        QTest::keyClicks(rig.input(), QStringLiteral("xyz"));
        rig.key(Qt::Key_Backspace);
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        rig.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("ba"));
        QCOMPARE(rig.label("lblKey_Guide"), QStringLiteral("Esc:RESET\nCtrl:REPEAT"));
        // Action: Esc. Expected: a fresh run may be typed again.
        rig.key(Qt::Key_Escape);
        QVERIFY(!rig.input()->isReadOnly());
        QVERIFY(!rig.labelWidget("lblTokuten")->isVisibleTo(&rig.window));
        QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 60"));
        // Action: a new run; the user moves to the line's box to read it, then Exit from the
        // menu. Expected: hidden, the timer stopped; reopened, a fresh three-minute run with
        // the keyboard on the input.
        rig.key(Qt::Key_Return);
        rig.window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"))->setFocus();
        rig.trigger("mnuEnd");
        QVERIFY(!rig.window.isVisible() && !rig.timer()->isActive());
        rig.window.open();
        QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 180"));
        QCOMPARE(rig.window.focusWidget(), rig.input());
    }

    void the_user_is_told_data()
    {
        const auto ja = TypingLanguage::Japanese;
        const auto en = TypingLanguage::English;
        const auto notice = QMessageBox::Information;
        const auto failure = QMessageBox::Warning;
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QByteArray>("chosen"); // "editor", "no editor", "folder", else a file's bytes
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
        QTest::newRow("only blanks, English") << en << QByteArray(" \t\r\n\xE3\x80\x80\r\n\r\n")
            << "This file has nothing to type. Please choose another text file." << failure << true;
        QTest::newRow("editor started: nothing") << ja << QByteArray("editor") << QString() << notice << false;
        QTest::newRow("no editor, English") << en << QByteArray("no editor") << "The text editor could not be started."
                                            << failure << false;
    }

    void the_user_is_told()
    {
        // State: the window, entry 1 of a text said. Action: load the file, or start the editor.
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
            rig.system.editorStarts = chosen == "editor";
            rig.trigger("mnuFileText");
            QCOMPARE(rig.system.editorCalls, 1);
        } else {
            if (chosen == "folder")
                QVERIFY(QDir().mkpath(path));
            else
                writeFile(QFileInfo(path).fileName(), chosen);
            rig.loadFile(path);
        }
        // Expected: one box with the message, said once through the window's channel with CR LF
        // just before it opened, the warning icon for a failure; a refused file keeps the text
        // and its line. The window goes on working.
        const QString boxText = refused ? told + u'\n' + QString(path).replace(u'\n', u' ') : told;
        QCOMPARE(rig.boxes.texts(), told.isEmpty() ? QStringList() : QStringList{boxText});
        for (const BoxCatcher::Box &box : rig.boxes.boxes) {
            const QString said = channel(language) + QString(box.text).replace(u'\n', QStringLiteral("\r\n"));
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

    void the_file_dialog_opens_on_the_texts_and_says_each_entry_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::newRow("japanese: announced") << TypingLanguage::Japanese;
        QTest::newRow("english: spoken") << TypingLanguage::English;
    }

    void the_file_dialog_opens_on_the_texts_and_says_each_entry()
    {
        // State: the window; in the dialog the user moves to a folder, then to two files whose
        // names hold a line break and a tab, Qt's dialog shows a box of its own and a folder
        // with names it cannot list, then the user chooses a file of another folder.
        QFETCH(TypingLanguage, language);
        const TypingProfile &profile = TypingProfile::of(language);
        const bool english = language == TypingLanguage::English;
        WindowRig rig(language);
        rig.system.focusMoves = {{"練習", true}, {"a\nb.txt", false}, {"tab\tc.txt", false}};
        rig.system.qtBoxes = {QStringLiteral("x.txt\nFile not found.")};
        rig.system.unlistedFolders = {m_dir.path()};
        rig.services.clear();
        rig.loadFile(m_practice);
        // Expected: the first dialog opened on the window's own shipped texts, in the build tree.
        const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/texts/") + profile.sampleFolder;
        QCOMPARE(rig.system.startFolders, QStringList{texts});
        QVERIFY(QFileInfo(texts).isDir());
        // ...the voice said how to choose, then each entry on one line through the window's
        // channel, Qt's box with CR LF like the window's own, and the voice alone what the
        // folder does not list.
        const QString said = channel(language);
        QStringList expected{said + "練習 " + profile.folderWord, said + "a b.txt", said + "tab c.txt",
                             said + "x.txt\r\nFile not found."};
        if (english)
            expected = QStringList{said + profile.hints.chooseFile} + expected + QStringList{said + profile.hints.unlistedNames};
        else
            QCOMPARE(rig.services.hints().mid(0, 2), (QStringList{profile.hints.chooseFile, profile.hints.unlistedNames}));
        QCOMPARE(saidTexts(rig.services).mid(0, expected.size()), expected);
        // Action: open it again and cancel, then once more. Expected: both where the chosen file lay.
        rig.loadFile(QString());
        rig.loadFile(QString());
        QCOMPARE(rig.system.startFolders, (QStringList{texts, m_dir.path(), m_dir.path()}));
    }

    void the_last_run_length_and_folder_come_back()
    {
        // State: one set of kept choices for both windows. Action: in the Japanese window, five
        // minutes chosen and a file of another folder opened.
        KeptPreferences kept;
        const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        {
            WindowRig first(TypingLanguage::Japanese, true, &kept);
            first.trigger("mnu5M");
            first.loadFile(m_practice);
            first.loadFile(writeFile(QStringLiteral("elsewhere/text.txt"), "abc\n"));
        }
        // Expected: either window opens on five minutes; the Japanese dialog where that file
        // lay, the English one still on its own shipped texts.
        WindowRig japanese(TypingLanguage::Japanese, true, &kept);
        WindowRig english(TypingLanguage::English, true, &kept);
        QCOMPARE(japanese.label("lblTime"), QStringLiteral("TIME 300"));
        QCOMPARE(english.label("lblTime"), QStringLiteral("TIME 300"));
        japanese.loadFile(QString());
        english.loadFile(QString());
        QCOMPARE(japanese.system.startFolders, QStringList{elsewhere});
        QVERIFY(english.system.startFolders.value(0).endsWith(QLatin1String("/texts/english")));
    }

    void english_window_speaks_with_a_new_voice_at_every_opening_data()
    {
        QTest::addColumn<bool>("voice");
        QTest::newRow("a voice") << true;
        QTest::newRow("no voice to be had") << false;
    }

    void english_window_speaks_with_a_new_voice_at_every_opening()
    {
        // State: the user's own text on the clipboard; the English window.
        QFETCH(bool, voice);
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("the user's own text"));
        QSignalSpy changes(clipboard, &QClipboard::dataChanged);
        WindowRig rig(TypingLanguage::English, voice);
        QVERIFY(rig.input()->inputMethodHints().testFlag(Qt::ImhLatinOnly));
        // Action: a one-minute run (the menu says its choice): a wrong line, a right one, Ctrl, time-up.
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        const QString first = rig.shown();
        rig.typeLine(QStringLiteral("nope"));
        rig.input()->clear();
        rig.typeLine(first);
        rig.key(Qt::Key_Control);
        rig.runOut();
        // Expected: counted alike with or without a voice; the voice said it all, Boo on the
        // wrong line; the clipboard never changed.
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        QCOMPARE(rig.services.cueCount(Cue::Boo), 1);
        const TypingProfile &english = TypingProfile::english();
        const QStringList said{english.hints.openFile, english.hints.chooseFile, english.hints.loaded, "One Minute", first,
                               english.hints.wrongLine, rig.window.exercise().text().currentLine(),
                               rig.window.exercise().text().currentLine(), english.gameOverText,
                               english.scorePrefix + "0"};
        QCOMPARE(rig.services.spoken(), voice ? said : QStringList());
        QCOMPARE(changes.count(), 0);
        QVERIFY(rig.boxes.texts().isEmpty());
        // Action: close, reopen, Ctrl. Expected: a new voice speaks.
        rig.window.close();
        rig.window.open();
        QCOMPARE(rig.system.voicesCreated, 2);
        rig.key(Qt::Key_Control);
        QCOMPARE(rig.services.spoken().mid(said.size()),
                 voice ? (QStringList{english.hints.start, rig.shown()}) : QStringList());
    }
};

QTEST_MAIN(TypingWindowTest)
#include "test_typing_window.moc"
