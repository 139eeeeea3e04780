// SPDX-License-Identifier: GPL-3.0-or-later
// The real typing windows offscreen, driven by key clicks: loading through
// the file dialog, the run, key routing, messages, menus and layout.
#include "ui/version_info.h"
#include "support/fakes.h"
#include "support/screen_reader.h"
#include "support/test_files.h"
#include "typing/practice_file.h"
#include "typing/typing_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

const QStringList Lines{"apple", "banana", "cherry", "damson"};

// The two windows' colours, by the names the look gives them.
const QColor Navy(0, 0, 128);
const QColor Maroon(128, 0, 0);
const QColor Black(0, 0, 0);
const QColor Silver(192, 192, 192);
const QColor Grey(128, 128, 128);
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Green(0, 255, 0);

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
    QStringList startFolders;                    ///< where each dialog opened
    QList<std::pair<QString, bool>> focusMoves; ///< entries the user moves to in each dialog
    QStringList qtBoxes;         ///< texts of the boxes Qt's dialog opens on its own, then
    QStringList unlistedFolders; ///< folders shown that hold names the dialog cannot list
    bool voiceAvailable = true;
    bool editorStarts = true;
    int voicesCreated = 0;
    int editorCalls = 0;
};

// A window with recording services, opened.
struct WindowRig {
    explicit WindowRig(TypingLanguage language = TypingLanguage::Japanese, bool voice = true)
        : boxes(services)
        , system(services)
        , window(language, TypingDevices{services, services, system, system, system})
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

QStringList actionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class TypingWindowTest : public QObject {
    Q_OBJECT

private:
    // Time, ○, ×, the score, then the key help.
    static constexpr const char *LabelNames[]{"lblTime", "lblMaru", "lblBatsu", "lblTokuten", "lblKey_Guide"};

    // Shown and painted at the end of a one-minute run, so that every label has its text.
    void showAtTimeUp(WindowRig &rig)
    {
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        rig.runOut();
        QVERIFY(rig.labelWidget("lblTokuten")->isVisible());
        rig.window.repaint();
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        return testing::writeTestFile(m_dir, name, bytes);
    }

    QTemporaryDir m_dir;
    QString m_practice;

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
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("応用日本語入力　３分"));
        rig.key(Qt::Key_Return);
        // Expected: a line shown and announced, the timer on.
        const QString first = rig.shown();
        QVERIFY(Lines.contains(first));
        QCOMPARE(rig.services.announcements(), QStringList{first});
        QVERIFY(rig.timer()->isActive());
        QTRY_VERIFY(rig.timer()->remainingTime() < 900);
        const int remaining = rig.timer()->remainingTime();
        // Action: "xyz", Enter, Shift+Enter, Tab. Expected: two wrong tries; no line break or tab in
        // the input; the timer, switched on again, goes on with its second rather than starting it over.
        rig.typeLine(QStringLiteral("xyz"));
        rig.key(Qt::Key_Return, Qt::ShiftModifier);
        rig.key(Qt::Key_Tab);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyz"));
        QCOMPARE(rig.label("lblBatsu"), QStringLiteral("× 2"));
        QCOMPARE(rig.services.cueCount(Cue::Zannen), 2);
        QVERIFY(rig.timer()->isActive());
        QVERIFY(rig.timer()->remainingTime() <= remaining);
        // Action: a paste with line breaks. Expected: they are dropped.
        QGuiApplication::clipboard()->setText(QStringLiteral("ab\r\ncd\n"));
        rig.input()->paste();
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyzabcd"));
        // Action: Backspace it all away; the input method composes and commits the line; Enter.
        for (int i = 0; i < 7; ++i)
            rig.key(Qt::Key_Backspace);
        QInputMethodEvent composing(first, {});
        QCoreApplication::sendEvent(rig.input(), &composing);
        QInputMethodEvent commit;
        commit.setCommitString(first);
        QCoreApplication::sendEvent(rig.input(), &commit);
        rig.key(Qt::Key_Return);
        // Expected: ○ 1, the input emptied, the next line shown and announced.
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        QCOMPARE(rig.input()->toPlainText(), QString());
        QCOMPARE(rig.services.announcements(), (QStringList{first, rig.shown()}));
        QVERIFY(rig.boxes.texts().isEmpty());
    }

    void long_lines_wrap_inside_the_window()
    {
        // State: a file whose entry 1 is 80 letters long. Action: Ctrl.
        WindowRig rig;
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        const QString longLine = QStringLiteral("abcdefghij").repeated(8);
        rig.loadFile(writeFile(QStringLiteral("wide.txt"), "first\n" + longLine.toLatin1()));
        rig.key(Qt::Key_Control);
        // Expected: the line said and shown from its start, wrapped, both boxes inside the window; no run.
        QCOMPARE(rig.services.announcements(), QStringList{longLine});
        QCOMPARE(rig.shown(), longLine);
        QVERIFY(!rig.timer()->isActive());
        const QWidget *client = rig.window.centralWidget();
        auto *display = rig.window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"));
        for (QPlainTextEdit *box : {display, rig.input()}) {
            const QRect onClient(box->mapTo(client, QPoint(0, 0)), box->size());
            QVERIFY2(onClient.right() < client->width(), qPrintable(box->objectName()));
        }
        QTRY_VERIFY(display->document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(display->textCursor().position(), 0);
    }

    void close_stops_the_run_and_reopening_keeps_the_text()
    {
        // State: a one-minute run. Action: Exit from the menu.
        WindowRig rig;
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        rig.trigger("mnuEnd");
        // Expected: hidden, the timer stopped.
        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.timer()->isActive());
        // Action: reopen. Expected: the fresh state drawn, the input focused; Enter starts from the text.
        rig.window.open();
        QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 180"));
        QCOMPARE(rig.window.focusWidget(), rig.input());
        rig.key(Qt::Key_Return);
        QVERIFY(rig.timer()->isActive());
        QVERIFY(Lines.contains(rig.shown()));
    }

    void the_user_is_told_data()
    {
        const auto ja = TypingLanguage::Japanese;
        const auto en = TypingLanguage::English;
        const auto notice = QMessageBox::Information;
        const auto failure = QMessageBox::Warning;
        QByteArray lines150;
        for (int i = 0; i < 150; ++i)
            lines150 += "line " + QByteArray::number(i) + "\n";
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<bool>("editorStarts");
        QTest::addColumn<QByteArray>("file"); // empty: the editor is started instead
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("150 lines") << ja << true << lines150
                                   << QStringList{"このファイルは101行より長いので、はじめの101行だけを練習に使います。"} << notice;
        QTest::newRow("150 lines, English")
            << en << true << lines150
            << QStringList{"This file has more than 101 lines. Only the first 101 lines are used."} << notice;
        QTest::newRow("101 lines: nothing") << ja << true << lines150.left(lines150.indexOf("line 101")) << QStringList()
                                            << notice;
        QTest::newRow("a line too long")
            << ja << true << "short\n" + QByteArray(PracticeLineLengthLimit + 1, 'x')
            << QStringList{"とても長い行があったので、その行ははじめの部分だけを使います。"} << notice;
        QTest::newRow("characters no encoding reads")
            << ja << true << QByteArray("\x82\xA0\xFF\n")
            << QStringList{"このファイルには読めない文字がありました。その文字は正しく出ません。"
                           "UTF-8 で保存しなおすと、すべて読めます。"}
            << failure;
        QTest::newRow("editor started: nothing") << ja << true << QByteArray() << QStringList() << notice;
        QTest::newRow("editor failed") << ja << false << QByteArray()
                                       << QStringList{"テキスト エディターを起動できませんでした。"} << failure;
        QTest::newRow("editor failed, English")
            << en << false << QByteArray() << QStringList{"The text editor could not be started."} << failure;
    }

    void the_user_is_told()
    {
        // State: the window. Action: load the file, or start the editor.
        QFETCH(TypingLanguage, language);
        QFETCH(bool, editorStarts);
        QFETCH(QByteArray, file);
        QFETCH(QMessageBox::Icon, icon);
        WindowRig rig(language);
        rig.system.editorStarts = editorStarts;
        if (!file.isEmpty()) {
            rig.loadFile(writeFile(QStringLiteral("lines.txt"), file));
            QVERIFY(rig.window.exercise().text().isLoaded());
        } else {
            rig.trigger("mnuFileText");
            QCOMPARE(rig.system.editorCalls, 1);
        }
        // Expected: exactly these messages, each said once through the window's channel just
        // before its box opened, readable in the box, in large type, the warning icon for a
        // failure; the window goes on working.
        QTEST(rig.boxes.texts(), "told");
        const QString channel =
            language == TypingLanguage::English ? QStringLiteral("speak ") : QStringLiteral("announce ");
        for (const BoxCatcher::Box &box : rig.boxes.boxes) {
            QCOMPARE(box.saidBefore.value(box.saidBefore.size() - 1), channel + box.text);
            QCOMPARE(saidTexts(rig.services).count(channel + box.text), 1);
            QCOMPARE(box.role, QAccessible::AlertMessage);
            QCOMPARE(box.accessibleText, box.text);
            QCOMPARE(box.icon, icon);
            QVERIFY(box.points >= 16);
        }
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Return);
        QVERIFY(rig.timer()->isActive());
    }

    void the_file_dialog_opens_on_the_texts_and_says_each_entry_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QString>("sampleFolder");
        QTest::newRow("japanese: announced") << TypingLanguage::Japanese << "japanese";
        QTest::newRow("english: spoken") << TypingLanguage::English << "english";
    }

    void the_file_dialog_opens_on_the_texts_and_says_each_entry()
    {
        // State: the window; in the dialog the user moves to a folder, then to two files whose
        // names hold a line break and a tab, Qt's dialog shows a box of its own and a folder
        // with names it cannot list, then the user chooses a file of another folder.
        QFETCH(TypingLanguage, language);
        QFETCH(QString, sampleFolder);
        const TypingProfile &profile = TypingProfile::of(language);
        const bool english = language == TypingLanguage::English;
        WindowRig rig(language);
        rig.system.focusMoves = {{"練習", true}, {"a\nb.txt", false}, {"tab\tc.txt", false}};
        rig.system.qtBoxes = {QStringLiteral("x.txt\nFile not found.")};
        rig.system.unlistedFolders = {m_dir.path()};
        rig.services.clear();
        rig.loadFile(m_practice);
        // Expected: the first dialog opened on the window's own shipped texts, in the build tree.
        const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/texts/") + sampleFolder;
        QCOMPARE(rig.system.startFolders, QStringList{texts});
        QVERIFY(QFileInfo(texts).isDir());
        // ...the voice said how to choose (spoken in English, a hint in Japanese), then each entry
        // on one line through the window's channel, Qt's box with CR LF like the window's own,
        // and the voice alone what the folder does not list.
        const QString channel = english ? QStringLiteral("speak ") : QStringLiteral("announce ");
        QStringList expected;
        if (english)
            expected << channel + profile.hints.chooseFile;
        expected << channel + "練習 " + profile.folderWord << channel + "a b.txt" << channel + "tab c.txt"
                 << channel + "x.txt\r\nFile not found.";
        if (english)
            expected << channel + profile.hints.unlistedNames;
        QCOMPARE(saidTexts(rig.services).mid(0, expected.size()), expected);
        if (!english)
            QCOMPARE(rig.services.hints().mid(0, 2), (QStringList{profile.hints.chooseFile, profile.hints.unlistedNames}));
        // Action: open it again and cancel, then once more. Expected: both where the chosen file lay.
        rig.system.focusMoves.clear();
        rig.system.qtBoxes.clear();
        rig.system.unlistedFolders.clear();
        rig.loadFile(QString());
        rig.loadFile(QString());
        QCOMPARE(rig.system.startFolders.mid(1), (QStringList{m_dir.path(), m_dir.path()}));
    }

    void bad_files_are_reported_and_the_text_kept_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<bool>("folder"); // a folder chosen, else a file of blanks
        QTest::addColumn<QString>("error");
        QTest::newRow("folder") << TypingLanguage::Japanese << true
                                << "フォルダーは開けません。テキスト ファイルを選んでください。";
        QTest::newRow("only blanks")
            << TypingLanguage::Japanese << false
            << "このファイルには練習する文字がありません。ほかのテキスト ファイルを選んでください。";
        QTest::newRow("only blanks, English")
            << TypingLanguage::English << false << "This file has nothing to type. Please choose another text file.";
    }

    void bad_files_are_reported_and_the_text_kept()
    {
        // State: a file loaded, entry 1 said. Action: a folder, or a file of blanks, chosen.
        QFETCH(TypingLanguage, language);
        QFETCH(bool, folder);
        QFETCH(QString, error);
        WindowRig rig(language);
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Control);
        const QString chosen = m_dir.filePath(folder ? QStringLiteral("notes\n.txt") : QStringLiteral("blank\n.txt"));
        if (folder)
            QVERIFY(QDir().mkpath(chosen));
        else
            writeFile(QFileInfo(chosen).fileName(), " \t\r\n\xE3\x80\x80\r\n\r\n");
        rig.loadFile(chosen);
        // Expected: one message naming it on its own line (its line break a space), said through
        // the window's channel with CR LF; the text and the line kept.
        const QString named = QString(chosen).replace(u'\n', u' ');
        const QString channel =
            language == TypingLanguage::English ? QStringLiteral("speak ") : QStringLiteral("announce ");
        QCOMPARE(rig.boxes.texts(), QStringList{error + u'\n' + named});
        QCOMPARE(saidTexts(rig.services).last(), channel + error + QStringLiteral("\r\n") + named);
        QCOMPARE(rig.window.exercise().text().practiceFile(), m_practice);
        QCOMPARE(rig.shown(), QStringLiteral("banana"));
    }

    void menus_have_their_captions_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("japanese") << TypingLanguage::Japanese
                                  << QStringList{"ファイル(&F)", "設定(&S)", "バージョン(&V)", "ファイルを開く(&O)",
                                                 "「メモ帳」を開く(&E)", "-", "終了(&X)", "1分間", "3分間", "5分間"};
        QTest::newRow("english") << TypingLanguage::English
                                 << QStringList{"File(&F)", "Setting(&S)", "About(&A)", "Open Text File(&O)",
                                                "Open Note Pad(&E)", "Exit(&X)", "One Minute", "Three Minutes",
                                                "Five Minutes"};
    }

    void menus_have_their_captions()
    {
        // State: the window. Expected: the bar, then the File and Settings menus; Ctrl+O opens a file.
        QFETCH(TypingLanguage, language);
        WindowRig rig(language);
        QTEST(actionTexts(rig.window.menuBar()->actions())
                  + actionTexts(rig.window.findChild<QMenu *>(QStringLiteral("mnuFile"))->actions())
                  + actionTexts(rig.window.findChild<QMenu *>(QStringLiteral("mnuSettei"))->actions()),
              "captions");
        QCOMPARE(rig.window.findChild<QAction *>(QStringLiteral("mnuFileOpen"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_O));
    }

    void screen_reader_reads_the_boxes_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("inputName");
        QTest::newRow("japanese") << TypingLanguage::Japanese << "おてほん" << "にゅうりょく";
        QTest::newRow("english") << TypingLanguage::English << "Text to type" << "Input";
    }

    void screen_reader_reads_the_boxes()
    {
        // State: the window. Expected: no panel taken for a window of its own; both boxes named,
        // the display read-only, nothing in them.
        QFETCH(TypingLanguage, language);
        WindowRig rig(language);
        QCOMPARE(windowsInside(rig.window), QStringList());
        QAccessibleInterface *display = accessible(rig.window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji")));
        QAccessibleInterface *input = accessible(rig.input());
        QTEST(display->text(QAccessible::Name), "displayName");
        QTEST(input->text(QAccessible::Name), "inputName");
        QVERIFY(display->state().readOnly);
        QVERIFY(!input->state().readOnly);
        QCOMPARE(textOf(display), QString());
        // Action: a file loaded, Ctrl draws entry 1, "ban" typed. Expected: both read from the boxes.
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Control);
        QTest::keyClicks(rig.input(), QStringLiteral("ban"));
        QCOMPARE(textOf(display), QStringLiteral("banana"));
        QCOMPARE(textOf(input), QStringLiteral("ban"));
        // Action: the rest of the line and Enter. Expected: the next line read, the input empty.
        rig.typeLine(QStringLiteral("ana"));
        QCOMPARE(textOf(display), rig.shown());
        QVERIFY(Lines.contains(textOf(display)));
        QCOMPARE(textOf(input), QString());
    }

    void version_box_is_said_through_the_window_channel_data()
    {
        const QString version = versionMessage();
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<bool>("voice");
        QTest::addColumn<QStringList>("said");  // before the box opened
        QTest::addColumn<QStringList>("heard"); // said and hinted once it is closed
        QTest::newRow("japanese: announced, the window hinted")
            << TypingLanguage::Japanese << true << QStringList{"announce " + version}
            << QStringList{"announce " + version, "hint 応用日本語入力　３分"};
        // Japanese text goes to the Japanese voice, never the English one nor the clipboard.
        QTest::newRow("english: the Japanese voice, then the window in English")
            << TypingLanguage::English << true << QStringList()
            << QStringList{"speak ENGLISH Three Minute", "hint " + version};
        QTest::newRow("english without its voice: the Japanese voice still")
            << TypingLanguage::English << false << QStringList() << QStringList{"hint " + version};
    }

    void version_box_is_said_through_the_window_channel()
    {
        // State: the window. Action: the version entry, the box closed.
        QFETCH(TypingLanguage, language);
        QFETCH(bool, voice);
        WindowRig rig(language, voice);
        rig.services.clear();
        rig.trigger("mnuVersion");
        // Expected: one box, its text said once with CR LF just before it opened, drawn with line
        // feeds; once closed, the window's title, which cuts the long reading short.
        QCOMPARE(rig.boxes.texts(), QStringList{versionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n"))});
        QTEST(rig.boxes.boxes.front().saidBefore, "said");
        QStringList heard = saidTexts(rig.services);
        for (const QString &hint : rig.services.hints())
            heard << QStringLiteral("hint ") + hint;
        QTEST(heard, "heard");
    }

    void english_window_speaks_with_a_new_voice_at_every_opening()
    {
        // State: the English window. Expected: its name and caption, Latin input, one voice.
        WindowRig rig(TypingLanguage::English);
        QCOMPARE(rig.window.objectName(), QStringLiteral("frmEnglish"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("ENGLISH Three Minute"));
        QVERIFY(rig.input()->inputMethodHints().testFlag(Qt::ImhLatinOnly));
        QCOMPARE(rig.system.voicesCreated, 1);
        // Action: a run with a wrong try. Expected: the line spoken, Boo, nothing on the clipboard.
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Return);
        rig.typeLine(QStringLiteral("nope"));
        const TypingHints &hints = TypingProfile::english().hints;
        QCOMPARE(rig.services.spoken(),
                 (QStringList{hints.openFile, hints.chooseFile, hints.loaded, rig.shown(), hints.wrongLine}));
        QCOMPARE(rig.services.cueCount(Cue::Boo), 1);
        QVERIFY(rig.services.announcements().isEmpty());
        // Action: close, reopen, Ctrl. Expected: a new voice speaks.
        rig.window.close();
        rig.window.open();
        QCOMPARE(rig.system.voicesCreated, 2);
        rig.key(Qt::Key_Control);
        QCOMPARE(rig.services.spoken().mid(5), (QStringList{hints.start, rig.shown()}));
    }

    void english_window_without_voice_works()
    {
        // State: no voice to be had. Action: a right line. Expected: counted, silent, no message.
        WindowRig rig(TypingLanguage::English, false);
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Return);
        QVERIFY(Lines.contains(rig.shown()));
        rig.typeLine(rig.shown());
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        QVERIFY(rig.services.log.empty());
        QVERIFY(rig.boxes.texts().isEmpty());
    }

    void english_window_never_touches_the_clipboard()
    {
        // State: the user's own text on the real clipboard.
        QClipboard *clipboard = QGuiApplication::clipboard();
        const QString own = QStringLiteral("the user's own text");
        clipboard->setText(own);
        QSignalSpy changes(clipboard, &QClipboard::dataChanged);
        // Action: the English window's whole flow: opened, a file loaded, a wrong line, a right
        // line, Ctrl, the one-minute clock run out, Esc, closed.
        WindowRig rig(TypingLanguage::English);
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        rig.typeLine(QStringLiteral("nope"));
        rig.input()->clear();
        rig.typeLine(rig.shown());
        rig.key(Qt::Key_Control);
        rig.runOut();
        QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
        rig.key(Qt::Key_Escape);
        rig.window.close();
        // Expected: the lines and the end were spoken; the clipboard never changed.
        const TypingProfile &english = TypingProfile::english();
        QVERIFY(rig.services.spoken().contains(english.gameOverText));
        QCOMPARE(rig.services.spoken().filter(english.scorePrefix).size(), 1);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(clipboard->text(), own);
    }

    void time_up_locks_the_input_box_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::newRow("japanese") << TypingLanguage::Japanese;
        QTest::newRow("english") << TypingLanguage::English;
    }

    void time_up_locks_the_input_box()
    {
        // State: a one-minute run, part of a line typed.
        QFETCH(TypingLanguage, language);
        WindowRig rig(language);
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        QTest::keyClicks(rig.input(), QStringLiteral("ba"));
        QVERIFY(!rig.input()->isReadOnly());
        // Action: the clock runs out.
        rig.runOut();
        // Expected: the end text; the box keeps what was typed, read-only for typing, Ctrl+V and
        // a screen reader alike.
        QCOMPARE(rig.shown(), TypingProfile::of(language).gameOverText);
        QVERIFY(rig.input()->isReadOnly());
        QVERIFY(accessible(rig.input())->state().readOnly);
        QTest::keyClicks(rig.input(), QStringLiteral("xyz"));
        rig.key(Qt::Key_Backspace);
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        rig.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rig.input()->toPlainText(), QStringLiteral("ba"));
        // Action: Esc. Expected: a fresh run may be typed again.
        rig.key(Qt::Key_Escape);
        QVERIFY(!rig.input()->isReadOnly());
    }

    void key_help_label_draws_line_feeds_only_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::newRow("japanese") << TypingLanguage::Japanese;
        QTest::newRow("english") << TypingLanguage::English;
    }

    void key_help_label_draws_line_feeds_only()
    {
        // State: the window opened, then a run to time-up and Esc.
        QFETCH(TypingLanguage, language);
        WindowRig rig(language);
        rig.loadFile(m_practice);
        rig.trigger("mnu1M");
        rig.key(Qt::Key_Return);
        for (const bool timeUp : {false, true}) {
            if (timeUp) {
                rig.runOut();
                rig.key(Qt::Key_Escape);
            }
            // Expected: the exercise keeps the help with CR LF, as every text it hands over;
            // the label draws the same lines with a plain line feed.
            const QString help = rig.window.exercise().state().keyGuide;
            const QString drawn = rig.label("lblKey_Guide");
            QVERIFY(help.contains(QStringLiteral("\r\n")));
            QVERIFY2(!drawn.contains(u'\r'), qPrintable(drawn.toUtf8().toPercentEncoding()));
            QCOMPARE(drawn.split(u'\n'), help.split(QStringLiteral("\r\n")));
        }
    }

    void windows_have_their_colours_data()
    {
        // The window, then text and background of time, ○, ×, the score and the key help.
        using Looks = QList<QColor>;
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QColor>("window");
        QTest::addColumn<Looks>("labels");
        QTest::newRow("japanese: navy") << TypingLanguage::Japanese << Navy
                                        << Looks{White, Navy, White, Black, White, Navy, Yellow, Black, Green, Navy};
        QTest::newRow("english: maroon") << TypingLanguage::English << Maroon
                                         << Looks{White, Silver, White, Grey, White, Grey, Yellow, Grey, Green, Maroon};
    }

    void windows_have_their_colours()
    {
        // State: the window at time-up, every label drawn.
        QFETCH(TypingLanguage, language);
        QFETCH(QColor, window);
        QFETCH(QList<QColor>, labels);
        WindowRig rig(language);
        showAtTimeUp(rig);
        // Expected: the window's colour behind everything outside the black panel, the key help
        // on that same colour; each label filled with its own.
        QCOMPARE(rig.window.centralWidget()->palette().color(QPalette::Window), window);
        QCOMPARE(rig.window.findChild<QWidget *>(QStringLiteral("Frame1"))->palette().color(QPalette::Window), Black);
        for (std::size_t i = 0; i < std::size(LabelNames); ++i) {
            const QLabel *label = rig.labelWidget(LabelNames[i]);
            QCOMPARE(label->palette().color(QPalette::WindowText), labels.at(2 * i));
            QCOMPARE(label->palette().color(QPalette::Window), labels.at(2 * i + 1));
            QVERIFY(label->autoFillBackground());
        }
    }
};

QTEST_MAIN(TypingWindowTest)
#include "test_typing_window.moc"
