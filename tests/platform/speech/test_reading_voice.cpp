// SPDX-License-Identifier: GPL-3.0-or-later
// The reading voice against a fake speech service that is missing, dies, comes back, refuses a rate or
// hangs; the choice between it and a running screen reader; what the screen reader and the clipboard get.
#include "platform/speech/clipboard_announcer.h"
#include "platform/speech/reading_voice.h"
#include "platform/speech/readable_names.h"
#include "platform/speech/screen_reader_listeners.h"
#include "platform/speech/screen_reader_notifier.h"
#include "platform/speech/screen_reader_watch.h"
#include "platform/speech/spoken_announcer.h"
#include "platform/speech/voice_router.h"
#include "platform/speech/voice_worker.h"
#include "support/fakes.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

using Turn = hoshi::VoiceOutput::Turn;

namespace {

// What the service was asked ("open", "cancel", "say <text>", "rate <n>", "close"), and how it misbehaves.
struct ServiceLog {
    QStringList calls() const { return std::lock_guard(mutex), entries; }
    mutable std::mutex mutex;
    QStringList entries;
    std::atomic<bool> up = true, dropNext = false, refuseRate = false;
    std::atomic<bool> hangOpen = false; // open() takes the connection and does not answer
};

struct FakeService final : hoshi::SpeechService {
    explicit FakeService(ServiceLog &log) : m_log(log) {}
    bool open() override
    {
        while (m_log.hangOpen)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return answer(QStringLiteral("open"), true) && m_log.up;
    }
    void close() override { answer(QStringLiteral("close"), true); }
    bool say(const QString &text) override { return answer(QStringLiteral("say ") + text); }
    bool cancel() override { return answer(QStringLiteral("cancel")); }
    bool setRate(int rate) override { return !m_log.refuseRate && answer(QStringLiteral("rate %1").arg(rate)); }
    bool answer(const QString &call, bool always = false)
    {
        if (!always && (m_log.dropNext.exchange(false) || !m_log.up))
            return false;
        std::lock_guard lock(m_log.mutex);
        return m_log.entries << call, true;
    }
    ServiceLog &m_log;
};

// The fake reading: capitals, so that "a" and "A" read the same.
QString upper(const QString &text) { return text.toUpper(); }

std::unique_ptr<hoshi::VoiceWorker> makeWorker(ServiceLog &log, std::chrono::milliseconds retry = {})
{
    return std::make_unique<hoshi::VoiceWorker>(std::make_unique<FakeService>(log), upper, retry);
}

struct RecordingOutput final : hoshi::VoiceOutput {
    void say(const QString &text, Turn turn) override { said << (turn == Turn::NewEvent ? "new " : "same ") + text; }
    QStringList said;
};

} // namespace

