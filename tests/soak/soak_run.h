// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A soak run: the shared event scripts fed from a seeded generator for
// 100,000 events, their invariants checked after every one. A broken
// invariant fails the test with the seed and the event index, so the run can
// be replayed exactly (HOSHI_SOAK_SEED, HOSHI_SOAK_EVENTS).

#include "support/behaviour_scripts/script_input.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <random>
#include <string>

namespace hoshi::soak {

class SoakInput final : public scripts::ScriptInput {
public:
    static constexpr int DefaultEvents = 100000;

    /// The seed and the number of events come from the environment when set.
    SoakInput(QString name, std::uint32_t defaultSeed)
        : m_name(std::move(name))
        , m_seed(fromEnvironment("HOSHI_SOAK_SEED", defaultSeed))
        , m_events(static_cast<int>(fromEnvironment("HOSHI_SOAK_EVENTS", DefaultEvents)))
        , m_engine(m_seed)
    {
        qInfo("soak %s: seed %u, %d events", qPrintable(m_name), m_seed, m_events);
    }

    int between(int low, int high) override { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool flip() override { return between(0, 1) == 1; }
    std::string bytes(std::size_t length) override
    {
        std::string made(length, '\0');
        for (char &byte : made)
            byte = static_cast<char>(between(0, 255));
        return made;
    }
    std::string text(std::size_t maxLength) override { return bytes(static_cast<std::size_t>(between(0, static_cast<int>(maxLength)))); }

    /// Runs the script; false, with failure() saying what broke where, on a broken invariant.
    template <typename Script>
    bool run(Script script)
    {
        try {
            script();
        } catch (const scripts::InvariantBroken &broken) {
            m_failure = QStringLiteral("soak %1, seed %2, event %3: invariant broken: %4\nreplay: HOSHI_SOAK_SEED=%2 HOSHI_SOAK_EVENTS=%5")
                            .arg(m_name).arg(m_seed).arg(eventIndex()).arg(QString::fromUtf8(broken.what()))
                            .arg(eventIndex() + 1);
            return false;
        }
        QStringList parts;
        for (const auto &[what, n] : tally())
            parts << QStringLiteral("%1 %2").arg(QString::fromUtf8(what.data(), static_cast<qsizetype>(what.size()))).arg(n);
        qInfo("soak %s: %s", qPrintable(m_name), qPrintable(parts.join(QStringLiteral(", "))));
        return true;
    }
    const QString &failure() const { return m_failure; }

protected:
    bool hasMore(int eventIndex, bool) const override { return eventIndex < m_events; }

private:
    static std::uint32_t fromEnvironment(const char *variable, std::uint32_t fallback)
    {
        bool ok = false;
        const std::uint32_t value = qEnvironmentVariable(variable).toUInt(&ok);
        return ok ? value : fallback;
    }

    QString m_name;
    std::uint32_t m_seed;
    int m_events;
    std::mt19937 m_engine;
    QString m_failure;
};

} // namespace hoshi::soak

/// Runs one script on a soak input; a broken invariant fails the test with the seed and the event index.
#define HOSHI_SOAK(input, ...) QVERIFY2((input).run([&] { __VA_ARGS__; }), qPrintable((input).failure()))
