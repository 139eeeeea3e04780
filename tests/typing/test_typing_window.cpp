// The real typing windows offscreen, driven by key clicks: loading through
// the file dialog, the run, key preview, messages, menus and layout.

#include "typing/typing_window.h"
#include "typing_fakes.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
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

struct WindowRig {
    explicit WindowRig(TypingLanguage language = TypingLanguage::Japanese)
        : voices(services)
        , window(language, TypingServices{services, services, voices, picker, editor})
    {
    }

    QPlainTextEdit *input() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku")); }
    QPlainTextEdit *display() const { return window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji")); }
    QString label(const char *name) const
    {
        return window.findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    QTimer *timer() const { return window.findChild<QTimer *>(QStringLiteral("Timer1")); }
    void trigger(const char *action) const
    {
        window.findChild<QAction *>(QString::fromLatin1(action))->trigger();
    }
    void loadFile(const QString &path)
    {
        picker.answer = path;
        trigger("mnuFileOpen");
    }

    RecordingServices services;
    FakeVoiceFactory voices;
    FakeFilePicker picker;
    FakeEditorLauncher editor;
    TypingWindow window;
};

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class TypingWindowTest : public QObject {
    Q_OBJECT

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
    QString m_practice;

private slots:
    void initTestCase();

    void a_typed_line_counts_and_brings_the_next();
    void enter_puts_no_line_break_into_the_input();
    void japanese_input_method_commit_is_typed_text();
    void switching_the_timer_on_again_keeps_its_second();
    void pasted_line_breaks_are_dropped();
    void long_lines_wrap_inside_the_window();
    void close_stops_the_run_and_reopening_keeps_the_text();
    void too_long_file_is_cut_and_the_user_told_data();
    void too_long_file_is_cut_and_the_user_told();
    void unreadable_file_is_reported_and_the_text_kept();
    void editor_start_failure_is_reported_data();
    void editor_start_failure_is_reported();
    void menus_have_their_captions_data();
    void menus_have_their_captions();
    void english_window_speaks_and_asks_for_latin_input();
    void english_window_without_voice_works();
};

QString TypingWindowTest::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TypingWindowTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_practice = writeFile(QStringLiteral("fruit.txt"), Lines.join(QStringLiteral("\n")).toUtf8());
}

void TypingWindowTest::a_typed_line_counts_and_brings_the_next()
{
    // State: the Japanese window open with a file loaded through the dialog.
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    rig.loadFile(m_practice);
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("応用日本語入力　３分"));
    // Action: Enter starts; the shown line is typed and Enter pressed.
    QTest::keyClick(rig.input(), Qt::Key_Return);
    const QString first = rig.display()->toPlainText();
    QVERIFY(Lines.contains(first));
    QCOMPARE(rig.services.announcements(), QStringList{first});
    QVERIFY(rig.timer()->isActive());
    QTest::keyClicks(rig.input(), first);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    // Expected: ○ 1, input emptied, the next line shown and announced.
    QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
    QCOMPARE(rig.input()->toPlainText(), QString());
    QCOMPARE(rig.services.announcements().size(), 2);
    QCOMPARE(rig.services.announcements().last(), rig.display()->toPlainText());
    QVERIFY(messages.texts.isEmpty());
}

