// SPDX-License-Identifier: GPL-3.0-or-later
// The kana readings the reading voice says: every text the program announces,
// numbers and letters, a missing dictionary, and input no announcement should
// hold but the voice may still be handed.
#include "fingers/drill_engine.h"
#include "fingers/drill_tables.h"
#include "fingers/finger_steps.h"
#include "keyguide/key_catalogue.h"
#include "platform/media/kana_reading.h"
#include "support/fakes.h"
#include "typing/practice_file.h"
#include "typing/typing_exercise.h"
#include "typing/typing_profile.h"
#include "ui/version_info.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <span>
#include <thread>
#include <utility>
#include <vector>

using hoshi::KanaReader;

namespace {

const QString NaistJdic = QStringLiteral("/var/lib/mecab/dic/naist-jdic");

using Texts = std::vector<std::pair<QString, QString>>; // where it comes from, the text

// What makes reading no text the voice says right: the first character that
// is not hiragana, ー or 、, or a blank not between two words. Empty when fine.
QString flawIn(const QString &reading)
{
    if (reading.startsWith(u' ') || reading.endsWith(u' ') || reading.startsWith(u'、') || reading.endsWith(u'、'))
        return QStringLiteral("a gap at an end");
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const char16_t c = reading[i].unicode();
        const bool gap = c == u' ' || c == u'、';
        if (gap && i > 0 && (reading[i - 1] == u' ' || reading[i - 1] == u'、'))
            return QStringLiteral("two gaps in a row at %1").arg(i);
        const bool hiragana = (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E;
        if (!gap && !hiragana && c != u'ー')
            return QStringLiteral("U+%1 at %2").arg(int(c), 4, 16, QLatin1Char('0')).arg(i);
    }
    return {};
}

// Weaker than flawIn, for input no announcement holds: whatever comes out is
// whole code points the voice can be handed, with no stray gaps.
QString malformationIn(const QString &reading)
{
    if (reading != reading.trimmed())
        return QStringLiteral("a blank at an end");
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const QChar c = reading[i];
        if (c.isHighSurrogate() && i + 1 < reading.size() && reading[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool unsayable = c.isSurrogate() || c.category() == QChar::Other_Control
            || c.category() == QChar::Other_Format || c.category() == QChar::Other_PrivateUse
            || c.category() == QChar::Other_NotAssigned;
        if (unsayable)
            return QStringLiteral("U+%1 at %2").arg(int(c.unicode()), 4, 16, QLatin1Char('0')).arg(i);
    }
    return {};
}

QString launcherAnnouncement(int number, const QString &caption)
{
    // As the launcher entry writes it: full-width digit, CR LF, caption.
    return QString(QChar(char16_t(0xFF10 + number))) + QStringLiteral("\r\n") + caption;
}

Texts catalogueTexts()
{
    Texts texts;
    const auto add = [&texts](const std::optional<hoshi::KeyEntry> &entry, int keyCode) {
        if (!entry)
            return;
        for (const QString &text : {entry->display, entry->reading}) {
            if (!text.isEmpty())
                texts.emplace_back(QStringLiteral("key %1").arg(keyCode), text);
        }
    };
    for (int keyCode = 0; keyCode < 256; ++keyCode) {
        for (const int modifiers : {0, 1}) {
            const hoshi::KeyLookup found = hoshi::LookUpKey(keyCode, modifiers);
            add(found.tableEntry, keyCode);
            add(found.modifierEntry, keyCode);
        }
    }
    return texts;
}

Texts fingerAndDrillTexts()
{
    Texts texts;
    for (const hoshi::FingerStep &step : hoshi::fingerSteps()) {
        for (const QString &text : {step.key, step.fingerLabel, step.reading})
            texts.emplace_back(QStringLiteral("finger step %1").arg(step.key), text);
    }
    for (const hoshi::DrillProfile *profile : {&hoshi::alphabetDrillProfile(), &hoshi::numbersAndSymbolsDrillProfile()}) {
        texts.emplace_back(profile->objectName, profile->title);
        for (const hoshi::DrillTarget &target : profile->table) {
            texts.emplace_back(profile->objectName, target.character);
            texts.emplace_back(profile->objectName, target.fingerLabel);
        }
    }
    return texts;
}

Texts typingTexts()
{
    const hoshi::TypingProfile &profile = hoshi::TypingProfile::japanese();
    Texts texts{{QStringLiteral("game over"), profile.gameOverText},
                {QStringLiteral("opening caption"), profile.openingCaption},
                {QStringLiteral("more lines"), profile.moreLinesMessage},
                {QStringLiteral("line cut"), profile.lineCutMessage},
                {QStringLiteral("editor failed"), profile.editorFailedMessage}};
    for (const QString &caption : profile.limitCaptions)
        texts.emplace_back(QStringLiteral("time limit caption"), caption);
    for (std::size_t i = 1; i < profile.readErrors.size(); ++i)
        texts.emplace_back(QStringLiteral("read error %1").arg(i), profile.readErrors[i]);
    for (const int score : {-100, -12, -1, 0, 7, 99, 250, 1000})
        texts.emplace_back(QStringLiteral("score"), profile.scorePrefix + QString::number(score));
    return texts;
}

void addRow(const char *tag, const QString &text, const QString &reading)
{
    QTest::newRow(tag) << text << reading;
}

struct Checked {
    QStringView line;
    QStringView reading;
};

// Every line of the shipped Japanese sample texts and its reading, each
// checked by ear: a line added to the samples needs its reading here.
constexpr Checked SampleLineReadings[] = {
    // 1 ひらがなの ことば
    {u"あめ", u"あめ"}, {u"いぬ", u"いぬ"}, {u"うし", u"うし"}, {u"えき", u"えき"}, {u"かさ", u"かさ"}, {u"ねこ", u"ねこ"},
    {u"はな", u"はな"}, {u"みみ", u"みみ"}, {u"やま", u"やま"}, {u"ゆき", u"ゆき"}, {u"そら", u"そら"}, {u"うみ", u"うみ"},
    {u"かに", u"かに"}, {u"たこ", u"たこ"}, {u"くま", u"くま"}, {u"さる", u"さる"}, {u"とり", u"とり"}, {u"いか", u"いか"},
    {u"あさ", u"あさ"}, {u"よる", u"よる"}, {u"りんご", u"りんご"}, {u"みかん", u"みかん"}, {u"いちご", u"いちご"}, {u"ぶどう", u"ぶどー"},
    {u"すいか", u"すいか"}, {u"めろん", u"めろん"}, {u"さかな", u"さかな"}, {u"うさぎ", u"うさぎ"}, {u"きりん", u"きりん"},
    {u"ぞうさん", u"ぞーさん"}, {u"たまご", u"たまご"}, {u"ごはん", u"ごはん"}, {u"おにぎり", u"おにぎり"}, {u"おみず", u"おみず"},
    {u"おちゃ", u"おちゃ"}, {u"くつした", u"くつした"}, {u"ぼうし", u"ぼうし"}, {u"かばん", u"かばん"}, {u"えほん", u"えほん"},
    {u"つくえ", u"つくえ"}, {u"いす", u"いす"}, {u"まど", u"まど"}, {u"ともだち", u"ともだち"}, {u"せんせい", u"せんせい"},
    {u"がっこう", u"がっこー"}, {u"こうえん", u"こーえん"}, {u"すべりだい", u"すべりだい"}, {u"ぶらんこ", u"ぶらんこ"}, {u"おひさま", u"おひさま"},
    {u"ほし", u"ほし"}, {u"つき", u"つき"}, {u"くも", u"くも"}, {u"かぜ", u"かぜ"}, {u"あおい", u"あおい"}, {u"あかい", u"あかい"},
    {u"しろい", u"しろい"}, {u"おおきい", u"おーきい"}, {u"ちいさい", u"ちーさい"}, {u"ありがとう", u"ありがとー"}, {u"おはよう", u"おはよー"},
    {u"こんにちは", u"こんにちわ"}, {u"こんばんは", u"こんばんわ"}, {u"おやすみ", u"おやすみ"}, {u"いただきます", u"いただきます"},
    {u"ごちそうさま", u"ごちそーさま"},
    // 2 かんじの まじった ぶん
    {u"朝ごはんを食べます。", u"あさごはんをたべます"},
    {u"学校へ行きます。", u"がっこーえいきます"},
    {u"空が青い。", u"そらがあおい"},
    {u"雨がふっています。", u"あめがふっています"},
    {u"花に水をやる。", u"はなにみずをやる"},
    {u"本を読むのが好き。", u"ほんをよむのがすき"},
    {u"友だちと手をつなぐ。", u"ともだちとてをつなぐ"},
    {u"山の上は寒い。", u"やまのうえわさむい"},
    {u"川で魚を見た。", u"かわでさかなをみた"},
    {u"先生におはようと言う。", u"せんせいにおはよーという"},
    {u"今日は天気がいい。", u"きょーわてんきがいい"},
    {u"夜は星がきれい。", u"よるわほしがきれい"},
    {u"赤い車が走る。", u"あかいくるまがはしる"},
    {u"目を閉じて耳をすます。", u"めをとじてみみをすます"},
    {u"お母さんとお店に行く。", u"おかーさんとおみせにいく"},
    {u"お父さんと公園で遊ぶ。", u"おとーさんとこーえんであそぶ"},
    {u"白い雲が出ている。", u"しろいくもがでている"},
    {u"名前を書きます。", u"なまえをかきます"},
    {u"月がまるい。", u"つきがまるい"},
    {u"小さい鳥が鳴いている。", u"ちーさいとりがないている"},
    {u"大きな木の下で休む。", u"おーきなきのしたでやすむ"},
    {u"手を洗ってから食べる。", u"てをあらってからたべる"},
    {u"右と左をよく見る。", u"みぎとひだりをよくみる"},
    {u"電車に乗って町へ行く。", u"でんしゃにのってまちえいく"},
    {u"休みの日に海へ行く。", u"やすみのひにうみえいく"},
    {u"字をていねいに書く。", u"じをていねいにかく"},
    {u"夏は水あそびが楽しい。", u"なつわみずあそびがたのしい"},
    {u"冬には雪がふる。", u"ふゆにわゆきがふる"},
    {u"音楽を聞いて歌う。", u"おんがくをきいてうたう"},
    {u"毎日すこしずつ練習する。", u"まいにちすこしずつれんしゅーする"},
    // 3 カタカナと きごう
    {u"パンとミルク。", u"ぱんとみるく"},
    {u"テレビを見る。", u"てれびをみる"},
    {u"ピアノをひく。", u"ぴあのをひく"},
    {u"バスに乗る。", u"ばすにのる"},
    {u"ボールをける。", u"ぼーるをける"},
    {u"カレーライスが大好き！", u"かれーらいすがだいすき"},
    {u"アイスクリームをください。", u"あいすくりーむをください"},
    {u"トマト、キャベツ、ニンジン。", u"とまと、きゃべつ、にんじん"},
    {u"バスは何時に来ますか？", u"ばすわなんじにきますか"},
    {u"「こんにちは」と言う。", u"こんにちわという"},
    {u"「ありがとう」と言う。", u"ありがとーという"},
    {u"ノートとえんぴつを出す。", u"のーととえんぴつをだす"},
    {u"ゴール！やったね。", u"ごーる、やったね"},
    {u"ジュースとクッキー。", u"じゅーすとくっきー"},
    {u"ペンギンはどこ？", u"ぺんぎんわどこ"},
    {u"ライオンとパンダ。", u"らいおんとぱんだ"},
    {u"チョコレートを半分こ。", u"ちょこれーとをはんぶんこ"},
    {u"サッカーとテニス。", u"さっかーとてにす"},
    {u"ケーキにローソクを立てる。", u"けーきにろーそくをたてる"},
    {u"ママ、おかえりなさい！", u"まま、おかえりなさい"},
    {u"パパとキャッチボール。", u"ぱぱときゃっちぼーる"},
    {u"メロンパンを一つ。", u"めろんぱんをひとつ"},
    {u"ドアをノックする。", u"どあをのっくする"},
    {u"シャツのボタンをとめる。", u"しゃつのぼたんをとめる"},
    {u"プールでおよぐ。", u"ぷーるでおよぐ"},
    {u"コップに水を入れる。", u"こっぷにみずをいれる"},
    {u"ハンカチとティッシュ。", u"はんかちとてぃっしゅ"},
    {u"ロボットが歩く？", u"ろぼっとがあるく"},
    {u"ラジオ体操、いち、に、さん！", u"らじおたいそー、いち、に、さん"},
    {u"ピカピカのランドセル。", u"ぴかぴかのらんどせる"},
};

QDir japaneseSamples()
{
    return QDir(QStringLiteral(HOSHI_SAMPLE_TEXTS "/japanese"));
}

QStringList sampleFiles()
{
    return japaneseSamples().entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

QStringList sampleLines(const QString &file)
{
    return hoshi::readPracticeFile(japaneseSamples().filePath(file)).lines;
}

// The version box, and the names and lines of the Japanese sample texts.
Texts versionAndSampleTexts()
{
    const hoshi::TypingProfile &profile = hoshi::TypingProfile::japanese();
    Texts texts{{QStringLiteral("version box"), hoshi::versionMessage()},
                {QStringLiteral("sample folder"), profile.entryAnnouncement(QStringLiteral("japanese"), true)},
                {QStringLiteral("sample folder"), profile.entryAnnouncement(QStringLiteral("english"), true)}};
    for (const QString &file : sampleFiles()) {
        texts.emplace_back(QStringLiteral("sample file"), profile.entryAnnouncement(file, false));
        for (const QString &line : sampleLines(file))
            texts.emplace_back(file, line);
    }
    return texts;
}

} // namespace

class TestKanaReading : public QObject {
    Q_OBJECT

    // naist-jdic, as the program uses it; shared, as the program shares one.
    KanaReader m_reader;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(NaistJdic).isDir(), "mecab-naist-jdic is not installed (scripts/install-deps.sh installs it)");
        QVERIFY(m_reader.readsKanji());
    }

