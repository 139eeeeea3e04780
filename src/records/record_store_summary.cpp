// SPDX-License-Identifier: GPL-3.0-or-later
// The records window's queries: each reads one mode's rows through the
// (mode, started) index, so a window over many runs opens quickly.
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

} // namespace

RecordsSummary RecordStore::summary(int lastRuns, int days, int weakKeys)
{
    RecordsSummary summary;
    if (!m_open)
        return summary;
    QSqlQuery modes(QSqlDatabase::database(m_connection, false));
    modes.exec(QStringLiteral("SELECT DISTINCT mode FROM runs"));
    while (modes.next())
        summary.modes.push_back(modeSummary(modes.value(0).toString(), lastRuns, days, weakKeys));
    return summary;
}

ModeSummary RecordStore::modeSummary(const QString &mode, int lastRuns, int days, int weakKeys)
{
    ModeSummary result;
    result.mode = mode;
    QSqlQuery totals = prepared(m_connection,
                                QStringLiteral("SELECT COUNT(*), MAX(CASE WHEN cut_short = 0 THEN score END)"
                                               " FROM runs WHERE mode = ?"),
                                {mode});
    if (totals.next()) {
        result.runCount = totals.value(0).toInt();
        if (!totals.value(1).isNull())
            result.best = totals.value(1).toInt();
    }
    QSqlQuery last = prepared(m_connection,
                              QStringLiteral("SELECT started, score, chars_per_minute, accuracy, cut_short FROM runs"
                                             " WHERE mode = ? ORDER BY started DESC, id DESC LIMIT ?"),
                              {mode, lastRuns});
    while (last.next()) {
        result.lastRuns.push_back({QDateTime::fromString(last.value(0).toString(), Qt::ISODate), last.value(1).toInt(),
                                   last.value(2).toDouble(), last.value(3).toDouble(), last.value(4).toBool()});
    }
    QSqlQuery byDay = prepared(m_connection,
                               QStringLiteral("SELECT * FROM (SELECT substr(started, 1, 10) AS day, MAX(score),"
                                              " AVG(chars_per_minute), AVG(accuracy) FROM runs WHERE mode = ?"
                                              " AND cut_short = 0 GROUP BY day ORDER BY day DESC LIMIT ?)"
                                              " ORDER BY day"),
                               {mode, days});
    while (byDay.next()) {
        result.days.push_back({QDate::fromString(byDay.value(0).toString(), Qt::ISODate), byDay.value(1).toInt(),
                               byDay.value(2).toDouble(), byDay.value(3).toDouble()});
    }
    QSqlQuery keys = prepared(m_connection,
                              QStringLiteral("SELECT k.key, SUM(k.count) AS n FROM missed_keys k JOIN runs r"
                                             " ON k.run_id = r.id WHERE r.mode = ? GROUP BY k.key"
                                             " ORDER BY n DESC, k.key LIMIT ?"),
                              {mode, weakKeys});
    while (keys.next())
        result.weakKeys.emplace_back(keys.value(0).toString(), keys.value(1).toInt());
    return result;
}

} // namespace hoshi
