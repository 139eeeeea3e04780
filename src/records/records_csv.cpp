// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/records_csv.h"

#include "records/record_store.h"

#include <QSaveFile>

namespace hoshi {

namespace {

QString quoted(QString field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r')))
        return field;
    return QLatin1Char('"') + field.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString missedKeys(const RunRecord &run)
{
    QStringList keys;
    for (const auto &[key, count] : run.missedKeys)
        keys << key + QLatin1Char('=') + QString::number(count);
    return keys.join(QLatin1Char(' '));
}

QStringList fieldsOf(const RunRecord &r)
{
    return {r.mode,
            r.started.toString(Qt::ISODate),
            QString::number(r.seconds),
            r.cutShort ? QStringLiteral("1") : QStringLiteral("0"),
            QString::number(r.hits),
            QString::number(r.misses),
            QString::number(r.score),
            QString::number(r.characters),
            QString::number(r.linesRight),
            QString::number(r.linesWrong),
            QString::number(r.charsPerMinute, 'f', 1),
            QString::number(r.accuracy, 'f', 3),
            r.practiceFile,
            missedKeys(r)};
}

} // namespace

QStringList csvHeader()
{
    return {QStringLiteral("mode"),       QStringLiteral("started"),     QStringLiteral("seconds"),
            QStringLiteral("cut_short"),  QStringLiteral("hits"),        QStringLiteral("misses"),
            QStringLiteral("score"),      QStringLiteral("characters"),  QStringLiteral("lines_right"),
            QStringLiteral("lines_wrong"), QStringLiteral("chars_per_minute"), QStringLiteral("accuracy"),
            QStringLiteral("practice_file"), QStringLiteral("missed_keys")};
}

QByteArray runsAsCsv(const std::vector<RunRecord> &runs)
{
    QString text = csvHeader().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const RunRecord &run : runs) {
        QStringList fields = fieldsOf(run);
        for (QString &field : fields)
            field = quoted(field);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QStringList csvFields(const QString &line)
{
    QStringList fields{QString()};
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes && c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
            fields.back() += line[++i];
        else if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (c == QLatin1Char(',') && !inQuotes)
            fields << QString();
        else
            fields.back() += c;
    }
    return fields;
}

int exportRecords(const QString &databasePath, const QString &file, QString &error)
{
    RecordStore store(databasePath, QStringLiteral("hoshinotamago-export"));
    StoreProblem problem = store.openToRead();
    const std::vector<RunRecord> runs = store.allRuns(&problem);
    if (problem != StoreProblem::None) {
        error = QStringLiteral("hoshinotamago: きろくを よめません / cannot read the records: %1").arg(databasePath);
        return 1;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(runsAsCsv(runs)) < 0 || !out.commit()) {
        error = QStringLiteral("hoshinotamago: %1 に かけません / cannot write %1: %2").arg(file, out.errorString());
        return 1;
    }
    return 0;
}

} // namespace hoshi