    void announced_texts_read_as_a_child_hears_them_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        // The six launcher entries: the digit, a pause for the line break, the caption.
        addRow("launcher 1", launcherAnnouncement(1, QStringLiteral("押せばわかる")), QStringLiteral("いち、おせばわかる"));
        addRow("launcher 2", launcherAnnouncement(2, QStringLiteral("どの指使うの")), QStringLiteral("に、どのゆびつかうの"));
        addRow("launcher 3", launcherAnnouncement(3, QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦")),
               QStringLiteral("さん、あるふぁべっとにちょーせん"));
        addRow("launcher 4", launcherAnnouncement(4, QStringLiteral("記号と数字も登場")),
               QStringLiteral("よん、きごーとすーじもとーじょー"));
        addRow("launcher 5", launcherAnnouncement(5, QStringLiteral("応用日本語入力")),
               QStringLiteral("ご、おーよーにほんごにゅーりょく"));
        addRow("launcher 6", launcherAnnouncement(6, QStringLiteral("応用英語入力")),
               QStringLiteral("ろく、おーよーえいごにゅーりょく"));

        // Finger steps: mixed writings, a letter or a half-width word at the end.
        addRow("step 小ゆび and a letter", QStringLiteral("ひだり小ゆびＡ"), QStringLiteral("ひだりこゆびえー"));
        addRow("step already kana", QStringLiteral("ひだりひとさしゆびえふ"), QStringLiteral("ひだりひとさしゆびえふ"));
        addRow("step R", QStringLiteral("ひだりひとさしゆびＲ"), QStringLiteral("ひだりひとさしゆびあーる"));
        addRow("step W", QStringLiteral("ひだりくすりゆびＷ"), QStringLiteral("ひだりくすりゆびだぶりゅー"));
        addRow("step half-width comma word", QStringLiteral("みぎなかゆびｶﾝﾏ"), QStringLiteral("みぎなかゆびかんま"));
        addRow("step half-width period word", QStringLiteral("みぎくすりゆびﾋﾟﾘｵﾄﾞ"), QStringLiteral("みぎくすりゆびぴりおど"));
        addRow("step full-width digit", QStringLiteral("ひだり小ゆび１"), QStringLiteral("ひだりこゆびいち"));
        addRow("step zero", QStringLiteral("みぎこゆび０"), QStringLiteral("みぎこゆびぜろ"));
        addRow("step minus word", QStringLiteral("みぎこゆびﾏｲﾅｽ"), QStringLiteral("みぎこゆびまいなす"));
        addRow("step at-mark word", QStringLiteral("みぎこゆびｱｯﾄﾏｰｸ"), QStringLiteral("みぎこゆびあっとまーく"));
        addRow("finger label", QStringLiteral("ひだり　人さし指"), QStringLiteral("ひだり ひとさしゆび"));
        addRow("finger label なか指", QStringLiteral("みぎ　なか指"), QStringLiteral("みぎ なかゆび"));

        // Key guide: display texts (Latin words, marks, full-width forms) and readings.
        addRow("key BackSpace", QStringLiteral("BackSpace"), QStringLiteral("ばっくすぺーす"));
        addRow("key BackSpace reading", QStringLiteral("ﾊﾞｯｸｽﾍﾟｰｽ"), QStringLiteral("ばっくすぺーす"));
        addRow("key Page Up", QStringLiteral("Page Up"), QStringLiteral("ぺーじあっぷ"));
        addRow("key Page Down", QStringLiteral("Page Down"), QStringLiteral("ぺーじだうん"));
        addRow("key Caps Lock", QStringLiteral("Caps Lock"), QStringLiteral("きゃぷすろっく"));
        addRow("key Caps Lock reading", QStringLiteral("ｷｬﾌﾟｽﾛｯｸ"), QStringLiteral("きゃぷすろっく"));
        addRow("key NumLock", QStringLiteral("NumLock"), QStringLiteral("なむろっく"));
        addRow("key Prentscreen", QStringLiteral("Prentscreen"), QStringLiteral("ぷりんとすくりーん"));
        addRow("key Windows", QStringLiteral("Windowsｷｰ"), QStringLiteral("うぃんどーずきー"));
        addRow("key Windows reading", QStringLiteral("ｳｨﾝﾄﾞｰｽﾞｷｰ"), QStringLiteral("うぃんどーずきー"));
        addRow("key Application", QStringLiteral("Application"), QStringLiteral("あぷりけーしょん"));
        addRow("key Application reading", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝｷｰ"), QStringLiteral("あぷりけーしょんきー"));
        addRow("key Shift", QStringLiteral("Shift"), QStringLiteral("しふと"));
        addRow("key Ctrl", QStringLiteral("Ctrl"), QStringLiteral("こんとろーる"));
        addRow("key Alt", QStringLiteral("Alt"), QStringLiteral("おると"));
        addRow("key Tab", QStringLiteral("Tab"), QStringLiteral("たぶ"));
        addRow("key Enter", QStringLiteral("Enter"), QStringLiteral("えんたー"));
        addRow("key Escape", QStringLiteral("Escape"), QStringLiteral("えすけーぷ"));
        addRow("key Space", QStringLiteral("Space"), QStringLiteral("すぺーす"));
        addRow("key Home", QStringLiteral("Home"), QStringLiteral("ほーむ"));
        addRow("key End", QStringLiteral("End"), QStringLiteral("えんど"));
        addRow("key Insert", QStringLiteral("Insert"), QStringLiteral("いんさーと"));
        addRow("key Delete", QStringLiteral("Delete"), QStringLiteral("でりーと"));
        addRow("key Pause", QStringLiteral("Pause"), QStringLiteral("ぽーず"));
        addRow("key up arrow", QStringLiteral("↑"), QStringLiteral("うえやじるし"));
        addRow("key up arrow reading", QStringLiteral("上矢印"), QStringLiteral("うえやじるし"));
        addRow("key down arrow reading", QStringLiteral("下矢印"), QStringLiteral("したやじるし"));
        addRow("key left arrow reading", QStringLiteral("左矢印"), QStringLiteral("ひだりやじるし"));
        addRow("key right arrow", QStringLiteral("→"), QStringLiteral("みぎやじるし"));
        addRow("key 無変換", QStringLiteral("無変換"), QStringLiteral("むへんかん"));
        addRow("key 半角/全角", QStringLiteral("半角/全角"), QStringLiteral("はんかくぜんかく"));
        addRow("key katakana", QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("かたかな"));
        addRow("key F1", QStringLiteral("Ｆ１"), QStringLiteral("えふいち"));
        addRow("key F12", QStringLiteral("Ｆ１２"), QStringLiteral("えふじゅうに"));
        addRow("key F1 reading", QStringLiteral("ﾌｧﾝｸｼｮﾝ1"), QStringLiteral("ふぁんくしょんいち"));
        addRow("key F10 reading", QStringLiteral("ﾌｧﾝｸｼｮﾝ10"), QStringLiteral("ふぁんくしょんじゅう"));
        addRow("key small a", QStringLiteral("ａ"), QStringLiteral("えー"));
        addRow("key capital A", QStringLiteral("Ａ"), QStringLiteral("えー"));
        addRow("key digit", QStringLiteral("１"), QStringLiteral("いち"));
        addRow("key 47", QStringLiteral("47"), QStringLiteral("よんじゅうなな"));
        addRow("key 円マーク reading", QStringLiteral("円マーク"), QStringLiteral("えんまーく"));
        addRow("key backslash reading", QStringLiteral("ﾊﾞｯｸｽﾗｯｼｭ"), QStringLiteral("ばっくすらっしゅ"));
        addRow("key 角かっことじ reading", QStringLiteral("角かっことじ"), QStringLiteral("かくかっことじ"));
        addRow("key 小なり reading", QStringLiteral("小なり"), QStringLiteral("しょーなり"));
        addRow("key 縦棒 reading", QStringLiteral("縦棒"), QStringLiteral("たてぼー"));
        addRow("key exclamation reading", QStringLiteral("ｴｸｽｸﾗﾒｰｼｮﾝ"), QStringLiteral("えくすくらめーしょん"));
        addRow("key double quote reading", QStringLiteral("ﾀﾞﾌﾞﾙｸｵｰﾃｰｼｮﾝ"), QStringLiteral("だぶるくおーてーしょん"));

        // Every mark of the keyboard alone, as the key guide and the drills announce it.
        const std::pair<const char *, const char *> marks[]{
            {"＠", "あっとまーく"}, {"[", "かくかっこ"}, {"]", "かくかっことじ"}, {";", "せみころん"},
            {":", "ころん"}, {",", "かんま"}, {".", "ぴりおど"}, {"／", "すらっしゅ"}, {"\\", "ばっくすらっしゅ"},
            {"－", "まいなす"}, {"-", "まいなす"}, {"＾", "べきじょう"}, {"￥", "えんまーく"}, {"_", "あんだーらいん"},
            {"！", "えくすくらめーしょん"}, {"\"", "だぶるくおーてーしょん"}, {"＃", "しゃーぷ"}, {"＄", "どる"},
            {"％", "ぱーせんと"}, {"＆", "あんど"}, {"'", "あぽすとろふぃー"}, {"(", "かっこ"}, {")", "かっことじ"},
            {"=", "いこーる"}, {"~", "ちるだ"}, {"|", "たてぼう"}, {"`", "しんぐるくおーてーしょん"}, {"{", "ちゅうかっこ"},
            {"}", "ちゅうかっことじ"}, {"＋", "ぷらす"}, {"＊", "あすたりすく"}, {"<", "しょうなり"},
            {">", "だいなり"}, {"?", "くえすちょんまーく"}, {"．", "ぴりおど"}, {"○", "まる"}, {"×", "ばつ"}};
        for (const auto &[mark, reading] : marks) {
            const QByteArray tag = QByteArray("mark ") + mark;
            addRow(tag.constData(), QString::fromUtf8(mark), QString::fromUtf8(reading));
        }

        // The drills and the typing window.
        addRow("score", QStringLiteral("得点 12"), QStringLiteral("とくてん じゅうに"));
        addRow("score negative", QStringLiteral("得点 -3"), QStringLiteral("とくてん まいなす さん"));
        addRow("score zero", QStringLiteral("得点 0"), QStringLiteral("とくてん ぜろ"));
        addRow("hits", QStringLiteral("○ 5"), QStringLiteral("まる ご"));
        addRow("misses", QStringLiteral("× 1"), QStringLiteral("ばつ いち"));
        addRow("time", QStringLiteral("TIME 30"), QStringLiteral("たいむ さんじゅう"));
        addRow("start", QStringLiteral("START"), QStringLiteral("すたーと"));
        addRow("retry", QStringLiteral("RETRY"), QStringLiteral("りとらい"));
        addRow("prompt", QStringLiteral("Spaceでスタート"), QStringLiteral("すぺーすですたーと"));
        addRow("drill finger label", QStringLiteral("左手　人さし指"), QStringLiteral("ひだりて ひとさしゆび"));
        addRow("drill title", QStringLiteral("数字と記号も登場"), QStringLiteral("すーじときごーもとーじょー"));
        addRow("game over", QStringLiteral("おしまい  RESET!"), QStringLiteral("おしまい りせっと"));
        addRow("key guide of the typing window", QStringLiteral("Esc:RESET\r\nCtrl:REPEAT"),
               QStringLiteral("えすけーぷ、りせっと、こんとろーる、りぴーと"));
        addRow("read error", QStringLiteral("ファイルが見つかりません。"), QStringLiteral("ふぁいるがみつかりません"));
        addRow("key guide prompt", QStringLiteral("キーをおしてね"), QStringLiteral("きーをおしてね"));

        // Practice lines: particles said as spoken, counters after numbers.
        addRow("line with particles", QStringLiteral("今日は学校へ行きます。"), QStringLiteral("きょーわがっこーえいきます"));
        addRow("line of kanji", QStringLiteral("応用日本語入力"), QStringLiteral("おーよーにほんごにゅーりょく"));
        addRow("line with ideographic space", QStringLiteral("左手　小指"), QStringLiteral("ひだりて こゆび"));
        addRow("line with brackets", QStringLiteral("「メモ帳」を開く"), QStringLiteral("めもちょーをひらく"));
        addRow("line ending in !", QStringLiteral("がんばろう!"), QStringLiteral("がんばろう"));
        addRow("wave dash, not the tilde key", QStringLiteral("よろしく～"), QStringLiteral("よろしく"));
        addRow("sentences", QStringLiteral("雨です。でも、行きます"), QStringLiteral("あめです、でも、いきます"));
        addRow("year after a number", QStringLiteral("2026年に"), QStringLiteral("にせんにじゅうろくねんに"));
        addRow("people after a number", QStringLiteral("３人"), QStringLiteral("さんにん"));
        addRow("month after a number", QStringLiteral("5月です"), QStringLiteral("ごがつです"));
        addRow("English word spelled", QStringLiteral("ＡＢＣの歌"), QStringLiteral("えーびーしーのうた"));
        // MeCab's wrong choices, corrected in context.
        addRow("木 in 木の下", QStringLiteral("大きな木の下で休む。"), QStringLiteral("おーきなきのしたでやすむ"));
        addRow("木 in 木の上", QStringLiteral("木の上にとり"), QStringLiteral("きのうえにとり"));
        addRow("何時 in 何時に", QStringLiteral("何時に来るの"), QStringLiteral("なんじにくるの"));
        addRow("何時 in 何時間", QStringLiteral("何時間も"), QStringLiteral("なんじかんも"));
        addRow("何時 elsewhere", QStringLiteral("今何時？"), QStringLiteral("いまなんじ"));
        addRow("行 the noun", QStringLiteral("次の行は"), QStringLiteral("つぎのぎょうわ"));
        // A correction covers whole words of MeCab's only, never part of one.
        addRow("木の下 inside 並木の下", QStringLiteral("並木の下"), QStringLiteral("なみきのした"));
        addRow("行は inside 銀行は", QStringLiteral("銀行は"), QStringLiteral("ぎんこーわ"));
        addRow("行 of 行く", QStringLiteral("行くのは"), QStringLiteral("いくのわ"));

        // The typing window's captions, menus and messages: counters and English words.
        const hoshi::TypingProfile &typing = hoshi::TypingProfile::japanese();
        addRow("opening caption", typing.openingCaption, QStringLiteral("おーよーにほんごにゅーりょく さんぷん"));
        addRow("one-minute caption", typing.limitCaptions[0], QStringLiteral("おーよーにほんごにゅーりょく いっぷん"));
        addRow("five-minute caption", typing.limitCaptions[2], QStringLiteral("おーよーにほんごにゅーりょく ごふん"));
        addRow("menu 1分間", QStringLiteral("1分間"), QStringLiteral("いっぷんかん"));
        addRow("menu 3分間", QStringLiteral("3分間"), QStringLiteral("さんぷんかん"));
        addRow("menu 5分間", QStringLiteral("5分間"), QStringLiteral("ごふんかん"));
        addRow("menu exit of the launcher", QStringLiteral("終了(X or Escape)"),
               QStringLiteral("しゅーりょーえっくす おあ えすけーぷ"));
        addRow("menu exit of the alphabet drill", QStringLiteral("終了(X )"), QStringLiteral("しゅーりょーえっくす"));
        addRow("more lines", typing.moreLinesMessage,
               QStringLiteral("このふぁいるわひゃくいちぎょうよりながいので、はじめのひゃくいちぎょうだけをれんしゅーにつかいます"));
        addRow("line cut", typing.lineCutMessage,
               QStringLiteral("とてもながいぎょうがあったので、そのぎょうわはじめのぶぶんだけをつかいます"));
        addRow("unreadable characters", typing.unreadableMessage,
               QStringLiteral("このふぁいるにわよめないもじがありました、そのもじわただしくでません、"
                              "ゆーてぃーえふ はち でほぞんしなおすと、すべてよめます"));
        addRow("sample file name", typing.entryAnnouncement(QStringLiteral("1 ひらがなの ことば.txt"), false),
               QStringLiteral("いち ひらがなの ことば、てきすと"));
        addRow("sample folder name", typing.entryAnnouncement(QStringLiteral("japanese"), true),
               QStringLiteral("じゃぱにーず ふぉるだー"));

        // The version box: name, version, copyright, licence.
        addRow("version message", hoshi::versionMessage(),
               QStringLiteral("ほしのたまご、ばーじょん%1、こぴーらいと にせんにじゅうろく ほしのたまごのかいはつしゃたち "
                              "ぐぬー じーぴーえる ばーじょんさんいこー じーぴーえる さんてんぜろ おあ れいたー "
                              "のじゆーなそふとうぇあ、むほしょー")
                   .arg(m_reader.reading(hoshi::versionNumber())));
        addRow("launcher title", QStringLiteral("ほしのたまご Ver.２   "), QStringLiteral("ほしのたまご ばーじょんに"));
    }

    void announced_texts_read_as_a_child_hears_them()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void numbers_read_as_japanese_numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        addRow("0", QStringLiteral("0"), QStringLiteral("ぜろ"));
        addRow("10", QStringLiteral("10"), QStringLiteral("じゅう"));
        addRow("11", QStringLiteral("11"), QStringLiteral("じゅういち"));
        addRow("101", QStringLiteral("101"), QStringLiteral("ひゃくいち"));
        addRow("300", QStringLiteral("300"), QStringLiteral("さんびゃく"));
        addRow("600", QStringLiteral("600"), QStringLiteral("ろっぴゃく"));
        addRow("800", QStringLiteral("800"), QStringLiteral("はっぴゃく"));
        addRow("1000", QStringLiteral("1000"), QStringLiteral("せん"));
        addRow("3000", QStringLiteral("3000"), QStringLiteral("さんぜん"));
        addRow("8000", QStringLiteral("8000"), QStringLiteral("はっせん"));
        addRow("2026", QStringLiteral("2026"), QStringLiteral("にせんにじゅうろく"));
        addRow("full-width 2026", QStringLiteral("２０２６"), QStringLiteral("にせんにじゅうろく"));
        addRow("10000", QStringLiteral("10000"), QStringLiteral("いちまん"));
        addRow("10004", QStringLiteral("10004"), QStringLiteral("いちまんよん"));
        addRow("99999", QStringLiteral("99999"), QStringLiteral("きゅうまんきゅうせんきゅうひゃくきゅうじゅうきゅう"));
        addRow("100000", QStringLiteral("100000"), QStringLiteral("じゅうまん"));
        addRow("10000000", QStringLiteral("10000000"), QStringLiteral("いっせんまん"));
        addRow("123456789", QStringLiteral("123456789"),
               QStringLiteral("いちおくにせんさんびゃくよんじゅうごまんろくせんななひゃくはちじゅうきゅう"));
        addRow("thirteen digits, one by one", QStringLiteral("1234567890123"),
               QStringLiteral("いちにさんよんごろくななはちきゅうぜろいちにさん"));
        addRow("leading zero, one by one", QStringLiteral("007"), QStringLiteral("ぜろぜろなな"));
        addRow("thousands separators", QStringLiteral("1,000,000"), QStringLiteral("ひゃくまん"));
        addRow("decimal point", QStringLiteral("3.14"), QStringLiteral("さんてんいちよん"));
        addRow("negative", QStringLiteral("-12"), QStringLiteral("まいなす じゅうに"));
        addRow("minus sign", QStringLiteral("−5"), QStringLiteral("まいなす ご"));
        addRow("yen mark before a number", QStringLiteral("¥100"), QStringLiteral("えんまーくひゃく"));
    }