void TypingWindowTest::enter_puts_no_line_break_into_the_input()
{
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    rig.loadFile(m_practice);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QTest::keyClicks(rig.input(), QStringLiteral("xyz"));
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QTest::keyClick(rig.input(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(rig.input()->toPlainText(), QStringLiteral("xyz"));
    QCOMPARE(rig.label("lblBatsu"), QStringLiteral("× 2"));
    QCOMPARE(rig.services.cueCount(Cue::Zannen), 2);
}

void TypingWindowTest::japanese_input_method_commit_is_typed_text()
{
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    rig.loadFile(writeFile(QStringLiteral("kana.txt"), "あいう"));
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QCOMPARE(rig.display()->toPlainText(), QStringLiteral("あいう"));
    // The input method composes, then commits; only then does Enter check.
    QInputMethodEvent composing(QStringLiteral("あいう"), {});
    QCoreApplication::sendEvent(rig.input(), &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("あいう"));
    QCoreApplication::sendEvent(rig.input(), &commit);
    QCOMPARE(rig.input()->toPlainText(), QStringLiteral("あいう"));
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
    QCOMPARE(rig.label("lblBatsu"), QStringLiteral("× 0"));
}

void TypingWindowTest::switching_the_timer_on_again_keeps_its_second()
{
    // State: a run whose current second is partly gone.
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    rig.loadFile(m_practice);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QTRY_VERIFY(rig.timer()->remainingTime() < 900);
    const int before = rig.timer()->remainingTime();
    // Action: Enter again (a wrong try), which switches the timer on again.
    QTest::keyClicks(rig.input(), QStringLiteral("q"));
    QTest::keyClick(rig.input(), Qt::Key_Return);
    // Expected: the second goes on; it did not start over.
    QVERIFY(rig.timer()->isActive());
    QVERIFY(rig.timer()->remainingTime() <= before);
}

void TypingWindowTest::pasted_line_breaks_are_dropped()
{
    WindowRig rig;
    rig.window.open();
    QGuiApplication::clipboard()->setText(QStringLiteral("ab\r\ncd\n"));
    rig.input()->paste();
    QCOMPARE(rig.input()->toPlainText(), QStringLiteral("abcd"));
}

void TypingWindowTest::long_lines_wrap_inside_the_window()
{
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    const QByteArray longLine = QByteArray("abcdefghij").repeated(8);
    rig.loadFile(writeFile(QStringLiteral("wide.txt"), "first\n" + longLine));
    QTest::keyClick(rig.input(), Qt::Key_Control);
    QCOMPARE(rig.display()->toPlainText(), QString::fromLatin1(longLine));
    QCOMPARE(rig.services.announcements(), QStringList{QString::fromLatin1(longLine)});
    QVERIFY(!rig.timer()->isActive());
    const QWidget *client = rig.window.centralWidget();
    for (QPlainTextEdit *box : {rig.display(), rig.input()}) {
        const QRect onClient(box->mapTo(client, QPoint(0, 0)), box->size());
        QVERIFY2(onClient.right() < client->width(), qPrintable(box->objectName()));
    }
    QTRY_VERIFY(rig.display()->document()->firstBlock().layout()->lineCount() > 1);
    // The line is shown from its beginning.
    QCOMPARE(rig.display()->textCursor().position(), 0);
}

void TypingWindowTest::close_stops_the_run_and_reopening_keeps_the_text()
{
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    rig.loadFile(m_practice);
    rig.trigger("mnu1M");
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QVERIFY(rig.timer()->isActive());

    rig.trigger("mnuEnd");
    QVERIFY(!rig.window.isVisible());
    QVERIFY(!rig.timer()->isActive());
    rig.window.open();

    QCOMPARE(rig.window.windowTitle(), QStringLiteral("応用日本語入力　３分"));
    QCOMPARE(rig.label("lblTime"), QStringLiteral("TIME 180"));
    QCOMPARE(rig.display()->toPlainText(), QString());
    QCOMPARE(rig.window.focusWidget(), rig.input());
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QVERIFY(rig.timer()->isActive());
    QVERIFY(Lines.contains(rig.display()->toPlainText()));
}

void TypingWindowTest::too_long_file_is_cut_and_the_user_told_data()
{
    QTest::addColumn<TypingLanguage>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("japanese") << TypingLanguage::Japanese
                              << QStringLiteral("このファイルは101行より長いので、はじめの101行だけを練習に使います。");
    QTest::newRow("english") << TypingLanguage::English
                             << QStringLiteral("This file has more than 101 lines. Only the first 101 lines are used.");
}

void TypingWindowTest::too_long_file_is_cut_and_the_user_told()
{
    QFETCH(TypingLanguage, language);
    QFETCH(QString, message);
    QByteArray bytes;
    for (int i = 0; i < 150; ++i)
        bytes += "line " + QByteArray::number(i) + "\n";
    MessageCatcher messages;
    WindowRig rig(language);
    rig.window.open();

    rig.loadFile(writeFile(QStringLiteral("150.txt"), bytes));

    QCOMPARE(messages.texts, QStringList{message});
    QCOMPARE(rig.window.exercise().text().lastLineNo(), 100);
}

void TypingWindowTest::unreadable_file_is_reported_and_the_text_kept()
{
    MessageCatcher messages;
    WindowRig rig;
    rig.window.open();
    rig.loadFile(m_practice);
    QTest::keyClick(rig.input(), Qt::Key_Control);
    const QString folder = m_dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(QDir().mkpath(folder));

    rig.loadFile(folder);

    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts.first().startsWith(QStringLiteral("フォルダーは開けません。")));
    QVERIFY(messages.texts.first().contains(folder));
    QCOMPARE(rig.window.exercise().text().practiceFile(), m_practice);
    QCOMPARE(rig.display()->toPlainText(), QStringLiteral("banana"));
}

void TypingWindowTest::editor_start_failure_is_reported_data()
{
    QTest::addColumn<TypingLanguage>("language");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("started") << TypingLanguage::Japanese << true << QStringList();
    QTest::newRow("japanese failure") << TypingLanguage::Japanese << false
                                      << QStringList{"テキスト エディターを起動できませんでした。"};
    QTest::newRow("english failure") << TypingLanguage::English << false
                                     << QStringList{"The text editor could not be started."};
}

void TypingWindowTest::editor_start_failure_is_reported()
{
    QFETCH(TypingLanguage, language);
    QFETCH(bool, starts);
    QFETCH(QStringList, told);
    MessageCatcher messages;
    WindowRig rig(language);
    rig.window.open();
    rig.editor.starts = starts;

    rig.trigger("mnuFileText");

    QCOMPARE(rig.editor.calls, 1);
    QCOMPARE(messages.texts, told);
    // The window goes on working.
    rig.loadFile(m_practice);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QVERIFY(rig.timer()->isActive());
}

void TypingWindowTest::menus_have_their_captions_data()
{
    QTest::addColumn<TypingLanguage>("language");
    QTest::addColumn<QStringList>("bar");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("settings");
    QTest::newRow("japanese") << TypingLanguage::Japanese
                              << QStringList{"ファイル(&F)", "設定(&S)", "バージョン(&V)"}
                              << QStringList{"ファイルを開く(&O)", "「メモ帳」を開く(&E)", "-", "終了(&X)"}
                              << QStringList{"1分間", "3分間", "5分間"};
    QTest::newRow("english") << TypingLanguage::English << QStringList{"File(&F)", "Setting(&S)", "About(&A)"}
                             << QStringList{"Open Text File(&O)", "Open Note Pad(&E)", "Exit(&X)"}
                             << QStringList{"One Minute", "Three Minutes", "Five Minutes"};
}

void TypingWindowTest::menus_have_their_captions()
{
    QFETCH(TypingLanguage, language);
    QFETCH(QStringList, bar);
    QFETCH(QStringList, file);
    QFETCH(QStringList, settings);
    WindowRig rig(language);
    QStringList barTexts;
    for (const QAction *action : rig.window.menuBar()->actions())
        barTexts << action->text();
    QCOMPARE(barTexts, bar);
    QCOMPARE(actionTexts(rig.window.findChild<QMenu *>(QStringLiteral("mnuFile"))), file);
    QCOMPARE(actionTexts(rig.window.findChild<QMenu *>(QStringLiteral("mnuSettei"))), settings);
    QCOMPARE(rig.window.findChild<QAction *>(QStringLiteral("mnuFileOpen"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_O));
}

void TypingWindowTest::english_window_speaks_and_asks_for_latin_input()
{
    MessageCatcher messages;
    WindowRig rig(TypingLanguage::English);
    rig.window.open();
    QCOMPARE(rig.window.objectName(), QStringLiteral("frmEnglish"));
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("ENGLISH Three Minute"));
    QVERIFY(rig.input()->inputMethodHints().testFlag(Qt::ImhLatinOnly));
    QCOMPARE(rig.voices.created, 1);
    rig.loadFile(m_practice);

    QTest::keyClick(rig.input(), Qt::Key_Return);
    QTest::keyClicks(rig.input(), QStringLiteral("nope"));
    QTest::keyClick(rig.input(), Qt::Key_Return);

    const QString line = rig.display()->toPlainText();
    QCOMPARE(rig.services.spoken(), QStringList{line});
    QCOMPARE(rig.services.cueCount(Cue::Boo), 1);
    QVERIFY(rig.services.announcements().isEmpty());
    // A new voice at every opening.
    rig.window.close();
    rig.window.open();
    QCOMPARE(rig.voices.created, 2);
    QTest::keyClick(rig.input(), Qt::Key_Control);
    QCOMPARE(rig.services.spoken().size(), 2);
}

void TypingWindowTest::english_window_without_voice_works()
{
    MessageCatcher messages;
    WindowRig rig(TypingLanguage::English);
    rig.voices.available = false;
    rig.window.open();
    rig.loadFile(m_practice);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    const QString line = rig.display()->toPlainText();
    QVERIFY(Lines.contains(line));
    QTest::keyClicks(rig.input(), line);
    QTest::keyClick(rig.input(), Qt::Key_Return);
    QCOMPARE(rig.label("lblMaru"), QStringLiteral("○ 1"));
    QVERIFY(rig.services.log.empty());
    QVERIFY(messages.texts.isEmpty());
}

QTEST_MAIN(TypingWindowTest)
#include "test_typing_window.moc"
