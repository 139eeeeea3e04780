// SPDX-License-Identifier: GPL-3.0-or-later
// The reading voice against a fake speech service that is missing, dies, comes
// back, refuses a rate or hangs; the choice between the built-in voice and a
// running screen reader; and what the screen reader is given.
#include "platform/speech/reading_voice.h"
#include "platform/speech/readable_names.h"
#include "platform/speech/screen_reader_listeners.h"
#include "platform/speech/screen_reader_notifier.h"
#include "platform/speech/spoken_announcer.h"
#include "platform/speech/voice_router.h"
#include "platform/speech/voice_worker.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

using hoshi::VoiceWorker;
using Turn = hoshi::VoiceOutput::Turn;

namespace {

// What the service was asked ("open", "cancel", "say <text>", "rate <n>",
// "close"), readable while the voice's thread writes; and how it misbehaves.
struct ServiceLog {
    QStringList calls() const
    {
        std::lock_guard lock(mutex);
        return entries;
    }
    mutable std::mutex mutex;
    QStringList entries;
    std::atomic<bool> up = true;        // the service accepts connections
    std::atomic<bool> dropNext = false; // the next call finds the connection gone
    std::atomic<bool> refuseRate = false;
    std::atomic<bool> hangOpen = false; // open() takes the connection and does not answer
};

class FakeService final : public hoshi::SpeechService {
public:
    explicit FakeService(ServiceLog &log) : m_log(log) {}
    bool open() override
    {
        while (m_log.hangOpen)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        answer(QStringLiteral("open"), true);
        return m_log.up;
    }
    void close() override { answer(QStringLiteral("close"), true); }
    bool say(const QString &text) override { return answer(QStringLiteral("say ") + text); }
    bool cancel() override { return answer(QStringLiteral("cancel")); }
    bool setRate(int rate) override { return !m_log.refuseRate && answer(QStringLiteral("rate %1").arg(rate)); }

private:
    bool answer(const QString &call, bool always = false)
    {
        if (!always && (m_log.dropNext.exchange(false) || !m_log.up))
            return false;
        std::lock_guard lock(m_log.mutex);
        m_log.entries << call;
        return true;
    }
    ServiceLog &m_log;
};

// The fake reading: capitals, so that "a" and "A" read the same.
QString upper(const QString &text) { return text.toUpper(); }

std::unique_ptr<VoiceWorker> makeWorker(ServiceLog &log, std::chrono::milliseconds retry = {})
{
    return std::make_unique<VoiceWorker>(std::make_unique<FakeService>(log), upper, retry);
}

struct RecordingOutput final : hoshi::VoiceOutput {
    void say(const QString &text, Turn turn) override
    {
        said << (turn == Turn::NewEvent ? QStringLiteral("new ") : QStringLiteral("same ")) + text;
    }
    QStringList said;
};

struct RecordingClipboard final : hoshi::Announcer {
    void announce(const QString &text) override { texts << text; }
    QStringList texts;
};

// A widget shown and active, for what the screen reader is handed.
bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class TestReadingVoice : public QObject {
    Q_OBJECT

private slots:
    void the_worker_says_what_a_listener_must_hear_data()
    {
        // Steps: new:T (a new event's first text), same:T (the event's next), stale:T (a text
        // of an event a newer one replaced), _ stands for a blank; down, up, drop (the
        // connection found gone), refuse (a rate not taken), rate:N, rate:own (the user's own).
        QTest::addColumn<int>("retryMs");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("calls");
        const int hour = 3600 * 1000;
        QTest::newRow("one event in order, a new one cuts it short")
            << 0 << "new:a same:b new:c" << QStringList{"open", "cancel", "say A", "say B", "cancel", "say C"};
        QTest::newRow("two texts of one event that read the same: heard once")
            << 0 << "new:a same:A same:b" << QStringList{"open", "cancel", "say A", "say B"};
        QTest::newRow("the same reading in a new event: heard again")
            << 0 << "new:a new:A" << QStringList{"open", "cancel", "say A", "cancel", "say A"};
        QTest::newRow("a replaced event's text is not said") << 0 << "stale:old" << QStringList{};
        QTest::newRow("a blank first text still cuts short, a blank later one does nothing")
            << 0 << "new:_ same:_ same:" << QStringList{"open", "cancel"};
        QTest::newRow("no service: not asked again within the retry time")
            << hour << "down new:a new:b" << QStringList{"open"};
        QTest::newRow("no service, then one: asked again after the retry time")
            << 0 << "down new:a up new:b" << QStringList{"open", "open", "cancel", "say B"};
        QTest::newRow("a restarted service: opened again at once, the text not lost")
            << hour << "new:a drop new:b" << QStringList{"open", "cancel", "say A", "close", "open", "cancel", "say B"};
        QTest::newRow("a rate chosen before the first text: set on connecting")
            << 0 << "rate:-25 new:a" << QStringList{"open", "rate -25", "cancel", "say A"};
        QTest::newRow("a rate changed while connected: sent at once")
            << 0 << "new:a rate:25 new:b" << QStringList{"open", "cancel", "say A", "rate 25", "cancel", "say B"};
        QTest::newRow("the user's own rate again: a new connection, no rate")
            << 0 << "rate:50 new:a rate:own new:b"
            << QStringList{"open", "rate 50", "cancel", "say A", "close", "open", "cancel", "say B"};
        QTest::newRow("the user's own, never changed: nothing sent")
            << 0 << "rate:own new:a" << QStringList{"open", "cancel", "say A"};
        QTest::newRow("the rate kept across a restarted service")
            << 0 << "rate:50 new:a drop new:b"
            << QStringList{"open", "rate 50", "cancel", "say A", "close", "open", "rate 50", "cancel", "say B"};
        QTest::newRow("a rate refused: connected again, heard at the service's own rate")
            << 0 << "new:a refuse rate:25 new:b" << QStringList{"open", "cancel", "say A", "close", "open", "cancel", "say B"};
    }

    void the_worker_says_what_a_listener_must_hear()
    {
        QFETCH(int, retryMs);
        QFETCH(QString, steps);
        ServiceLog log;
        auto worker = makeWorker(log, std::chrono::milliseconds(retryMs));
        quint64 event = 1;
        for (const QString &step : steps.split(u' ')) {
            const QString verb = step.section(u':', 0, 0);
            const QString text = step.section(u':', 1) == QLatin1String("_") ? QStringLiteral(" ") : step.section(u':', 1);
            if (verb == QLatin1String("new"))
                worker->handle({text, Turn::NewEvent, ++event}, event);
            else if (verb == QLatin1String("same"))
                worker->handle({text, Turn::SameEvent, event}, event);
            else if (verb == QLatin1String("stale"))
                worker->handle({text, Turn::SameEvent, event}, event + 1);
            else if (verb == QLatin1String("rate"))
                worker->setRate(text == QLatin1String("own") ? std::nullopt : std::optional(text.toInt()));
            else if (verb == QLatin1String("down") || verb == QLatin1String("up"))
                log.up = verb == QLatin1String("up");
            else if (verb == QLatin1String("drop"))
                log.dropNext = true;
            else if (verb == QLatin1String("refuse"))
                log.refuseRate = true;
            else
                QFAIL(qPrintable(step));
        }
        QTEST(log.calls(), "calls");
    }

    void the_voice_thread_keeps_order_and_drops_what_waits_of_old_events()
    {
        ServiceLog log;
        hoshi::ReadingVoice voice(makeWorker(log));
        voice.warmUp({});
        QTRY_COMPARE(log.calls(), QStringList{"open"});
        // A rate chosen on the user interface thread comes before the next text.
        voice.setRate(-50);
        voice.say(QStringLiteral("key"), Turn::NewEvent);
        voice.say(QStringLiteral("reading"), Turn::SameEvent);
        QTRY_COMPARE(log.calls(), (QStringList{"open", "rate -50", "cancel", "say KEY", "say READING"}));
        voice.say(QStringLiteral("next"), Turn::NewEvent);
        QTRY_COMPARE(log.calls().mid(5), (QStringList{"cancel", "say NEXT"}));
    }

    void a_service_that_never_answers_is_said_once_and_only_the_newest_waits()
    {
        // State: a service that takes the connection and does not answer.
        ServiceLog log;
        log.hangOpen = true;
        QStringList reports;
        hoshi::ReadingVoice voice(makeWorker(log), std::chrono::milliseconds(50),
                                  [&reports](const QString &message) { reports << message; });
        // Action: keys go on past the deadline. Expected: said once, the user interface never waits.
        voice.say(QStringLiteral("one"), Turn::NewEvent);
        QTest::qWait(150);
        voice.say(QStringLiteral("two"), Turn::NewEvent);
        voice.say(QStringLiteral("three"), Turn::NewEvent);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(QStringLiteral("does not answer")));
        // Once it answers, the newest event is heard and the one in between never.
        log.hangOpen = false;
        QTRY_VERIFY(log.calls().contains(QStringLiteral("say THREE")));
        QVERIFY(!log.calls().contains(QStringLiteral("say TWO")));
    }