class TestReadingVoice : public QObject {
    Q_OBJECT

private slots:
    // First, before anything here has connected to a bus.
    void a_screen_reader_is_a_client_following_the_focus_and_without_a_bus_none_once()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/hoshinotamago-bus");
        qunsetenv("AT_SPI_BUS_ADDRESS");
        hoshi::ScreenReaderWatch watch;
        QSignalSpy answers(&watch, &hoshi::ScreenReaderWatch::screenReaderRunningChanged);
        watch.start();
        QTRY_COMPARE(answers.size(), 1);
        QCOMPARE(answers.first().first().toBool(), false);
        QTest::qWait(200);
        QCOMPARE(answers.size(), 1);
        // On a bus: Orca started by hand, either spelling of the focus state; a caret tracker is none.
        QVERIFY(hoshi::listensLikeScreenReader({"Focus::", "Document:Reload:", "Object:TextCaretMoved:"}));
        QVERIFY(hoshi::listensLikeScreenReader({"object:state-changed:focused"}));
        QVERIFY(hoshi::listensLikeScreenReader({"Object:StateChanged:Focused"}));
        QVERIFY(!hoshi::listensLikeScreenReader({"Object:TextCaretMoved:", "Object:TextChanged:Insert"}));
    }

    void the_worker_says_what_a_listener_must_hear_data()
    {
        // Steps: new:T, same:T (a new event's first text, the event's next), stale:T (of an event a newer one
        // replaced), _ a blank; down, up, drop (the connection found gone), refuse (a rate), rate:N, rate:own.
        QTest::addColumn<int>("retryMs");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("calls");
        const int hour = 3600 * 1000;
        const auto row = [](const char *name, int retryMs, const char *steps, const char *calls) {
            QTest::newRow(name) << retryMs << steps << QString::fromLatin1(calls).split(u',');
        };
        row("one event in order, a new one cuts it short; the user's own rate, never changed, not sent", 0,
            "rate:own new:a same:b new:c", "open,cancel,say A,say B,cancel,say C");
        row("texts of one event that read the same heard once, in a new event again", 0, "new:a same:A same:b new:B",
            "open,cancel,say A,say B,cancel,say B");
        row("a replaced event's text is not said; a blank first text still cuts short, a later one does nothing", 0,
            "stale:old new:_ same:_ same:", "open,cancel");
        row("no service: not asked again within the retry time", hour, "down new:a new:b", "open");
        row("no service, then one: asked again after the retry time", 0, "down new:a up new:b", "open,open,cancel,say B");
        row("a restarted service: opened again at once, the text not lost", hour, "new:a drop new:b",
            "open,cancel,say A,close,open,cancel,say B");
        row("a rate chosen before the first text set on connecting, one changed while connected sent at once", 0,
            "rate:-25 new:a rate:25 new:b", "open,rate -25,cancel,say A,rate 25,cancel,say B");
        row("the rate kept across a restarted service; the user's own again: a new connection, no rate", 0,
            "rate:50 new:a drop new:b rate:own new:c",
            "open,rate 50,cancel,say A,close,open,rate 50,cancel,say B,close,open,cancel,say C");
        row("a rate refused: connected again, heard at the service's own rate", 0, "new:a refuse rate:25 new:b",
            "open,cancel,say A,close,open,cancel,say B");
    }

    void the_worker_says_what_a_listener_must_hear()
    {
        QFETCH(int, retryMs);
        QFETCH(QString, steps);
        ServiceLog log;
        auto worker = makeWorker(log, std::chrono::milliseconds(retryMs));
        quint64 event = 1;
        for (const QString &step : steps.split(u' ')) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            const QString text = arg == QLatin1String("_") ? QStringLiteral(" ") : arg;
            const auto is = [&verb](const char *name) { return verb == QLatin1String(name); };
            event += is("new");
            if (is("new") || is("same") || is("stale"))
                worker->handle({text, is("new") ? Turn::NewEvent : Turn::SameEvent, event}, event + is("stale"));
            else if (is("rate"))
                worker->setRate(text == QLatin1String("own") ? std::nullopt : std::optional(text.toInt()));
            else if (is("down") || is("up"))
                log.up = is("up");
            else
                (is("drop") ? log.dropNext : log.refuseRate) = true;
        }
        QTEST(log.calls(), "calls");
    }

    void the_voice_thread_never_waits_for_a_hung_service_and_keeps_only_the_newest_event()
    {
        ServiceLog log;
        log.hangOpen = true;
        QStringList reports;
        hoshi::ReadingVoice voice(makeWorker(log), std::chrono::milliseconds(50),
                                  [&reports](const QString &message) { reports << message; });
        // A rate chosen on the user interface thread comes before the next text.
        voice.setRate(-50);
        // Keys go on past the deadline: said once, the user interface never waits.
        voice.say(QStringLiteral("one"), Turn::NewEvent);
        QTest::qWait(150);
        voice.say(QStringLiteral("two"), Turn::NewEvent);
        voice.say(QStringLiteral("three"), Turn::NewEvent);
        voice.say(QStringLiteral("reading"), Turn::SameEvent);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(QStringLiteral("does not answer")));
        // Once it answers, the text it hung on, then the newest event; the one in between never.
        log.hangOpen = false;
        QTRY_COMPARE(log.calls(), (QStringList{"open", "rate -50", "cancel", "say ONE", "cancel", "say THREE", "say READING"}));
    }

    void each_announcement_is_a_change_on_the_clipboard()
    {
        // A clipboard reader speaks at each change: it must see one even for the text already there.
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("old"));
        hoshi::ClipboardAnnouncer announcer;
        for (const QString &text : {QStringLiteral("old"), QStringLiteral("１\r\n押せばわかる"), QStringLiteral("○ 1"),
                                    QStringLiteral("○ 1"), QStringLiteral("× 1")}) {
            QStringList seen;
            QObject context;
            QObject::connect(clipboard, &QClipboard::dataChanged, &context, [&] {
                const QMimeData *data = clipboard->mimeData();
                seen << (data == nullptr || data->formats().isEmpty() ? QStringLiteral("(empty)") : clipboard->text());
            });
            announcer.announce(text);
            QCOMPARE(seen.value(0), QStringLiteral("(empty)"));
            QCOMPARE(seen.last(), text);
            QCOMPARE(clipboard->text(QClipboard::Clipboard), text);
        }
    }

    void the_router_feeds_one_voice_data()
    {
        // Steps: new:T / same:T (a text of a new or the same event), menu:T (a menu entry's
        // hint, which a screen reader reads itself), reader:yes / reader:no (the screen-reader
        // answer), choose:C (the menu's voice); through the announcer, as a window speaks:
        // say:T (an announcement, also put on the clipboard), hint:T (voice only), loop (back to the event loop).
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
        QTest::newRow("an event lasts until the event loop; a text it repeats at once is heard once")
            << "always" << "say:Ａ say:エー loop hint:すぺーす say:１ say:１ loop say:１"
            << QStringList{"new Ａ", "same エー", "new すぺーす", "same １", "new １"} << QStringList{};
    }

    void the_router_feeds_one_voice()
    {
        QFETCH(QString, choice);
        QFETCH(QString, steps);
        const std::map<QString, hoshi::VoiceChoice> choices{
            {"auto", hoshi::VoiceChoice::Auto}, {"always", hoshi::VoiceChoice::Always}, {"never", hoshi::VoiceChoice::Never}};
        RecordingOutput builtIn, notifier;
        hoshi::testing::RecordingServices clipboard;
        hoshi::VoiceRouter router(choices.at(choice), builtIn, notifier);
        hoshi::SpokenAnnouncer announcer(clipboard, router);
        QStringList announced;
        const std::map<QString, std::function<void(const QString &)>> act{
            {"new", [&](const QString &w) { router.say(w, Turn::NewEvent); }},
            {"same", [&](const QString &w) { router.say(w, Turn::SameEvent); }},
            {"menu", [&](const QString &w) { announcer.menuHint(w); }},
            {"say", [&](const QString &w) { announcer.announce(w), announced << w; }},
            {"hint", [&](const QString &w) { announcer.hint(w); }},
            {"loop", [](const QString &) { QCoreApplication::processEvents(); }},
            {"reader", [&](const QString &w) { router.setScreenReaderRunning(w == QLatin1String("yes")); }},
            {"choose", [&](const QString &w) { router.setChoice(choices.at(w)); }}};
        for (const QString &step : steps.split(u' '))
            act.at(step.section(u':', 0, 0))(step.section(u':', 1));
        QTEST(builtIn.said, "voice");
        QTEST(notifier.said, "notified");
        QCOMPARE(clipboard.announcements(), announced); // exactly, and no hint
    }

    void notifierJoinsOneEventIntoOneNotificationAndLeavesToTheFocusWhatItReads()
    {
        hoshi::installReadableNames(upper);
        QWidget window;
        auto *first = new QPushButton(QStringLiteral("ONE"), &window);
        auto *second = new QPushButton(QStringLiteral("TWO"), &window);
        second->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        hoshi::ScreenReaderNotifier notifier(upper);
        notifier.say(QStringLiteral("stale"), Turn::NewEvent);
        notifier.say(QStringLiteral("Ｋｅｙ"), Turn::NewEvent);
        notifier.say(QStringLiteral("ｒｅａｄｉｎｇ"), Turn::SameEvent);
        notifier.say(QStringLiteral("Ｒｅａｄｉｎｇ"), Turn::SameEvent); // reads the same: heard once
        notifier.say(QStringLiteral("ｘ、ｙ"), Turn::SameEvent);    // a blank, not a word for 、
        QTRY_VERIFY(notifier.notice());
        QWidget *notice = notifier.notice();
        QCOMPARE(notice->window(), &window);
        QVERIFY(notice->isVisible() && notice->parentWidget()->isVisible());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(notice);
        QCOMPARE(accessible->role(), QAccessible::Notification);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("ＫＥＹ ＲＥＡＤＩＮＧ Ｘ Ｙ"));
        // In a status bar, so the screen reader says no role word before it.
        QCOMPARE(accessible->parent()->role(), QAccessible::StatusBar);
        // A message box opening with the event: the screen reader reads it, no notice.
        QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("box"), QMessageBox::Ok, &window);
        QTimer::singleShot(0, &box, [&] {
            notifier.say(QStringLiteral("box"), Turn::NewEvent);
            QTimer::singleShot(50, &box, &QMessageBox::accept);
        });
        box.exec();
        QCOMPARE(notice->accessibleName(), QStringLiteral("ＫＥＹ ＲＥＡＤＩＮＧ Ｘ Ｙ"));
        // Orca reads what the focus moves to: not sent again, unless the focus stays (a key again) or words differ.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        first->setFocus();
        notifier.say(QStringLiteral("start"), Turn::NewEvent);
        QTRY_COMPARE(notifier.notice()->accessibleName(), QStringLiteral("START"));
        const std::tuple<QPushButton *, QString, QString> steps[]{
            {second, "two", "START"}, {second, "two", "TWO"}, {first, "one more", "ONE MORE"}};
        for (const auto &[focus, said, shown] : steps) {
            focus->setFocus();
            notifier.say(said, Turn::NewEvent);
            QTest::qWait(20);
            QCOMPARE(notifier.notice()->accessibleName(), shown);
        }
        hoshi::installReadableNames({});
    }

    void readableNamesAreReadings()
    {
        hoshi::installReadableNames([](QString text) { return text.replace(u'あ', u'ア').replace(u'い', u'イ'); });
        // Japanese as its reading, English as it is, without control characters.
        for (const auto &[shown, name] : {std::pair{QStringLiteral("１\nあ、い。"), QStringLiteral("１ ア イ")},
                                          std::pair{QStringLiteral("Press\tEnter"), QStringLiteral("Press Enter")},
                                          std::pair{QStringLiteral("a\x1b[1mb\x07"), QStringLiteral("a[1mb")}}) {
            QWidget window;
            window.setWindowTitle(shown);
            auto *label = new QLabel(shown, &window);
            auto *button = new QPushButton(QStringLiteral("&") + shown, &window);
            for (QWidget *widget : {&window, static_cast<QWidget *>(label), static_cast<QWidget *>(button)})
                QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), name);
            // A menu entry found through its menu after a separator, checked and pressed as one of Qt's own.
            QMenu menu(&window);
            menu.addSeparator();
            QAction *choice = menu.addAction(QStringLiteral("&") + shown);
            choice->setCheckable(true);
            QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(&menu)->child(1);
            QVERIFY(entry && entry->role() == QAccessible::MenuItem && entry->parent()->object() == &menu);
            QCOMPARE(entry->text(QAccessible::Name), name);
            entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(choice->isChecked() && entry->state().checked);
            choice->setEnabled(false);
            QVERIFY(entry->state().disabled);
        }
        hoshi::installReadableNames({});
    }
};

QTEST_MAIN(TestReadingVoice)
#include "test_reading_voice.moc"
