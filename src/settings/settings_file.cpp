// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <array>
#include <utility>

namespace hoshi {

namespace {

// The names written in the file, one row a value.
constexpr std::array<std::pair<Preferences::Voice, const char *>, 3> VoiceNames{
    {{Preferences::Voice::Automatic, "automatic"}, {Preferences::Voice::On, "on"}, {Preferences::Voice::Off, "off"}}};
const QString Voice = QStringLiteral("voice/mode");
const QString SpeechRate = QStringLiteral("voice/rate");
const QString Minutes = QStringLiteral("typing/minutes");
const QString JapaneseFolder = QStringLiteral("typing/japanese_folder");
const QString EnglishFolder = QStringLiteral("typing/english_folder");
const QString FingerNames = QStringLiteral("fingers/names_shown");
const QString HighContrast = QStringLiteral("look/high_contrast");

// Each value read keeps its default when it is missing; false when it is there but unknown.
bool readVoice(const QSettings &file, Preferences::Voice &voice)
{
    if (!file.contains(Voice))
        return true;
    const QString name = file.value(Voice).toString();
    for (const auto &[choice, written] : VoiceNames) {
        if (name == QLatin1String(written)) {
            voice = choice;
            return true;
        }
    }
    return false;
}

bool readInt(const QSettings &file, const QString &key, int lowest, int highest, std::optional<int> &value)
{
    if (!file.contains(key))
        return true;
    bool number = false;
    const int read = file.value(key).toString().toInt(&number);
    if (!number || read < lowest || read > highest)
        return false;
    value = read;
    return true;
}

bool readBool(const QSettings &file, const QString &key, std::optional<bool> &value)
{
    if (!file.contains(key))
        return true;
    const QString text = file.value(key).toString();
    if (text != QLatin1String("true") && text != QLatin1String("false"))
        return false;
    value = text == QLatin1String("true");
    return true;
}

} // namespace

SettingsFile::SettingsFile(QString path, Told told)
    : m_path(std::move(path))
    , m_told(std::move(told))
{
    read();
}

QString SettingsFile::standardPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG: a relative XDG_CONFIG_HOME is to be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/hoshinotamago/hoshinotamago.conf");
}

void SettingsFile::read()
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return;
    QSettings file(m_path, QSettings::IniFormat);
    bool fine = info.isFile() && info.isReadable() && file.status() == QSettings::NoError;
    Preferences read;
    std::optional<int> minutes;
    std::optional<bool> fingerNames;
    if (fine) {
        fine = readVoice(file, read.voice) & readInt(file, SpeechRate, -100, 100, read.speechRate)
               & readInt(file, Minutes, 1, 5, minutes) & readBool(file, FingerNames, fingerNames)
               & readBool(file, HighContrast, read.highContrast);
        if (minutes && *minutes != 1 && *minutes != 3 && *minutes != 5) {
            fine = false;
            minutes.reset();
        }
        read.typingMinutes = minutes.value_or(read.typingMinutes);
        read.fingerNamesShown = fingerNames.value_or(read.fingerNamesShown);
        read.japaneseFolder = file.value(JapaneseFolder).toString();
        read.englishFolder = file.value(EnglishFolder).toString();
        m_preferences = read;
    }
    if (!fine) {
        tell({QStringLiteral("せっていの ファイルが よめないので、よめない ところは はじめの せっていに したよ"),
              QStringLiteral("the settings file cannot be read, defaults are used where it is wrong: %1").arg(m_path)});
    }
}

void SettingsFile::change(const std::function<void(Preferences &)> &edit)
{
    const Preferences before = m_preferences;
    edit(m_preferences);
    if (m_preferences != before)
        write();
}

void SettingsFile::write()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSettings file(m_path, QSettings::IniFormat);
    file.clear();
    for (const auto &[choice, written] : VoiceNames) {
        if (choice == m_preferences.voice)
            file.setValue(Voice, QString::fromLatin1(written));
    }
    if (m_preferences.speechRate)
        file.setValue(SpeechRate, *m_preferences.speechRate);
    file.setValue(Minutes, m_preferences.typingMinutes);
    file.setValue(FingerNames, m_preferences.fingerNamesShown ? QStringLiteral("true") : QStringLiteral("false"));
    if (m_preferences.highContrast)
        file.setValue(HighContrast, *m_preferences.highContrast ? QStringLiteral("true") : QStringLiteral("false"));
    if (!m_preferences.japaneseFolder.isEmpty())
        file.setValue(JapaneseFolder, m_preferences.japaneseFolder);
    if (!m_preferences.englishFolder.isEmpty())
        file.setValue(EnglishFolder, m_preferences.englishFolder);
    file.sync();
    if (file.status() == QSettings::NoError || m_toldUnwritable)
        return;
    m_toldUnwritable = true;
    tell({QStringLiteral("せっていを ほぞん できないので、この かいだけ おぼえておくよ"),
          QStringLiteral("the settings cannot be saved, they last for this run: %1").arg(m_path)});
}

void SettingsFile::tell(const SettingsTrouble &trouble)
{
    if (m_told)
        m_told(trouble);
}

} // namespace hoshi
