// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace hoshi;

class SettingsFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QStringList m_told;
    int m_n = 0;

    // A settings file of this test's own, in a folder not yet made.
    QString freshPath() { return m_home.filePath(QStringLiteral("%1/hoshinotamago.conf").arg(++m_n)); }
    SettingsFile open(const QString &path)
    {
        return SettingsFile(path, [this](const SettingsTrouble &trouble) { m_told << trouble.japanese; });
    }

private slots:
    void init() { m_told.clear(); }

    void changesComeBackInTheNextRun()
    {
        // Every value away from its default; then high contrast turned off against a desktop
        // in high contrast: off, not "as the desktop".
        const Preferences quiet{.voice = Preferences::Voice::Off, .speechRate = -25, .typingMinutes = 5,
                                .fingerNamesShown = false, .highContrast = true,
                                .japaneseFolder = QStringLiteral("/home/こども/ぶんしょう"),
                                .englishFolder = QStringLiteral("/home/こども/えいご")};
        const Preferences designed{.speechRate = {}, .typingMinutes = 1, .highContrast = false, .japaneseFolder = {},
                                   .englishFolder = {}};
        for (const Preferences &chosen : {quiet, designed}) {
            const QString path = freshPath();
            open(path).change([&chosen](Preferences &p) { p = chosen; });
            QCOMPARE(open(path).preferences(), chosen);
        }
        QVERIFY(m_told.isEmpty());
    }

    void onlyARealChangeIsWritten()
    {
        // Choosing what is already chosen leaves no file behind.
        const QString path = freshPath();
        SettingsFile file = open(path);
        file.change([](Preferences &p) { p.typingMinutes = 3; });
        QVERIFY(!QFile::exists(path));
        // Back to the user's own speech rate: no rate in the file, none read back.
        file.change([](Preferences &p) { p.speechRate = 50; });
        file.change([](Preferences &p) { p.speechRate.reset(); });
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly) && !written.readAll().contains("rate"));
        QCOMPARE(open(path).preferences().speechRate, std::nullopt);
    }

    void wrongValuesGiveTheirDefaultsAndAreToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("rate"); // 999: the user's own
        QTest::addColumn<int>("told");
        QTest::newRow("unknown voice") << QByteArray("[voice]\nmode=loud\nrate=50\n[typing]\nminutes=5\n") << 5 << 50
                                       << 1;
        QTest::newRow("two wrong values") << QByteArray("[voice]\nmode=x\n[typing]\nminutes=2\n") << 3 << 999 << 1;
        QTest::newRow("rate past the fastest")
            << QByteArray("[voice]\nrate=101\n[typing]\nminutes=1\n") << 1 << 999 << 1;
        QTest::newRow("the slowest rate") << QByteArray("[voice]\nrate=-100\n") << 3 << -100 << 0;
        QTest::newRow("a newer version's keys")
            << QByteArray("[typing]\nminutes=5\nsound=loud\n[future]\nx=1\n") << 5 << 999 << 0;
        static const char garbage[] = "\xff\xfe\x00[[[=\n\x01\x02";
        QTest::newRow("binary garbage") << QByteArray(garbage, sizeof garbage - 1) << 3 << 999 << 0;
    }
    void wrongValuesGiveTheirDefaultsAndAreToldOnce()
    {
        QFETCH(QByteArray, content);
        const QString path = m_home.filePath(QStringLiteral("written.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const Preferences read = open(path).preferences();
        QTEST(read.typingMinutes, "minutes");
        QTEST(read.speechRate.value_or(999), "rate");
        QTEST(int(m_told.size()), "told");
    }

    void aFileThatCannotBeWrittenKeepsTheRunsChoicesAndIsToldOnce()
    {
        // A file where the folder should be: no one, root included, can write there.
        const QString path = freshPath();
        QFile blocker(QFileInfo(path).path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        SettingsFile file = open(path);
        file.change([](Preferences &p) { p.typingMinutes = 5; });
        file.change([](Preferences &p) { p.fingerNamesShown = false; });
        QCOMPARE(file.preferences().typingMinutes, 5);
        QCOMPARE(file.preferences().fingerNamesShown, false);
        QCOMPARE(m_told.size(), 1);
    }

    void theStandardPathFollowsXdgConfigHome()
    {
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        const QString fallback = QDir::homePath() + QStringLiteral("/.config");
        // Set, unset, and relative (ignored).
        for (const auto &[configHome, folder] :
             {std::pair{QByteArray("/srv/conf"), QStringLiteral("/srv/conf")}, std::pair{QByteArray(), fallback},
              std::pair{QByteArray("conf"), fallback}}) {
            qputenv("XDG_CONFIG_HOME", configHome);
            QCOMPARE(SettingsFile::standardPath(), folder + QStringLiteral("/hoshinotamago/hoshinotamago.conf"));
        }
        qputenv("XDG_CONFIG_HOME", before);
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
