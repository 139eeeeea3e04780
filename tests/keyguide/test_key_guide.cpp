// SPDX-License-Identifier: GPL-3.0-or-later
// The key guide's key-down procedure over the JIS key tables: what is shown,
// what is announced and in which order, what is injected, when the input method closes.
#include "keyguide/key_guide.h"
#include "platform/api/interfaces.h"

#include <QTest>

using namespace hoshi;
using Texts = QStringList;

namespace {

// Announcements, injected keys ("up 27/4": key-up of 27 with state 4) and
// input-method closings, in the order they happened.
struct Recorder final : Announcer, KeyInjector {
    void announce(const QString &text) override { log << text; }
    void announceUnheard(const QString &text) override { log << QStringLiteral("unheard ") + text; }
    void inject(int keyCode, int modifiers, KeyDirection direction) override
    {
        log << QStringLiteral("%1 %2/%3").arg(direction == KeyDirection::Up ? "up" : "down").arg(keyCode).arg(modifiers);
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

    void key_downs_data()
    {
        QTest::addColumn<QString>("keys"); // key codes, with "/state" where a modifier is held
        QTest::addColumn<Texts>("log");
        QTest::addColumn<bool>("armed");
        // Single keys: display, then reading, nothing else.
        const char *const plain[][3]{
            {"65", "ａ", "Ａ"}, {"65/1", "Ａ", "ａ"}, {"48", "０", "ぜろ"}, {"96", "０", "ぜろ"}, {"105", "９", "きゅう"},
            {"112", "Ｆ１", "ﾌｧﾝｸｼｮﾝ1"}, {"123", "Ｆ１２", "ﾌｧﾝｸｼｮﾝ12"}, {"8", "BackSpace", "ﾊﾞｯｸｽﾍﾟｰｽ"},
            {"186", ":", "コロン"}, {"187", ";", "セミコロン"}, {"192", "＠", "アットマーク"}, {"222", "＾", "べきじょう"},
            {"189", "－", "マイナス"}, {"186/1", "*", "アスタリスク"}, {"187/1", "+", "プラス"},
            {"50/1", "\"", "ﾀﾞﾌﾞﾙｸｵｰﾃｰｼｮﾝ"}, {"55/1", "'", "ｱﾎﾟｽﾄﾛﾌｨｰ"}, {"192/1", "`", "ｼﾝｸﾞﾙｸｵｰﾃｰｼｮﾝ"},
            {"222/1", "~", "チルダ"}, {"226/1", "_", "ｱﾝﾀﾞｰﾗｲﾝ"}, {"220/1", "|", "縦棒"}, {"242", "ｶﾀｶﾅ", "カタカナ"},
            {"93", "Application", "ｱﾌﾟﾘｹｰｼｮﾝｷｰ"}, {"42", "Prentscreen", "ﾌﾟﾘﾝﾄｽｸﾘｰﾝ"}, {"47", "47", "47"},
            {"17/2", "Ctrl", "コントロール"}, {"16/7", "Shift", "シフト"}};
        for (const auto &[key, display, reading] : plain)
            QTest::addRow("key %s", key) << key << Texts{display, reading} << true;
        const QString prompt = KeyGuide::initialKeyText();
        // The yen and ろ keys show each other's sign: only their readings are heard.
        QTest::newRow("yen key") << "220" << Texts{"unheard \\", "円マーク"} << true;
        QTest::newRow("ろ key") << "226" << Texts{"unheard \uFFE5", "ﾊﾞｯｸｽﾗｯｼｭ"} << true;
        QTest::newRow("Ctrl+A repeats Ctrl") << "17/2 65/2" << Texts{"Ctrl", "コントロール", "Ctrl", "コントロール"} << true;
        QTest::newRow("Shift+0 keeps the reading") << "16/1 48/1" << Texts{"Shift", "シフト", "", "シフト"} << true;
        QTest::newRow("first key in no table repeats the prompt") << "20" << Texts{prompt, ""} << true;
        for (const char *key : {"20", "124", "66/4", "121/1", "29/2"})
            QTest::addRow("%s in no table repeats the last two", key)
                << QStringLiteral("52/1 ") + key << Texts{"＄", "ドル", "＄", "ドル"} << true;
        QTest::newRow("muhenkan closes the input method first") << "29" << Texts{"IME off", "無変換", "無変換"} << true;
        QTest::newRow("henkan too") << "28" << Texts{"IME off", "変換", "へんかん"} << true;
        QTest::newRow("hankaku/zenkaku too") << "229" << Texts{"IME off", "半角/全角", "半角/全角"} << true;
        QTest::newRow("the injected Alt re-arms; the next Alt injects again, with Alt's state")
            << "18/4 18/4 18/6"
            << Texts{"up 27/4", "down 18/4", "Alt", "オルト", "Alt", "オルト", "up 27/6", "down 18/6", "Alt", "オルト"}
            << false;
        QTest::newRow("armed F10 presses itself again")
            << "121" << Texts{"up 121/0", "down 121/0", "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10"} << false;
        QTest::newRow("disarmed F10 only re-arms; the Windows key then injects")
            << "18/4 121 91"
            << Texts{"up 27/4", "down 18/4", "Alt", "オルト", "Ｆ１０", "ﾌｧﾝｸｼｮﾝ10", "up 91/0", "down 91/0", "Windowsｷｰ",
                     "ｳｨﾝﾄﾞｰｽﾞｷｰ"}
            << false;
    }

    void key_downs()
    {
        QFETCH(QString, keys);
        QFETCH(Texts, log);
        QCOMPARE(m_recorder.log, Texts{"IME off"}); // loading closes the input method and says nothing
        m_recorder.log.clear();
        for (const QString &key : keys.split(u' '))
            m_guide->keyDown(key.section(u'/', 0, 0).toInt(), key.section(u'/', 1).toInt());
        // Expected: these effects in this order; the last two texts on show; the flag.
        QCOMPARE(m_recorder.log, log);
        const QString shown = log.at(log.size() - 2);
        QCOMPARE(m_guide->state().keyText, shown.startsWith("unheard ") ? shown.mid(8) : shown);
        QCOMPARE(m_guide->state().yomiText, log.last());
        QTEST(m_guide->state().injectArmed, "armed");
    }

private:
    Recorder m_recorder;
    std::unique_ptr<KeyGuide> m_guide;
};

QTEST_APPLESS_MAIN(TestKeyGuide)
#include "test_key_guide.moc"
