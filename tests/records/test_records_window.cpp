// SPDX-License-Identifier: GPL-3.0-or-later
// The records window's menus where the end-to-end test does not look: with no records
// kept (--no-records), erasing after the question, the CSV's order, the home folder gone.
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "records/records_window.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace hoshi;
using namespace hoshi::testing;

class TestRecordsWindow : public QObject {
    Q_OBJECT
private slots:
    void theMenus_data()
    {
        const QString notKept = QStringLiteral("きろくは とらない せっていです");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("said"); // %1: the home folder
        QTest::addColumn<QString>("firstRowAfter");
        QTest::addColumn<QStringList>("csvScores"); // of the file written, in its order
        const QString twoRuns = QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦 さいこう ９てん ぜんぶで ２かい");
        QTest::newRow("Y erases, said once, the rows filled in quietly")
            << true << "mnuErase"
            << QStringList{"きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape", "きろくを ぜんぶ けしたよ"}
            << "まだ きろくが ないよ" << QStringList();
        QTest::newRow("nothing to erase without records") << false << "mnuErase" << QStringList{notKept} << notKept
                                                          << QStringList();
        QTest::newRow("nothing to write without records") << false << "mnuExport" << QStringList{notKept} << notKept
                                                          << QStringList();
        QTest::newRow("CSV in the order played") << true << "mnuExport"
                                                 << QStringList{"%1/hoshinotamago-records.csv に かきだしたよ"} << twoRuns
                                                 << QStringList{"score", "3", "9"};
        QTest::newRow("home folder gone") << true << "mnuExport"
                                          << QStringList{"%1/hoshinotamago-records.csv に かけませんでした"} << twoRuns
                                          << QStringList();
    }
    void theMenus()
    {
        QFETCH(bool, kept);
        QFETCH(QString, entry);
        QFETCH(QStringList, said);
        QFETCH(QString, firstRowAfter);
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("records.sqlite"));
        std::unique_ptr<RecordKeeper> keeper;
        if (kept) {
            RecordStore store(path, QStringLiteral("fill"));
            QCOMPARE(store.open(), StoreProblem::None);
            // The later run written first: the CSV follows the time played.
            for (const int score : {9, 3})
                QCOMPARE(store.insert({.mode = QStringLiteral("frmYubiren2"), .started = QDateTime(QDate(2024, 5, 1), QTime(10, score)),
                                       .seconds = 30, .score = score, .missedKeys = {}, .practiceFile = {}}),
                         StoreProblem::None);
            keeper = std::make_unique<RecordKeeper>(path, RecordKeeper::ProblemListener{});
        }
        RecordingServices services;
        RecordsWindow window(keeper.get(), services);
        window.open();
        const auto *rows = window.findChild<QListWidget *>(QStringLiteral("lstKiroku"));
        QTRY_VERIFY(rows->count() > 0 && rows->item(0)->text() != QStringLiteral("よみこみちゅう"));
        services.clear();
        const QString gone = home.filePath(QStringLiteral("home"));
        if (QLatin1String(QTest::currentDataTag()) != QLatin1String("home folder gone"))
            QDir().mkpath(gone);
        qputenv("HOME", gone.toLocal8Bit());
        // A question box is answered Y as soon as it opens, as a user would.
        QTimer::singleShot(0, [] {
            if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                QTest::keyClick(question, Qt::Key_Y);
        });
        window.findChild<QAction *>(entry)->trigger();
        QTRY_COMPARE(services.announcements(), said.replaceInStrings(QStringLiteral("%1"), gone));
        QTRY_COMPARE(rows->item(0)->text(), firstRowAfter);
        QCOMPARE(QFile::exists(path), kept);
        RecordStore store(path, QStringLiteral("count"));
        QCOMPARE(store.openToRead() == StoreProblem::None ? int(store.allRuns().size()) : -1,
                 kept && entry == QLatin1String("mnuExport") ? 2 : 0);
        QFile csv(RecordsWindow::exportFile());
        QStringList scores;
        if (csv.open(QIODevice::ReadOnly))
            for (const QString &line : QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
                scores << csvFields(line).value(csvHeader().indexOf(QStringLiteral("score")));
        QTEST(scores, "csvScores");
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "test_records_window.moc"
