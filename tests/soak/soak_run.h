#pragma once
// A soak run: a seeded stream of random events fed to one behaviour class,
// with its invariants checked after every event. A broken invariant throws a
// SoakFailure that names the seed, the event index and the last events, so
// the run can be replayed exactly (HOSHI_SOAK_SEED, HOSHI_SOAK_EVENTS).

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>

namespace hoshi::soak {

struct SoakFailure {
    QString message;
};

class SoakRun {
public:
    static constexpr int DefaultEvents = 100000;

    /// The seed and the number of events come from the environment when set.
    SoakRun(QString name, std::uint32_t defaultSeed)
        : m_name(std::move(name))
        , m_seed(fromEnvironment("HOSHI_SOAK_SEED", defaultSeed))
        , m_events(static_cast<int>(fromEnvironment("HOSHI_SOAK_EVENTS", DefaultEvents)))
        , m_engine(m_seed)
    {
        qInfo("soak %s: seed %u, %d events", qPrintable(m_name), m_seed, m_events);
    }

    std::uint32_t seed() const { return m_seed; }
    int eventCount() const { return m_events; }

    /// Uniform in [0, count).
    int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_engine); }
    /// Uniform in [low, high].
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    /// True with the given chance in percent.
    bool percent(int chance) { return below(100) < chance; }
    template <typename T, std::size_t N>
    T pick(const T (&choices)[N]) { return choices[below(static_cast<int>(N))]; }

    /// The event about to be applied; kept for the failure report.
    void begin(int index, const QString &description)
    {
        m_index = index;
        m_recent.push_back(QStringLiteral("#%1 %2").arg(index).arg(description));
        if (m_recent.size() > RecentKept)
            m_recent.pop_front();
    }

    void require(bool ok, const char *what) const
    {
        if (!ok)
            fail(QString::fromUtf8(what));
    }
    void requireEqual(const QString &actual, const QString &expected, const char *what) const
    {
        if (actual != expected)
            fail(QStringLiteral("%1: '%2', expected '%3'").arg(QString::fromUtf8(what), shown(actual), shown(expected)));
    }
    void requireEqual(long long actual, long long expected, const char *what) const
    {
        if (actual != expected)
            fail(QStringLiteral("%1: %2, expected %3").arg(QString::fromUtf8(what)).arg(actual).arg(expected));
    }

    /// Counts what the run went through, so the test can show it covered the states.
    void count(const char *what) { ++m_tally[std::string(what)]; }
    int counted(const char *what) const
    {
        const auto found = m_tally.find(std::string(what));
        return found == m_tally.end() ? 0 : found->second;
    }
    void printTally() const
    {
        QStringList parts;
        for (const auto &[what, n] : m_tally)
            parts << QStringLiteral("%1 %2").arg(QString::fromStdString(what)).arg(n);
        qInfo("soak %s: %s", qPrintable(m_name), qPrintable(parts.join(QStringLiteral(", "))));
    }

private:
    static constexpr std::size_t RecentKept = 12;

    static std::uint32_t fromEnvironment(const char *variable, std::uint32_t fallback)
    {
        bool ok = false;
        const std::uint32_t value = qEnvironmentVariable(variable).toUInt(&ok);
        return ok ? value : fallback;
    }

    // Control characters and very long texts are shown escaped and cut.
    static QString shown(QString text)
    {
        if (text.size() > 80)
            text = text.left(80) + QStringLiteral("...(%1 chars)").arg(text.size());
        return text.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    }

    [[noreturn]] void fail(const QString &what) const
    {
        QString message = QStringLiteral("soak %1, seed %2, event %3: %4\nlast events:\n  ")
                              .arg(m_name).arg(m_seed).arg(m_index).arg(what);
        message += QStringList(m_recent.begin(), m_recent.end()).join(QStringLiteral("\n  "));
        message += QStringLiteral("\nreplay: HOSHI_SOAK_SEED=%1 HOSHI_SOAK_EVENTS=%2").arg(m_seed).arg(m_index + 1);
        throw SoakFailure{message};
    }

    QString m_name;
    std::uint32_t m_seed;
    int m_events;
    std::mt19937 m_engine;
    int m_index = -1;
    std::deque<QString> m_recent;
    std::map<std::string, int> m_tally;
};

} // namespace hoshi::soak
