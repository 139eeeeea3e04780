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
    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

private slots:
    void init() { m_told.clear(); }

    void changesComeBackInTheNextRun_data()
    {
        QTest::addColumn<Preferences>("chosen");
        Preferences quiet;
        quiet.voice = Preferences::Voice::Off;
        quiet.speechRate = -25;
        quiet.typingMinutes = 5;
        quiet.fingerNamesShown = false;
        quiet.highContrast = true;
        quiet.japaneseFolder = QStringLiteral("/home/こども/ぶんしょう");
        QTest::newRow("every value away from its default") << quiet;
        // Turned off against a desktop in high contrast: off, not "as the desktop".
        Preferences designed;
        designed.typingMinutes = 1;
        designed.highContrast = false;
        QTest::newRow("the designed colours chosen") << designed;
    }
    void changesComeBackInTheNextRun()
    {
        QFETCH(Preferences, chosen);
        const QString path = freshPath();
        open(path).change([&chosen](Preferences &p) { p = chosen; });
        QCOMPARE(open(path).preferences(), chosen);
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
        QVERIFY(!bytesOf(path).contains("rate"));
        QCOMPARE(open(path).preferences().speechRate, std::nullopt);
    }

    void wrongValuesGiveTheirDefaultsAndAreToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QVariant>("rate"); // null: the user's own
        QTest::addColumn<int>("told");
        QTest::newRow("unknown voice") << QByteArray("[voice]\nmode=loud\nrate=50\n[typing]\nminutes=5\n") << 5
                                       << QVariant(50) << 1;
        QTest::newRow("two wrong values") << QByteArray("[voice]\nmode=x\n[typing]\nminutes=2\n") << 3 << QVariant() << 1;
        QTest::newRow("rate past the fastest") << QByteArray("[voice]\nrate=101\n[typing]\nminutes=1\n") << 1
                                               << QVariant() << 1;
        QTest::newRow("the slowest rate") << QByteArray("[voice]\nrate=-100\n") << 3 << QVariant(-100) << 0;
        QTest::newRow("a newer version's keys") << QByteArray("[typing]\nminutes=5\nsound=loud\n[future]\nx=1\n") << 5
                                                << QVariant() << 0;
        static const char garbage[] = "\xff\xfe\x00[[[=\n\x01\x02";
        QTest::newRow("binary garbage") << QByteArray(garbage, sizeof garbage - 1) << 3 << QVariant() << 0;
    }
    void wrongValuesGiveTheirDefaultsAndAreToldOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariant, rate);
        const QString path = m_home.filePath(QStringLiteral("written.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const Preferences read = open(path).preferences();
        QTEST(read.typingMinutes, "minutes");
        QCOMPARE(read.speechRate, rate.isNull() ? std::nullopt : std::optional(rate.toInt()));
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

    void theStandardPathFollowsXdgConfigHome_data()
    {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("folder");
        QTest::newRow("set") << QByteArray("/srv/conf") << QStringLiteral("/srv/conf");
        QTest::newRow("unset") << QByteArray() << QDir::homePath() + QStringLiteral("/.config");
        QTest::newRow("relative, ignored") << QByteArray("conf") << QDir::homePath() + QStringLiteral("/.config");
    }
    void theStandardPathFollowsXdgConfigHome()
    {
        QFETCH(QByteArray, configHome);
        QFETCH(QString, folder);
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome);
        const QString path = SettingsFile::standardPath();
        qputenv("XDG_CONFIG_HOME", before);
        QCOMPARE(path, folder + QStringLiteral("/hoshinotamago/hoshinotamago.conf"));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