    void aClientFollowingTheFocusIsAScreenReader()
    {
        // What Orca started by hand asks the registry for, in part; either spelling of the focus
        // state; and a caret tracker, which is no screen reader.
        QVERIFY(hoshi::listensLikeScreenReader({"Focus::", "Document:Reload:", "Object:TextCaretMoved:"}));
        QVERIFY(hoshi::listensLikeScreenReader({"object:state-changed:focused"}));
        QVERIFY(hoshi::listensLikeScreenReader({"Object:StateChanged:Focused"}));
        QVERIFY(!hoshi::listensLikeScreenReader({"Object:TextCaretMoved:", "Object:TextChanged:Insert"}));
    }

    void announcerTurnsFollowTheEventLoop()
    {
        RecordingClipboard clipboard;
        RecordingOutput voice;
        hoshi::SpokenAnnouncer announcer(clipboard, voice);
        announcer.announce(QStringLiteral("Ａ"));
        announcer.announce(QStringLiteral("エー"));
        QCoreApplication::processEvents();
        announcer.hint(QStringLiteral("すぺーす"));
        announcer.announce(QStringLiteral("１\r\n押せばわかる"));
        announcer.announce(QStringLiteral("１\r\n押せばわかる")); // said again at once: heard once
        QCOMPARE(voice.said, (QStringList{"new Ａ", "same エー", "new すぺーす", "same １\r\n押せばわかる"}));
        QCoreApplication::processEvents();
        announcer.announce(QStringLiteral("１\r\n押せばわかる")); // a new event is heard again
        QCOMPARE(voice.said.last(), QStringLiteral("new １\r\n押せばわかる"));
        // The clipboard gets the announcements exactly, and no hint.
        QCOMPARE(clipboard.texts, (QStringList{"Ａ", "エー", "１\r\n押せばわかる", "１\r\n押せばわかる",
                                               "１\r\n押せばわかる"}));
    }

