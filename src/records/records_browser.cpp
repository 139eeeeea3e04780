// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_browser.h"

#include "platform/api/interfaces.h"
#include "platform/api/key_codes.h"
#include "platform/api/text_forms.h"

#include <algorithm>

namespace hoshi {

namespace {

// The launcher's order.
const QStringList ModeOrder{QStringLiteral("frmYubiren"), QStringLiteral("frmYubiren2"),
                            QStringLiteral("frmYubiren3"), QStringLiteral("frmJapanese"),
                            QStringLiteral("frmEnglish")};

constexpr int WeakKeysSaid = 5;

QString points(int score)
{
    return (score < 0 ? QStringLiteral("マイナス") : QString()) + fullWidthDigits(std::abs(score))
           + QStringLiteral("てん");
}

QString runRow(const RunRow &run, bool typing)
{
    QString text = QStringLiteral("%1月%2日 %3時%4分 %5")
                       .arg(fullWidthDigits(run.started.date().month()), fullWidthDigits(run.started.date().day()),
                            fullWidthDigits(run.started.time().hour()), fullWidthDigits(run.started.time().minute()),
                            points(run.score));
    if (typing)
        text += QStringLiteral(" １ぷんに %1もじ せいかく %2パーセント")
                    .arg(fullWidthDigits(qRound(run.charsPerMinute)), fullWidthDigits(qRound(run.accuracy * 100)));
    if (run.cutShort)
        text += QStringLiteral(" とちゅうで おわり");
    return text;
}

} // namespace

RecordsBrowser::RecordsBrowser(Announcer &announcer)
    : m_announcer(announcer)
{
}

QString RecordsBrowser::modeCaption(const QString &mode)
{
    static const QStringList captions{QStringLiteral("どの指使うの"), QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦"),
                                      QStringLiteral("記号と数字も登場"), QStringLiteral("応用日本語入力"),
                                      QStringLiteral("応用英語入力")};
    const qsizetype at = ModeOrder.indexOf(mode);
    return at < 0 ? mode : captions[at];
}

QString RecordsBrowser::weakKeysText(const ModeSummary &mode)
{
    if (mode.weakKeys.empty())
        return QStringLiteral("にがてな キーは まだ ないよ");
    QStringList keys;
    for (const auto &[key, count] : mode.weakKeys) {
        if (keys.size() == WeakKeysSaid)
            break;
        keys << key;
    }
    return QStringLiteral("にがてな キー: ") + keys.join(QStringLiteral("、"));
}

QString RecordsBrowser::notKeptText()
{
    return QStringLiteral("きろくは とらない せっていです");
}

void RecordsBrowser::open()
{
    start(State::Loading);
}

void RecordsBrowser::openWithoutRecords()
{
    start(State::NotKept);
}

void RecordsBrowser::start(State state)
{
    m_state = state;
    m_summary = {};
    m_mode = 0;
    m_row = 0;
    announceRow();
}

void RecordsBrowser::show(const RecordsSummary &summary, bool quietly)
{
    m_summary = summary;
    std::sort(m_summary.modes.begin(), m_summary.modes.end(), [](const ModeSummary &a, const ModeSummary &b) {
        return ModeOrder.indexOf(a.mode) < ModeOrder.indexOf(b.mode);
    });
    m_state = State::Loaded;
    m_mode = 0;
    m_row = 0;
    if (!quietly)
        announceRow();
}

const ModeSummary *RecordsBrowser::mode() const
{
    if (m_summary.modes.empty())
        return nullptr;
    return &m_summary.modes[static_cast<std::size_t>(m_mode)];
}

QStringList RecordsBrowser::rows() const
{
    if (m_state == State::Loading)
        return {QStringLiteral("よみこみちゅう")};
    if (m_state == State::NotKept)
        return {notKeptText()};
    const ModeSummary *shown = mode();
    if (!shown)
        return {QStringLiteral("まだ きろくが ないよ")};
    QStringList rows;
    rows << QStringLiteral("%1 さいこう %2 ぜんぶで %3かい")
                .arg(modeCaption(shown->mode), shown->best ? points(*shown->best) : QStringLiteral("なし"),
                     fullWidthDigits(shown->runCount));
    const bool typing = shown->mode == ModeOrder[3] || shown->mode == ModeOrder[4];
    if (!typing)
        rows << weakKeysText(*shown);
    for (const RunRow &run : shown->lastRuns)
        rows << runRow(run, typing);
    return rows;
}

RecordsBrowser::KeyResult RecordsBrowser::keyDown(int keyCode)
{
    switch (keyCode) {
    case VkEscape: return KeyResult::Close;
    case VkLeft: moveMode(-1); return KeyResult::Handled;
    case VkRight: moveMode(1); return KeyResult::Handled;
    case VkUp: moveRow(-1); return KeyResult::Handled;
    case VkDown: moveRow(1); return KeyResult::Handled;
    default: return KeyResult::None;
    }
}

void RecordsBrowser::moveMode(int step)
{
    const int count = static_cast<int>(m_summary.modes.size());
    if (!loaded() || count == 0)
        return;
    m_mode = (m_mode + step + count) % count;
    m_row = 0;
    announceRow();
}

void RecordsBrowser::moveRow(int step)
{
    if (!loaded())
        return;
    m_row = std::clamp(m_row + step, 0, static_cast<int>(rows().size()) - 1);
    announceRow();
}

void RecordsBrowser::announceRow()
{
    m_announcer.announce(rows().value(m_row));
}

} // namespace hoshi
