// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop_entry.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>

namespace hoshi {

namespace {

QString readSmallTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    constexpr qint64 Limit = 1 << 20; // these files are small; ignore anything odd
    return QString::fromUtf8(file.read(Limit));
}

// The keys of one [group], without the localized variants.
QHash<QString, QString> groupKeys(const QString &text, const QString &group)
{
    QHash<QString, QString> keys;
    bool inGroup = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || line.startsWith(QLatin1Char('#')) || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(equals + 1).trimmed());
    }
    return keys;
}

// The escapes of a desktop-entry string value: \s \n \t \r \\.
QString unescapeValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case '\\': out += QLatin1Char('\\'); break;
        default: out += QLatin1Char('\\'); out += next; break;
        }
    }
    return out;
}

// Splits an Exec value into arguments: blanks separate, double quotes group,
// a backslash inside quotes takes the next character as it is.
std::optional<QStringList> splitExec(const QString &exec)
{
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool hasArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec[++i];
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            hasArgument = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (hasArgument)
                args << current;
            current.clear();
            hasArgument = false;
        } else {
            current += c;
            hasArgument = true;
        }
    }
    if (inQuotes)
        return std::nullopt;
    if (hasArgument)
        args << current;
    return args;
}

// Started without a file, so every field code (%f, %U, %i...) expands to
// nothing; %% is a percent sign. Flatpak's @@ markers go as well.
QStringList withoutFieldCodes(const QStringList &args)
{
    static const QRegularExpression fieldCode(QStringLiteral("%[A-Za-z]"));
    QStringList out;
    for (const QString &arg : args) {
        if (arg == QLatin1String("@@") || arg == QLatin1String("@@u") || arg == QLatin1String("@@f"))
            continue;
        QString expanded = arg;
        expanded.replace(QLatin1String("%%"), QStringLiteral("\x01"));
        const bool hadCode = expanded.contains(fieldCode);
        expanded.remove(fieldCode);
        expanded.replace(QLatin1Char('\x01'), QLatin1Char('%'));
        if (hadCode && expanded.isEmpty())
            continue;
        out << expanded;
    }
    return out;
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("true");
}

} // namespace

std::optional<ProgramCommand> commandOfDesktopEntry(const QString &entryText)
{
    const QHash<QString, QString> keys = groupKeys(entryText, QStringLiteral("Desktop Entry"));
    if (keys.value(QStringLiteral("Type")) != QLatin1String("Application")
        || isTrue(keys.value(QStringLiteral("Hidden"))) || isTrue(keys.value(QStringLiteral("Terminal"))))
        return std::nullopt;
    const std::optional<QStringList> split = splitExec(unescapeValue(keys.value(QStringLiteral("Exec"))));
    if (!split)
        return std::nullopt;
    QStringList args = withoutFieldCodes(*split);
    if (args.isEmpty() || args.first().isEmpty())
        return std::nullopt;
    const QString program = args.takeFirst();
    return ProgramCommand{program, args};
}

std::optional<ProgramCommand> commandOfDesktopId(const QString &id)
{
    if (id.isEmpty())
        return std::nullopt;
    const QString entryPath = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    if (entryPath.isEmpty())
        return std::nullopt;
    return commandOfDesktopEntry(readSmallTextFile(entryPath));
}

} // namespace hoshi
