// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "ui/version_info.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace hoshi {

namespace {

// Qt's own options (QGuiApplication, QApplication and the X11 plugin),
// accepted here so that an option we do not know can be an error.
const QStringList qtValueOptions{
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),        QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"),   QStringLiteral("geometry"),           QStringLiteral("title"),
    QStringLiteral("icon"),          QStringLiteral("display"),            QStringLiteral("name"),
    QStringLiteral("visual"),        QStringLiteral("ncols"),              QStringLiteral("session"),
    QStringLiteral("style"),         QStringLiteral("stylesheet")};
const QStringList qtFlagOptions{QStringLiteral("reverse"),  QStringLiteral("widgetcount"),
                                QStringLiteral("cmap"),     QStringLiteral("nograb"),
                                QStringLiteral("dograb"),   QStringLiteral("testability")};

QString helpText()
{
    return QStringLiteral(
        "使い方: hoshinotamago [オプション] [Qt のオプション]\n"
        "Usage: hoshinotamago [options] [Qt options]\n\n"
        "キーボード練習ソフト ほしのたまご。起動するとランチャーが開きます。\n"
        "A keyboard typing tutor; it starts into its launcher.\n\n"
        "  --version       バージョンを表示 / print the version\n"
        "  -h, --help      この説明を表示 / print this help\n"
        "  --check-sounds  効果音ファイルの場所を確認 / show where the sound files are found\n"
        "  --voice         スクリーンリーダーが動いていても読み上げる\n"
        "                  / the built-in voice speaks even when a screen reader runs\n"
        "  --no-voice      読み上げの声を出さない(クリップボードは使う)\n"
        "                  / no built-in voice, for your own clipboard reader\n"
        "  --no-records    きろくを よまない・かかない / keep no records, read none\n"
        "  --export-records FILE\n"
        "                  きろくを CSV で書き出す / write every run kept as CSV\n"
        "  --high-contrast はっきりした色(黒地に白と黄色)で表示\n"
        "                  / high-contrast colours: white and yellow on black\n"
        "                  (この回だけ。設定は ランチャーの 設定 メニューで変えられます\n"
        "                  / for this run; the launcher's 設定 menu keeps a choice)\n\n"
        "Qt のオプション(-platform, -display など)も使えます。\n"
        "Qt's own options (-platform, -display and others) are accepted as well.\n\n"
        "読み上げは speech-dispatcher の日本語の声で行います。スクリーンリーダー(Orca)が\n"
        "動いているときは、読み上げをスクリーンリーダーに渡します。\n"
        "The built-in voice speaks Japanese through speech-dispatcher; when a screen\n"
        "reader (Orca) runs, what is to be heard goes to the screen reader instead.\n\n"
        "終了コード / exit status: 0 成功 / success, 1 書き込みエラーまたは効果音の不足 /\n"
        "write error or a missing sound, 2 使い方の誤りまたは画面なし / usage error or no display.\n");
}

// The argument as the user typed it that QCommandLineParser calls `name`.
QString typedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        QString bare = argument;
        bare.remove(QRegularExpression(QStringLiteral("^--?")));
        if (bare.section(QLatin1Char('='), 0, 0) == name)
            return argument.section(QLatin1Char('='), 0, 0);
    }
    return QStringLiteral("--") + name;
}

CommandLine usageError(const QString &japanese, const QString &english, const QString &program)
{
    CommandLine result;
    result.action = CommandLine::Action::Answer;
    result.exitCode = 2;
    result.error = QStringLiteral("hoshinotamago: %1 / %2 (%3 --help)").arg(japanese, english, program);
    return result;
}

} // namespace

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString invocationName(const QString &argument0)
{
    QString name = argument0.contains(QLatin1Char('/')) ? argument0 : QStringLiteral("hoshinotamago");
    // Checked by character: this runs on every start, and a regular
    // expression would load its engine for it.
    const auto plain = [](QChar c) {
        return (c.isLetterOrNumber() && c.unicode() < 0x80) || QStringLiteral("_./+-").contains(c);
    };
    if (name.isEmpty() || !std::all_of(name.cbegin(), name.cend(), plain))
        name = QLatin1Char('\'') + name.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
    return name;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options have one dash (-platform); ours work with one or two.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption checkSounds(QStringLiteral("check-sounds"));
    const QCommandLineOption voice(QStringLiteral("voice"));
    const QCommandLineOption noVoice(QStringLiteral("no-voice"));
    const QCommandLineOption noRecords(QStringLiteral("no-records"));
    const QCommandLineOption exportRecords(QStringLiteral("export-records"), QString(), QStringLiteral("file"));
    const QCommandLineOption highContrast(QStringLiteral("high-contrast"));
    parser.addOptions({help, version, checkSounds, voice, noVoice, noRecords, exportRecords, highContrast});
    for (const QString &name : qtValueOptions)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString &name : qtFlagOptions)
        parser.addOption(QCommandLineOption(name));

    const QString program = invocationName(arguments.value(0));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString option = typedOption(arguments, unknown.first());
            return usageError(QStringLiteral("%1 というオプションはありません").arg(option),
                              QStringLiteral("unknown option %1").arg(option), program);
        }
        return usageError(QStringLiteral("オプションの書き方が違います"), parser.errorText(), program);
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString extra = parser.positionalArguments().first();
        return usageError(QStringLiteral("%1 は使えません(引数はとりません)").arg(extra),
                          QStringLiteral("unexpected argument %1").arg(extra), program);
    }

    CommandLine result;
    if (parser.isSet(help) || parser.isSet(version)) {
        result.action = CommandLine::Action::Answer;
        result.output = parser.isSet(help) ? helpText() : versionText();
        return result;
    }
    if (parser.isSet(checkSounds))
        result.action = CommandLine::Action::CheckSounds;
    result.records = !parser.isSet(noRecords);
    if (parser.isSet(exportRecords)) {
        result.action = CommandLine::Action::ExportRecords;
        result.exportFile = parser.value(exportRecords);
    }
    // The last of --voice and --no-voice counts.
    for (const QString &name : parser.optionNames()) {
        if (name == QLatin1String("voice"))
            result.voice = VoiceChoice::Always;
        else if (name == QLatin1String("no-voice"))
            result.voice = VoiceChoice::Never;
    }
    result.highContrast = parser.isSet(highContrast);
    result.platform = parser.value(QStringLiteral("platform"));
    result.display = parser.value(QStringLiteral("display"));
    return result;
}

int writeAnswer(const CommandLine &commandLine, std::FILE *out, std::FILE *err)
{
    if (!commandLine.error.isEmpty())
        std::fprintf(err, "%s\n", commandLine.error.toUtf8().constData());
    if (commandLine.output.isEmpty())
        return commandLine.exitCode;
    const QByteArray bytes = commandLine.output.toUtf8();
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out) == std::size_t(bytes.size())
                         && std::fflush(out) == 0;
    if (!written) {
        std::fprintf(err, "hoshinotamago: 標準出力に書けません / cannot write to standard output: %s\n",
                     std::strerror(errno ? errno : EIO));
        return 1;
    }
    return commandLine.exitCode;
}

} // namespace hoshi