    void the_router_feeds_one_voice_data()
    {
        // Steps: new:T / same:T (a text of a new or the same event), menu:T (a menu entry's
        // hint), reader:yes / reader:no (the screen-reader answer), choose:C (the menu's voice).
        // Menus are never handed to a screen reader: it reads them itself.
        QTest::addColumn<QString>("choice"); // at start: auto, always (--voice), never (--no-voice)
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("voice");    // what the built-in voice said
        QTest::addColumn<QStringList>("notified"); // what the screen reader was handed
        const QString alone = QStringLiteral("reader:no new:x menu:m");
        const QString withReader = QStringLiteral("reader:yes new:x menu:m");
        QTest::newRow("auto, alone") << "auto" << alone << QStringList{"new x", "new m"} << QStringList{};
        QTest::newRow("auto, screen reader") << "auto" << withReader << QStringList{} << QStringList{"new x"};
        QTest::newRow("--voice, screen reader") << "always" << withReader << QStringList{"new x", "new m"} << QStringList{};
        QTest::newRow("--no-voice, alone") << "never" << alone << QStringList{} << QStringList{};
        QTest::newRow("--no-voice, screen reader") << "never" << withReader << QStringList{} << QStringList{"new x"};
        QTest::newRow("before the answer only the latest event is held, then said once")
            << "auto" << "new:old new:entry same:hint reader:yes reader:no new:next" << QStringList{"new next"}
            << QStringList{"new entry", "same hint"};
        // A desktop whose accessibility bus never answers.
        QTest::newRow("--voice speaks without waiting for the answer")
            << "always" << "new:entry" << QStringList{"new entry"} << QStringList{};
        QTest::newRow("the voice chosen before the answer says what was held")
            << "auto" << "new:held choose:always same:next" << QStringList{"new held", "same next"} << QStringList{};
    }

    void the_router_feeds_one_voice()
    {
        QFETCH(QString, choice);
        QFETCH(QString, steps);
        const std::map<QString, hoshi::VoiceChoice> choices{
            {"auto", hoshi::VoiceChoice::Auto}, {"always", hoshi::VoiceChoice::Always}, {"never", hoshi::VoiceChoice::Never}};
        RecordingOutput builtIn;
        RecordingOutput notifier;
        hoshi::VoiceRouter router(choices.at(choice), builtIn, notifier);
        RecordingClipboard clipboard;
        hoshi::SpokenAnnouncer announcer(clipboard, router);
        for (const QString &step : steps.split(u' ')) {
            const QString verb = step.section(u':', 0, 0);
            const QString word = step.section(u':', 1);
            if (verb == QLatin1String("new") || verb == QLatin1String("same"))
                router.say(word, verb == QLatin1String("new") ? Turn::NewEvent : Turn::SameEvent);
            else if (verb == QLatin1String("menu"))
                announcer.menuHint(word);
            else if (verb == QLatin1String("reader"))
                router.setScreenReaderRunning(word == QLatin1String("yes"));
            else
                router.setChoice(choices.at(word));
        }
        QTEST(builtIn.said, "voice");
        QTEST(notifier.said, "notified");
        QVERIFY(clipboard.texts.isEmpty());
    }

