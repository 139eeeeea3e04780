// SPDX-License-Identifier: GPL-3.0-or-later
// The records window's queries: each reads a few rows through an index or the
// keys' running totals, so a window over 100,000 runs opens as quickly as
// over ten.
#include "records/record_store.h"

#include <QSqlQuery>
#include <QVariant>

namespace hoshi {

namespace {

QSqlQuery prepared(const QString &connection, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    query.exec();
    return query;
}

RunRow rowFrom(const QSqlQuery &query)
{
    return {QDateTime::fromString(query.value(0).toString(), Qt::ISODate), query.value(1).toInt(),
            query.value(2).toDouble(), query.value(3).toDouble(), query.value(4).toBool()};
}

const QString RowColumns = QStringLiteral("started, score, chars_per_minute, accuracy, cut_short");

} // namespace

RecordsSummary RecordStore::summary(const SummaryLimits &limits)
{
    RecordsSummary summary;
    if (!m_open)
        return summary;
    QSqlQuery modes(QSqlDatabase::database(m_connection, false));
    modes.exec(QStringLiteral("SELECT DISTINCT mode FROM runs"));
    while (modes.next())
        summary.modes.push_back(modeSummary(modes.value(0).toString(), limits));
    return summary;
}

ModeSummary RecordStore::modeSummary(const QString &mode, const SummaryLimits &limits)
{
    ModeSummary result;
    result.mode = mode;
    QSqlQuery count = prepared(m_connection, QStringLiteral("SELECT COUNT(*) FROM runs WHERE mode = ?"), {mode});
    if (count.next())
        result.runCount = count.value(0).toInt();
    QSqlQuery best = prepared(m_connection,
                              QStringLiteral("SELECT MAX(score) FROM runs WHERE mode = ? AND cut_short = 0"), {mode});
    if (best.next() && !best.value(0).isNull())
        result.best = best.value(0).toInt();
    QSqlQuery last = prepared(m_connection,
                              QStringLiteral("SELECT %1 FROM runs WHERE mode = ? ORDER BY started DESC, id DESC LIMIT ?")
                                  .arg(RowColumns),
                              {mode, limits.lastRuns});
    while (last.next())
        result.lastRuns.push_back(rowFrom(last));
    result.days = lastDays(mode, limits.days);
    QSqlQuery keys = prepared(m_connection,
                              QStringLiteral("SELECT key, count FROM missed_totals WHERE mode = ? AND count > 0"
                                             " ORDER BY count DESC, key"),
                              {mode});
    while (keys.next())
        result.weakKeys.emplace_back(keys.value(0).toString(), keys.value(1).toInt());
    return result;
}

// Newest first through the (mode, started) index, until a day past the last `days`.
std::vector<DayPoint> RecordStore::lastDays(const QString &mode, int days)
{
    std::vector<DayPoint> points;
    QSqlQuery runs = prepared(
        m_connection,
        QStringLiteral("SELECT %1 FROM runs WHERE mode = ? AND cut_short = 0 ORDER BY started DESC").arg(RowColumns),
        {mode});
    while (runs.next()) {
        countDay(points, rowFrom(runs));
        if (points.size() > std::size_t(days)) {
            points.erase(points.begin());
            break;
        }
    }
    return points;
}

} // namespace hoshi
