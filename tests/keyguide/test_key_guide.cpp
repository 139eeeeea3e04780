// SPDX-License-Identifier: GPL-3.0-or-later
// The key guide's key-down procedure: what is shown, what is announced and in
// which order, what is injected and when, and when the input method closes.
#include "keyguide/key_guide.h"
#include "platform/api/interfaces.h"

#include <QTest>

using namespace hoshi;
using Texts = QStringList;

namespace {

// Announcements, injected keys ("up 27/4": key-up of 27 with state 4) and
// input-method closings, as texts in the order they happened.
struct Recorder final : Announcer, KeyInjector {
    void announce(const QString &text) override { log << text; }
    void announceUnheard(const QString &text) override { log << QStringLiteral("unheard ") + text; }
    void inject(int keyCode, int modifiers, KeyDirection direction) override
    {
        log << QStringLiteral("%1 %2/%3")
                   .arg(direction == KeyDirection::Up ? QStringLiteral("up") : QStringLiteral("down"))
                   .arg(keyCode)
                   .arg(modifiers);
    }
    QStringList log;
};

} // namespace

class TestKeyGuide : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_recorder.log.clear();
        m_guide = std::make_unique<KeyGuide>(m_recorder, m_recorder, [this] { m_recorder.log << "IME off"; });
        m_guide->load();
    }

    void load_closes_the_input_method_arms_and_says_nothing()
    {
        // State: a new guide, loaded; then keys that change it, and a second load.
        for (int pass = 0; pass < 2; ++pass) {
            // Expected: the prompt, no reading, armed, the input method closed, nothing heard.
            QCOMPARE(m_recorder.log, Texts{"IME off"});
            QCOMPARE(m_guide->state().keyText, KeyGuide::initialKeyText());
            QVERIFY(!m_guide->state().keyText.isEmpty());
            QCOMPARE(m_guide->state().yomiText, QString());
            QVERIFY(m_guide->state().injectArmed);
            m_guide->keyDown(65, 0);
            m_guide->keyDown(18, 4); // disarms
            m_recorder.log.clear();
            m_guide->load();
        }
    }

    void key_downs_data()
    {
        QTest::addColumn<QString>("keys"); // key codes, with "/state" where a modifier is held
        QTest::addColumn<Texts>("log");
        QTest::addColumn<QString>("keyText");
        QTest::addColumn<QString>("yomiText");
        QTest::addColumn<bool>("armed");
        const QString prompt = KeyGuide::initialKeyText();
        QTest::newRow("letter: display, then reading") << "65" << Texts{"ａ", "Ａ"} << "ａ" << "Ａ" << true;
        // The yen and ろ keys show each other's sign: only their readings are heard.
        QTest::newRow("yen key: its sign on the clipboard only") << "220" << Texts{"unheard \\", "円マーク"} << "\\"
                                                             << "円マーク" << true;
        QTest::newRow("ろ key: its sign on the clipboard only")
            << "226" << Texts{"unheard \uFFE5", "ﾊﾞｯｸｽﾗｯｼｭ"} << "\uFFE5" << "ﾊﾞｯｸｽﾗｯｼｭ" << true;
        QTest::newRow("Shift+yen: its sign heard") << "220/1" << Texts{"|", "縦棒"} << "|" << "縦棒" << true;
        QTest::newRow("held key: every repeat heard") << "39 39" << Texts{"→", "右矢印", "→", "右矢印"} << "→"
                                                     << "右矢印" << true;
        QTest::newRow("Ctrl, then Ctrl+A repeats Ctrl")
            << "65 17/2 65/2" << Texts{"ａ", "Ａ", "Ctrl", "コントロール", "Ctrl", "コントロール"} << "Ctrl"
            << "コントロール" << true;
        QTest::newRow("Shift, then Shift+0 keeps the reading")
            << "16/1 48/1" << Texts{"Shift", "シフト", "", "シフト"} << "" << "シフト" << true;
        QTest::newRow("first key in no table repeats the prompt") << "20" << Texts{prompt, ""} << prompt << ""
                                                                  << true;
        const std::pair<const char *, const char *> noEntry[]{
            {"caps lock", "20"}, {"F13", "124"}, {"Alt+B", "66/4"}, {"Shift+F10: no re-press either", "121/1"}};
        for (const auto &[name, key] : noEntry) {
            QTest::addRow("%s repeats the last two", name)
                << QStringLiteral("52/1 ") + key << Texts{"＄", "ドル", "＄", "ドル"} << "＄" << "ドル" << true;
        }
        QTest::newRow("muhenkan closes the input method first") << "29" << Texts{"IME off", "無変換", "無変換"}
                                                                << "無変換" << "無変換" << true;
        QTest::newRow("Ctrl+muhenkan has no entry") << "29/2" << Texts{prompt, ""} << prompt << "" << true;
        QTest::newRow("armed Alt: Escape up, Alt down, with Alt's state")
            << "18/4" << Texts{"up 27/4", "down 18/4", "Alt", "オルト"} << "Alt" << "オルト" << false;
        QTest::newRow("the injected Alt re-arms; the next Alt injects again")
            << "18/4 18/4 18/6"
            << Texts{"up 27/4", "down 18/4", "Alt", "オルト", "Alt", "オルト", "up 27/6", "down 18/6", "Alt", "オルト"}
            << "Alt" << "オルト" << false;
        QTest::newRow("armed F10 presses itself again")
            << "121" << Texts{"up 121/0", "down 121/0", "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10"} << "Ｆ１０" << "ﾌｧﾝｸｼｮﾝ10" << false;
        QTest::newRow("disarmed F10 only re-arms; the Windows key then injects")
            << "18/4 121 91"
            << Texts{"up 27/4", "down 18/4", "Alt", "オルト", "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10", "up 91/0", "down 91/0", "Windowsｷｰ",
                     "ｳｨﾝﾄﾞｰｽﾞｷｰ"}
            << "Windowsｷｰ" << "ｳｨﾝﾄﾞｰｽﾞｷｰ" << false;
    }

    void key_downs()
    {
        // State: loaded. Action: the key-downs.
        QFETCH(QString, keys);
        QFETCH(Texts, log);
        m_recorder.log.clear();
        for (const QString &key : keys.split(u' ')) {
            const QStringList parts = key.split(u'/');
            m_guide->keyDown(parts[0].toInt(), parts.value(1).toInt());
        }
        // Expected: these effects in this order; this on show; the flag.
        QCOMPARE(m_recorder.log, log);
        QTEST(m_guide->state().keyText, "keyText");
        QTEST(m_guide->state().yomiText, "yomiText");
        QTEST(m_guide->state().injectArmed, "armed");
    }

private:
    Recorder m_recorder;
    std::unique_ptr<KeyGuide> m_guide;
};

QTEST_APPLESS_MAIN(TestKeyGuide)
#include "test_key_guide.moc"