    void notifierJoinsOneEventIntoOneNotification()
    {
        QWidget window;
        QVERIFY(showActive(window));
        hoshi::ScreenReaderNotifier notifier(upper);
        notifier.say(QStringLiteral("stale"), Turn::NewEvent);
        notifier.say(QStringLiteral("Ｋｅｙ"), Turn::NewEvent);
        notifier.say(QStringLiteral("ｒｅａｄｉｎｇ"), Turn::SameEvent);
        notifier.say(QStringLiteral("Ｒｅａｄｉｎｇ"), Turn::SameEvent); // reads the same: heard once
        notifier.say(QStringLiteral("ｘ、ｙ"), Turn::SameEvent);    // a blank, not a word for 、
        QTRY_VERIFY(notifier.notice());
        QWidget *notice = notifier.notice();
        QCOMPARE(notice->window(), &window);
        QVERIFY(notice->isVisible());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(notice);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Notification);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("ＫＥＹ ＲＥＡＤＩＮＧ Ｘ Ｙ"));
        // In a status bar, so the screen reader says no role word before it.
        QVERIFY(accessible->parent());
        QCOMPARE(accessible->parent()->role(), QAccessible::StatusBar);
        QVERIFY(notice->parentWidget()->isVisible());

        // A message box opening with the event: the screen reader reads it, no notice.
        QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("box"), QMessageBox::Ok, &window);
        QTimer::singleShot(0, &box, [&] {
            notifier.say(QStringLiteral("box"), Turn::NewEvent);
            QTimer::singleShot(50, &box, &QMessageBox::accept);
        });
        box.exec();
        QCOMPARE(notice->accessibleName(), QStringLiteral("ＫＥＹ ＲＥＡＤＩＮＧ Ｘ Ｙ"));
    }
    // Orca reads what the focus moves to: the same words are not sent again,
    // but they are when the focus stays (a key said again) or the words differ.
    void notifierLeavesToTheFocusWhatItReads()
    {
        hoshi::installReadableNames([](const QString &text) { return text; });
        QWidget window;
        auto *first = new QPushButton(QStringLiteral("one"), &window);
        auto *second = new QPushButton(QStringLiteral("two"), &window);
        second->move(0, 40);
        QVERIFY(showActive(window));
        hoshi::ScreenReaderNotifier notifier([](const QString &text) { return text; });
        first->setFocus();
        notifier.say(QStringLiteral("start"), Turn::NewEvent);
        QTRY_VERIFY(notifier.notice() && notifier.notice()->accessibleName() == QStringLiteral("start"));

        const struct {
            QPushButton *focus;
            const char *said;
            const char *notice;
        } steps[]{{second, "two", "start"}, {second, "two", "two"}, {first, "one more", "one more"}};
        for (const auto &step : steps) {
            step.focus->setFocus();
            notifier.say(QString::fromUtf8(step.said), Turn::NewEvent);
            QTest::qWait(20);
            QCOMPARE(notifier.notice()->accessibleName(), QString::fromUtf8(step.notice));
        }
        hoshi::installReadableNames({});
    }

    void readableNamesAreReadings_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("name");
        QTest::newRow("japanese") << QStringLiteral("１\nあ、い。") << QStringLiteral("１ ア イ");
        QTest::newRow("english as it is") << QStringLiteral("Press\tEnter") << QStringLiteral("Press Enter");
        QTest::newRow("control characters") << QStringLiteral("a\x1b[1mb\x07") << QStringLiteral("a[1mb");
    }

    void readableNamesAreReadings()
    {
        QFETCH(QString, shown);
        QFETCH(QString, name);
        hoshi::installReadableNames([](QString text) { return text.replace(QChar(0x3042), QChar(0x30a2)).replace(QChar(0x3044), QChar(0x30a4)); });
        QWidget window;
        window.setWindowTitle(shown);
        auto *label = new QLabel(shown, &window);
        auto *button = new QPushButton(QStringLiteral("&") + shown, &window);
        for (QWidget *widget : {&window, static_cast<QWidget *>(label), static_cast<QWidget *>(button)}) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), name);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::Button);

        // A menu entry, found as a screen reader finds it: through its menu, after a separator;
        // checked and pressed as one of Qt's own.
        QMenu menu(&window);
        menu.addSeparator();
        QAction *choice = menu.addAction(QStringLiteral("&") + shown);
        choice->setCheckable(true);
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(&menu)->child(1);
        QVERIFY(entry);
        QCOMPARE(entry->role(), QAccessible::MenuItem);
        QCOMPARE(entry->text(QAccessible::Name), name);
        QCOMPARE(entry->parent()->object(), &menu);
        QCOMPARE(entry->parent()->indexOfChild(entry), 1);
        entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(choice->isChecked() && entry->state().checked);
        choice->setEnabled(false);
        QVERIFY(entry->state().disabled);
        hoshi::installReadableNames({});
    }
};

QTEST_MAIN(TestReadingVoice)
#include "test_reading_voice.moc"
