// SPDX-License-Identifier: GPL-3.0-or-later
// The real typing windows offscreen, driven by key clicks: loading through
// the file dialog, the run, key routing, messages, menus and layout.
#include "shell/ui/version_info.h"
#include "support/fakes.h"
#include "support/screen_reader.h"
#include "support/test_files.h"
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
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
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
    QString label(const char *name) const { return window.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
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
        // Action: "xyz", Enter, Shift+Enter. Expected: two wrong tries; no line break in the input;
        // the timer, switched on again, goes on with its second rather than starting it over.
        rig.typeLine(QStringLiteral("xyz"));
        rig.key(Qt::Key_Return, Qt::ShiftModifier);
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
        // names hold a line break and a tab, then chooses a file of another folder.
        QFETCH(TypingLanguage, language);
        QFETCH(QString, sampleFolder);
        const TypingProfile &profile = TypingProfile::of(language);
        const bool english = language == TypingLanguage::English;
        WindowRig rig(language);
        rig.system.focusMoves = {{"練習", true}, {"a\nb.txt", false}, {"tab\tc.txt", false}};
        rig.services.clear();
        rig.loadFile(m_practice);
        // Expected: the first dialog opened on the window's own shipped texts, in the build tree.
        const QString texts = QCoreApplication::applicationDirPath() + QStringLiteral("/texts/") + sampleFolder;
        QCOMPARE(rig.system.startFolders, QStringList{texts});
        QVERIFY(QFileInfo(texts).isDir());
        // ...the voice said how to choose (spoken in English, a hint in Japanese), then each entry
        // on one line through the window's channel.
        const QString channel = english ? QStringLiteral("speak ") : QStringLiteral("announce ");
        QStringList expected;
        if (english)
            expected << channel + profile.hints.chooseFile;
        expected << channel + "練習 " + profile.folderWord << channel + "a b.txt" << channel + "tab c.txt";
        QCOMPARE(saidTexts(rig.services).mid(0, expected.size()), expected);
        if (!english)
            QCOMPARE(rig.services.hints().value(0), profile.hints.chooseFile);
        // Action: open it again and cancel, then once more. Expected: both where the chosen file lay.
        rig.system.focusMoves.clear();
        rig.loadFile(QString());
        rig.loadFile(QString());
        QCOMPARE(rig.system.startFolders.mid(1), (QStringList{m_dir.path(), m_dir.path()}));
    }

    void unreadable_file_is_reported_and_the_text_kept()
    {
        // State: a file loaded, entry 1 said. Action: a folder chosen.
        WindowRig rig;
        rig.loadFile(m_practice);
        rig.key(Qt::Key_Control);
        const QString folder = m_dir.filePath(QStringLiteral("notes\n.txt"));
        QVERIFY(QDir().mkpath(folder));
        rig.loadFile(folder);
        // Expected: one message naming it on its own line (its line break a space), announced
        // with CR LF; the text and the line kept.
        const QString error = QStringLiteral("フォルダーは開けません。テキスト ファイルを選んでください。");
        const QString named = m_dir.filePath(QStringLiteral("notes .txt"));
        QCOMPARE(rig.boxes.texts(), QStringList{error + u'\n' + named});
        QCOMPARE(rig.services.announcements().last(), error + QStringLiteral("\r\n") + named);
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
        QTest::newRow("japanese") << TypingLanguage::Japanese << "お手本" << "入力";
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
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<bool>("voice");
        QTest::addColumn<QString>("channel");
        QTest::newRow("japanese: announced") << TypingLanguage::Japanese << true << "announce ";
        QTest::newRow("english: spoken") << TypingLanguage::English << true << "speak ";
        QTest::newRow("english without a voice: silent") << TypingLanguage::English << false << "";
    }

    void version_box_is_said_through_the_window_channel()
    {
        // State: the window. Action: the version entry.
        QFETCH(TypingLanguage, language);
        QFETCH(bool, voice);
        QFETCH(QString, channel);
        WindowRig rig(language, voice);
        rig.services.clear();
        rig.trigger("mnuVersion");
        // Expected: one box, its text said once with CR LF just before it opened, drawn with line feeds.
        QCOMPARE(rig.boxes.texts(), QStringList{versionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n"))});
        const QStringList said = channel.isEmpty() ? QStringList() : QStringList{channel + versionMessage()};
        QCOMPARE(rig.boxes.boxes.front().saidBefore, said);
        QCOMPARE(saidTexts(rig.services), said);
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
};

QTEST_MAIN(TypingWindowTest)
#include "test_typing_window.moc"
