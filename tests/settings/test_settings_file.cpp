// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace hoshi;

namespace {

struct Recorded {
    QStringList told;
    SettingsFile::Told sink()
    {
        return [this](const SettingsTrouble &trouble) { told << trouble.japanese; };
    }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
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
        quiet.englishFolder = QStringLiteral("/tmp/english texts");
        QTest::newRow("every value away from its default") << quiet;
        // Turned off against a desktop in high contrast: off, not "as the desktop".
        Preferences designed;
        designed.voice = Preferences::Voice::On;
        designed.typingMinutes = 1;
        designed.highContrast = false;
        QTest::newRow("the designed colours chosen") << designed;
    }

    void changesComeBackInTheNextRun()
    {
        QFETCH(Preferences, chosen);
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("hoshinotamago/hoshinotamago.conf"));
        Recorded first;
        {
            SettingsFile file(path, first.sink());
            QCOMPARE(file.preferences(), Preferences{});
            file.change([&chosen](Preferences &p) { p = chosen; });
        }
        Recorded second;
        SettingsFile again(path, second.sink());
        QCOMPARE(again.preferences(), chosen);
        QVERIFY(first.told.isEmpty() && second.told.isEmpty());
    }

    void theUsersOwnRateAgainLeavesNoRateInTheFile()
    {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("hoshinotamago.conf"));
        SettingsFile file(path, {});
        file.change([](Preferences &p) { p.speechRate = 50; });
        file.change([](Preferences &p) { p.speechRate.reset(); });
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(!written.readAll().contains("rate"));
        Recorded recorded;
        QCOMPARE(SettingsFile(path, recorded.sink()).preferences().speechRate, std::nullopt);
        QVERIFY(recorded.told.isEmpty());
    }

    void aRunWithoutChangesWritesNothing()
    {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("hoshinotamago/hoshinotamago.conf"));
        SettingsFile file(path, {});
        file.change([](Preferences &p) { p.typingMinutes = 3; });
        QVERIFY(!QFile::exists(path));
    }

    void wrongValuesGiveTheirDefaultsAndAreToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("fingerNames");
        QTest::addColumn<QVariant>("rate"); // null: the user's own
        QTest::addColumn<int>("told");
        QTest::newRow("unknown voice") << QByteArray("[voice]\nmode=loud\nrate=50\n[typing]\nminutes=5\n") << 5 << true
                                       << QVariant(50) << 1;
        QTest::newRow("minutes not offered") << QByteArray("[typing]\nminutes=2\n[fingers]\nnames_shown=false\n") << 3
                                             << false << QVariant() << 1;
        QTest::newRow("minutes not a number") << QByteArray("[typing]\nminutes=five\n[voice]\nmode=off\n") << 3 << true
                                              << QVariant() << 1;
        QTest::newRow("not a yes or no") << QByteArray("[fingers]\nnames_shown=perhaps\n[typing]\nminutes=1\n") << 1
                                         << true << QVariant() << 1;
        QTest::newRow("two wrong values") << QByteArray("[voice]\nmode=x\n[typing]\nminutes=x\n") << 3 << true
                                          << QVariant() << 1;
        QTest::newRow("rate past the fastest") << QByteArray("[voice]\nrate=101\n[typing]\nminutes=1\n") << 1 << true
                                               << QVariant() << 1;
        QTest::newRow("rate not a number") << QByteArray("[voice]\nrate=fast\n") << 3 << true << QVariant() << 1;
        QTest::newRow("the slowest rate") << QByteArray("[voice]\nrate=-100\n") << 3 << true << QVariant(-100) << 0;
        // A newer version's file: sections and keys this one does not know are left out.
        QTest::newRow("a newer version's keys") << QByteArray("[typing]\nminutes=5\nsound=loud\n[future]\nx=1\n") << 5
                                                << true << QVariant() << 0;
        QTest::newRow("a newer version's voice") << QByteArray("[voice]\nmode=whisper\nrate=10\n") << 3 << true
                                                 << QVariant(10) << 1;
        QTest::newRow("empty file") << QByteArray() << 3 << true << QVariant() << 0;
        static const char garbage[] = "\xff\xfe\x00[[[=\n\x01\x02";
        // Lines QSettings cannot read are left out: nothing the program knows is wrong.
        QTest::newRow("binary garbage") << QByteArray(garbage, sizeof garbage - 1) << 3 << true << QVariant() << 0;
    }

    void wrongValuesGiveTheirDefaultsAndAreToldOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, minutes);
        QFETCH(bool, fingerNames);
        QFETCH(QVariant, rate);
        QFETCH(int, told);
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("hoshinotamago.conf"));
        writeFile(path, content);
        Recorded recorded;
        SettingsFile file(path, recorded.sink());
        QCOMPARE(file.preferences().typingMinutes, minutes);
        QCOMPARE(file.preferences().fingerNamesShown, fingerNames);
        QCOMPARE(file.preferences().speechRate, rate.isNull() ? std::nullopt : std::optional(rate.toInt()));
        QCOMPARE(recorded.told.size(), told);
    }

    void aFileThatCannotBeWrittenKeepsTheRunsChoicesAndIsToldOnce()
    {
        QTemporaryDir home;
        // A file where the folder should be: no one, root included, can write there.
        writeFile(home.filePath(QStringLiteral("hoshinotamago")), "not a folder");
        Recorded recorded;
        SettingsFile file(home.filePath(QStringLiteral("hoshinotamago/hoshinotamago.conf")), recorded.sink());
        file.change([](Preferences &p) { p.typingMinutes = 5; });
        file.change([](Preferences &p) { p.fingerNamesShown = false; });
        QCOMPARE(file.preferences().typingMinutes, 5);
        QCOMPARE(file.preferences().fingerNamesShown, false);
        QCOMPARE(recorded.told.size(), 1);
    }

    void aFolderInPlaceOfTheFileGivesDefaults()
    {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("hoshinotamago.conf")));
        Recorded recorded;
        SettingsFile file(home.filePath(QStringLiteral("hoshinotamago.conf")), recorded.sink());
        QCOMPARE(file.preferences(), Preferences{});
        QCOMPARE(recorded.told.size(), 1);
    }

    void theStandardPathFollowsXdgConfigHome_data()
    {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath();
        QTest::newRow("set") << QByteArray("/srv/conf") << QStringLiteral("/srv/conf/hoshinotamago/hoshinotamago.conf");
        QTest::newRow("unset") << QByteArray() << home + QStringLiteral("/.config/hoshinotamago/hoshinotamago.conf");
        QTest::newRow("relative, ignored") << QByteArray("conf") << home + QStringLiteral("/.config/hoshinotamago/hoshinotamago.conf");
    }

    void theStandardPathFollowsXdgConfigHome()
    {
        QFETCH(QByteArray, configHome);
        QFETCH(QString, expected);
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome);
        const QString path = SettingsFile::standardPath();
        qputenv("XDG_CONFIG_HOME", before);
        QCOMPARE(path, expected);
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