    void numbers_read_as_japanese_numbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void numbers_with_counters_read_as_a_child_says_them_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        // 分: ぷん after 1, 3, 4, 6, 8 and round tens, hundreds, thousands.
        const std::pair<const char *, const char *> minutes[]{
            {"1分", "いっぷん"}, {"2分", "にふん"}, {"3分", "さんぷん"}, {"4分", "よんぷん"}, {"5分", "ごふん"},
            {"6分", "ろっぷん"}, {"7分", "ななふん"}, {"8分", "はっぷん"}, {"9分", "きゅうふん"}, {"10分", "じゅっぷん"},
            {"11分", "じゅういっぷん"}, {"16分", "じゅうろっぷん"}, {"20分", "にじゅっぷん"}, {"30分", "さんじゅっぷん"},
            {"60分", "ろくじゅっぷん"}, {"100分", "ひゃっぷん"}, {"300分", "さんびゃっぷん"}, {"1000分", "せんぷん"},
            {"１分", "いっぷん"}, {"３分", "さんぷん"}, {"1分間", "いっぷんかん"}, {"10分間", "じゅっぷんかん"},
            {"5分後に", "ごふんごに"}};
        // The other counters, each with its changed forms and one unchanged.
        const std::pair<const char *, const char *> others[]{
            {"1本", "いっぽん"}, {"2本", "にほん"}, {"3本", "さんぼん"}, {"4本", "よんほん"}, {"6本", "ろっぽん"},
            {"8本", "はっぽん"}, {"10本", "じゅっぽん"}, {"300本", "さんびゃっぽん"}, {"600本", "ろっぴゃっぽん"},
            {"1000本", "せんぼん"}, {"3000本", "さんぜんぼん"}, {"20000本", "にまんぼん"},
            {"1匹", "いっぴき"}, {"3匹", "さんびき"}, {"6匹", "ろっぴき"}, {"9匹", "きゅうひき"}, {"10匹", "じゅっぴき"},
            {"1杯", "いっぱい"}, {"3杯", "さんばい"}, {"1歩", "いっぽ"}, {"3歩", "さんぽ"},
            {"1回", "いっかい"}, {"3回", "さんかい"}, {"6回", "ろっかい"}, {"8回", "はっかい"}, {"10回", "じゅっかい"},
            {"3回目", "さんかいめ"},
            {"1階", "いっかい"}, {"3階", "さんがい"}, {"4階", "よんかい"},
            {"1個", "いっこ"}, {"5個", "ごこ"}, {"6個", "ろっこ"}, {"8個", "はっこ"}, {"10個", "じゅっこ"},
            {"1歳", "いっさい"}, {"6歳", "ろくさい"}, {"8歳", "はっさい"}, {"10歳", "じゅっさい"}, {"20歳", "はたち"},
            {"120歳", "ひゃくにじゅっさい"}, {"1冊", "いっさつ"},
            {"1点", "いってん"}, {"6点", "ろくてん"}, {"8点", "はってん"}, {"10点", "じゅってん"}, {"100点", "ひゃくてん"},
            {"4円", "よえん"}, {"9円", "きゅうえん"}, {"14円", "じゅうよえん"}, {"100円", "ひゃくえん"},
            {"1,000円", "せんえん"},
            {"3枚", "さんまい"}, {"1台", "いちだい"}, {"4秒", "よんびょう"}, {"30秒", "さんじゅうびょう"},
            {"7問", "ななもん"}, {"1文字", "いちもじ"}, {"1行", "いちぎょう"}, {"4行", "よんぎょう"},
            {"101行", "ひゃくいちぎょう"}, {"1番", "いちばん"}, {"1度", "いちど"},
            {"1人", "ひとり"}, {"2人", "ふたり"}, {"3人", "さんにん"}, {"4人", "よにん"}, {"7人", "ななにん"},
            {"11人", "じゅういちにん"}, {"14人", "じゅうよにん"}, {"2人とも", "ふたりとも"},
            {"1日", "いちにち"}, {"2日", "ふつか"}, {"3日", "みっか"}, {"4日", "よっか"}, {"5日", "いつか"},
            {"6日", "むいか"}, {"7日", "なのか"}, {"8日", "ようか"}, {"9日", "ここのか"}, {"10日", "とおか"},
            {"11日", "じゅういちにち"}, {"14日", "じゅうよっか"}, {"20日", "はつか"}, {"24日", "にじゅうよっか"},
            {"3日間", "みっかかん"}, {"3日後", "みっかご"}, {"1週間", "いっしゅうかん"},
            {"3時", "さんじ"}, {"4時", "よじ"}, {"7時", "しちじ"}, {"9時", "くじ"}, {"4時間", "よじかん"},
            {"4時半", "よじはん"}, {"4月", "しがつ"}, {"5月", "ごがつ"}, {"9月", "くがつ"},
            {"4年", "よねん"}, {"4年生", "よねんせい"}, {"1年間", "いちねんかん"},
            {"1つ", "ひとつ"}, {"3つ", "みっつ"}, {"10つ", "とお"}};
        // Where no counter is read: MeCab's longer word, a fraction, digits one by one, no counter.
        const std::pair<const char *, const char *> unchanged[]{
            {"3分の1", "さんぶんのいち"}, {"1日本", "いちにっぽん"}, {"3.5分", "さんてんごふん"},
            {"007分", "ぜろぜろななふん"}, {"得点 -3", "とくてん まいなす さん"}, {"-3点", "まいなす さんてん"},
            {"得点 120", "とくてん ひゃくにじゅう"}, {"TIME 60", "たいむ ろくじゅう"}, {"3 分", "さん ぶん"}};
        using Rows = std::span<const std::pair<const char *, const char *>>;
        for (const Rows group : {Rows(minutes), Rows(others), Rows(unchanged)}) {
            for (const auto &[text, reading] : group)
                addRow(text, QString::fromUtf8(text), QString::fromUtf8(reading));
        }
    }

    void numbers_with_counters_read_as_a_child_says_them()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void letters_read_by_name_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        addRow("C", QStringLiteral("C"), QStringLiteral("しー"));
        addRow("D", QStringLiteral("D"), QStringLiteral("でぃー"));
        addRow("V", QStringLiteral("V"), QStringLiteral("ぶい"));
        addRow("X", QStringLiteral("X"), QStringLiteral("えっくす"));
        addRow("Y", QStringLiteral("y"), QStringLiteral("わい"));
        addRow("Z", QStringLiteral("ｚ"), QStringLiteral("ぜっと"));
        addRow("letter before a digit", QStringLiteral("F1"), QStringLiteral("えふいち"));
        addRow("key word before kana", QStringLiteral("Tabキー"), QStringLiteral("たぶきー"));
        // Table words match whole words only, not the start of a longer one;
        // a word the table does not know is spelled.
        addRow("longer English word", QStringLiteral("Table"), QStringLiteral("てぃーえーびーえるいー"));
        addRow("capitals not in the table", QStringLiteral("ABC"), QStringLiteral("えーびーしー"));
        addRow("word in a Japanese line", QStringLiteral("今日はpenを買う"), QStringLiteral("きょーわぴーいーえぬをかう"));
        addRow("OK", QStringLiteral("OK"), QStringLiteral("おーけー"));
        // The English words of our own texts.
        addRow("Copyright", QStringLiteral("Copyright (C) 2026"), QStringLiteral("こぴーらいと にせんにじゅうろく"));
        addRow("(C) elsewhere", QStringLiteral("(A)(B)(C)"), QStringLiteral("えーびーしー"));
        addRow("GNU GPL", QStringLiteral("GNU GPL"), QStringLiteral("ぐぬー じーぴーえる"));
        addRow("licence name", QStringLiteral("GPL-3.0-or-later"), QStringLiteral("じーぴーえる さんてんぜろ おあ れいたー"));
        addRow("file ending", QStringLiteral("ことば.txt"), QStringLiteral("ことば、てきすと"));
        addRow("version", QStringLiteral("Ver.2"), QStringLiteral("ばーじょんに"));
        addRow("encoding name", QStringLiteral("UTF-8"), QStringLiteral("ゆーてぃーえふ はち"));
        // A hyphen joining words is a blank, between numbers a minus, alone its name.
        addRow("hyphen between letters", QStringLiteral("A-Z"), QStringLiteral("えー ぜっと"));
        addRow("hyphen between numbers", QStringLiteral("3-1"), QStringLiteral("さんまいなすいち"));
        addRow("hyphen before a number", QStringLiteral("ひく-1"), QStringLiteral("ひくまいなす いち"));
        addRow("hyphen at the end", QStringLiteral("A-"), QStringLiteral("えーまいなす"));
    }

    void letters_read_by_name()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void every_letter_has_one_name_in_every_form()
    {
        // Action: read each letter capital, small, full-width capital and full-width small.
        // Expected: the same kana name in all four forms, and 26 different names.
        QStringList names;
        for (int i = 0; i < 26; ++i) {
            const QString capital(QChar(char16_t(u'A' + i)));
            const QString name = m_reader.reading(capital);
            QVERIFY2(flawIn(name).isEmpty() && !name.isEmpty(), qPrintable(capital));
            for (const char16_t other : {char16_t(u'a' + i), char16_t(0xFF21 + i), char16_t(0xFF41 + i)})
                QCOMPARE(m_reader.reading(QString(QChar(other))), name);
            names << name;
        }
        names.removeDuplicates();
        QCOMPARE(names.size(), 26);
    }

    void every_text_of_the_program_reads_as_kana()
    {
        // State: the real key catalogue, finger steps, drill tables and typing texts.
        Texts texts = catalogueTexts();
        for (Texts more : {fingerAndDrillTexts(), typingTexts(), versionAndSampleTexts()})
            texts.insert(texts.end(), more.begin(), more.end());
        QVERIFY(texts.size() > 400);
        // Expected: nothing but hiragana, ー and pauses: no kanji, Latin letter or mark left.
        for (const auto &[where, text] : texts) {
            const QString reading = m_reader.reading(text);
            const QString flaw = reading.isEmpty() ? QStringLiteral("empty") : flawIn(reading);
            QVERIFY2(flaw.isEmpty(), qPrintable(QStringLiteral("%1: \"%2\" -> \"%3\": %4").arg(where, text, reading, flaw)));
        }
    }

    void finger_steps_name_their_finger_and_key()
    {
        // Each step's reading is heard on the step and its key alone on a wrong key:
        // the reading is the finger label's words followed by the key's name.
        for (const hoshi::FingerStep &step : hoshi::fingerSteps()) {
            const QString reading = m_reader.reading(step.reading);
            const QString finger = m_reader.reading(step.fingerLabel).remove(u' ');
            const QString key = m_reader.reading(step.key);
            QVERIFY2(reading == finger + key,
                     qPrintable(QStringLiteral("%1: %2 is not %3 + %4").arg(step.key, reading, finger, key)));
        }
    }

    void drill_run_announces_what_the_reader_can_say()
    {
        // State: the alphabet drill, whose first target is F.
        hoshi::testing::RecordingServices services;
        hoshi::testing::ScriptedRandom random({0});
        hoshi::DrillEngine drill(hoshi::alphabetDrillProfile(), services, services, random);
        drill.load();
        drill.start();
        // Action: three wrong keys, then the whole 30 seconds.
        for (const char typed : {'q', 'w', 'e'})
            drill.keyPress(typed);
        for (int second = 0; second < 30; ++second)
            drill.tick();
        // Expected: the score said last is minus three; every announcement and label reads as kana.
        const QStringList said = services.announcements();
        QVERIFY(!said.isEmpty());
        QCOMPARE(m_reader.reading(said.last()), QStringLiteral("とくてん まいなす さん"));
        QCOMPARE(m_reader.reading(drill.view().batsuText()), QStringLiteral("ばつ さん"));
        QCOMPARE(m_reader.reading(drill.view().timeText()), QStringLiteral("たいむ ぜろ"));
        const hoshi::DrillView &view = drill.view();
        for (const QString &text : said + QStringList{view.fingerText, view.maruText(), view.startCaption})
            QVERIFY2(flawIn(m_reader.reading(text)).isEmpty(), qPrintable(text));
    }

    void typing_run_ends_with_what_the_reader_can_say()
    {
        // State: the Japanese typing window without a practice file.
        hoshi::testing::RecordingServices services;
        hoshi::testing::ScriptedRandom random;
        hoshi::TypingExercise exercise(hoshi::TypingProfile::japanese(), services, services, random);
        // Action: let the three minutes run out.
        for (int second = 0; second < 180; ++second)
            exercise.tick();
        // Expected: "おしまい  RESET!" and the score, read as kana.
        QStringList readings;
        for (const QString &text : services.announcements())
            readings << m_reader.reading(text);
        QCOMPARE(readings, (QStringList{QStringLiteral("おしまい りせっと"), QStringLiteral("とくてん まいなす いち")}));
        QCOMPARE(m_reader.reading(exercise.state().maruLabel()), QStringLiteral("まる ぜろ"));
    }

    void sample_lines_read_as_checked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        QVERIFY2(sampleFiles().size() >= 3, qPrintable(japaneseSamples().path()));
        for (const QString &file : sampleFiles()) {
            const QStringList lines = sampleLines(file);
            QVERIFY2(!lines.isEmpty(), qPrintable(file));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const auto checked = std::find_if(std::begin(SampleLineReadings), std::end(SampleLineReadings),
                                                  [&](const Checked &c) { return c.line == lines[i]; });
                const QString reading = checked == std::end(SampleLineReadings)
                    ? QStringLiteral("(no checked reading yet)")
                    : checked->reading.toString();
                QTest::addRow("%s:%d", qPrintable(file), int(i + 1)) << lines[i] << reading;
            }
        }
    }

    void sample_lines_read_as_checked()
    {
        // Expected: each line of the shipped samples reads as the child must hear it.
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void missing_dictionary_keeps_kanji_and_says_so_once()
    {
        QTemporaryDir emptyFolder;
        QVERIFY(emptyFolder.isValid());
        for (const QString &folder : {emptyFolder.filePath(QStringLiteral("none")), emptyFolder.path()}) {
            static QStringList messages;
            messages.clear();
            const QtMessageHandler previous = qInstallMessageHandler(
                [](QtMsgType, const QMessageLogContext &, const QString &message) { messages << message; });
            // State: a reader given a folder that is missing, or holds no dictionary.
            QStringList readings;
            {
                const KanaReader reader(folder);
                // Expected: nothing loads (and so nothing is said) before the first reading.
                const qsizetype beforeUse = messages.size();
                readings << reader.reading(QStringLiteral("今日は学校へ行きます。"))
                         << reader.reading(launcherAnnouncement(3, QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦")))
                         << reader.reading(QStringLiteral("得点 -3"))
                         << reader.reading(QStringLiteral("３分で１本"));
                readings << (reader.readsKanji() ? QStringLiteral("reads kanji") : QStringLiteral("no kanji"));
                QCOMPARE(beforeUse, 0);
            }
            qInstallMessageHandler(previous);
            // Expected: kanji kept, the rest read as usual, one one-line message in both languages.
            QCOMPARE(readings, (QStringList{QStringLiteral("今日は学校へ行きます"),
                                            QStringLiteral("さん、あるふぁべっとに挑戦"),
                                            QStringLiteral("得点 まいなす さん"), QStringLiteral("さんぷんでいっぽん"),
                                            QStringLiteral("no kanji")}));
            QCOMPARE(messages.size(), 1);
            QVERIFY(!messages.front().contains(u'\n'));
            QVERIFY(messages.front().contains(QStringLiteral("辞書")));
            QVERIFY(messages.front().contains(QStringLiteral("dictionary")));
            QVERIFY(messages.front().contains(folder));
        }
    }

    void unspeakable_input_is_dropped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        addRow("empty", QString(), QString());
        addRow("blanks only", QStringLiteral("  \t　 "), QString());
        addRow("control characters", QStringLiteral("\x01\x07か\x1b\x7fき"), QStringLiteral("かき"));
        addRow("NUL inside", QString::fromUtf16(u"か\u0000き", 3), QStringLiteral("かき"));
        addRow("lone high surrogate", QString::fromUtf16(u"か\xD800き", 3), QStringLiteral("かき"));
        addRow("lone low surrogate", QString::fromUtf16(u"か\xDC00き", 3), QStringLiteral("かき"));
        addRow("surrogates reversed", QString::fromUtf16(u"\xDC00\xD800", 2), QString());
        addRow("format characters", QStringLiteral("\uFEFFか\u200Bき\u202E"), QStringLiteral("かき"));
        addRow("private use and noncharacter", QStringLiteral("\uE000か\uFFFF"), QStringLiteral("か"));
        addRow("emoji", QStringLiteral("👍"), QString());
        addRow("lone CR", QStringLiteral("か\rき"), QStringLiteral("か、き"));
        addRow("blank lines", QStringLiteral("か\r\n\r\n\nき\r\n"), QStringLiteral("か、き"));
        addRow("punctuation only", QStringLiteral("!?。、…"), QString());
        addRow("a mark between blanks", QStringLiteral("   ○   "), QStringLiteral("まる"));
    }

    void unspeakable_input_is_dropped()
    {
        QFETCH(QString, text);
        QFETCH(QString, reading);
        QCOMPARE(m_reader.reading(text), reading);
    }

    void long_and_random_lines_come_back_whole()
    {
        const qsizetype length = 10000;
        // Expected: long runs cut into pieces for MeCab lose and double nothing.
        QCOMPARE(m_reader.reading(QString(length, u'ア')), QString(length, u'あ'));
        QCOMPARE(m_reader.reading(QStringLiteral("9").repeated(length)), QStringLiteral("きゅう").repeated(length));
        QCOMPARE(m_reader.reading(QStringLiteral("-").repeated(length)), QStringLiteral("まいなす").repeated(length));
        QCOMPARE(m_reader.reading(QStringLiteral("\r\n").repeated(length)), QString());
        const QString kanji = m_reader.reading(QStringLiteral("今日は学校へ行きます。").repeated(length / 11));
        QVERIFY2(flawIn(kanji).isEmpty(), qPrintable(flawIn(kanji)));
        QVERIFY(kanji.startsWith(QStringLiteral("きょーわがっこーえいきます、きょーわ")));
        // Random UTF-16, surrogates and all: whatever comes back is well formed.
        QRandomGenerator random(20260101);
        for (int round = 0; round < 8; ++round) {
            QString line;
            for (qsizetype i = 0; i < length; ++i)
                line += QChar(char16_t(round % 2 ? random.bounded(0x10000) : random.bounded(0x3000, 0x3100)));
            const QString reading = m_reader.reading(line);
            QVERIFY2(malformationIn(reading).isEmpty(), qPrintable(malformationIn(reading)));
        }
    }

    void readers_on_several_threads_agree()
    {
        // State: the same texts read on the test thread first.
        const QStringList texts{QStringLiteral("今日は学校へ行きます。"), QStringLiteral("ひだり小ゆびＡ"),
                                QStringLiteral("得点 -3"), launcherAnnouncement(5, QStringLiteral("応用日本語入力")),
                                QStringLiteral("私の名前は山田です。")};
        QStringList expected;
        for (const QString &text : texts)
            expected << m_reader.reading(text);
        // Action: four threads read them over and over through one reader.
        std::atomic<int> mismatches{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                for (int round = 0; round < 3000; ++round) {
                    const int i = (round + t) % int(texts.size());
                    mismatches += m_reader.reading(texts[i]) != expected[i];
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        // Expected: every reading equals the one read alone.
        QCOMPARE(mismatches.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestKanaReading)
#include "test_kana_reading.moc"
