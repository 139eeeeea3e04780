// SPDX-License-Identifier: GPL-3.0-or-later
// The records window over a real store on its thread, and with no records kept (--no-records).
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_csv.h"
#include "records/records_window.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

const QString FirstRow = QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦 さいこう ９てん ぜんぶで ３かい");
const QString NotKept = QStringLiteral("きろくは とらない せっていです");
const QString Question = QStringLiteral("きろくを ぜんぶ けしますか？ けすなら Y、やめるなら Escape");

} // namespace

class TestRecordsWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_path;
    std::unique_ptr<RecordKeeper> m_keeper;
    RecordingServices m_said;
    std::unique_ptr<RecordsWindow> m_window;

    // Three alphabet drills kept (3, 9 and 5 points, each missing E once), or none with
    // --no-records; the window opened and what it said on opening forgotten.
    void openWindow(bool kept)
    {
        if (kept) {
            RecordStore store(m_path, QStringLiteral("fill"));
            QCOMPARE(store.open(), StoreProblem::None);
            std::vector<RunRecord> runs;
            for (const int score : {3, 9, 5})
                runs.push_back({.mode = QStringLiteral("frmYubiren2"),
                                .started = QDateTime(QDate(2024, 5, 1), QTime(10, int(runs.size()))), .seconds = 30,
                                .score = score, .missedKeys = {{"E", 1}}, .practiceFile = {}});
            QCOMPARE(store.insertAll(runs), StoreProblem::None);
            m_keeper = std::make_unique<RecordKeeper>(m_path, RecordKeeper::ProblemListener{});
        }
        m_window = std::make_unique<RecordsWindow>(m_keeper.get(), m_said);
        m_window->open();
        // Said before the store answered: nothing waits for it.
        QCOMPARE(m_said.announcements().value(0), kept ? QStringLiteral("よみこみちゅう") : NotKept);
        QTRY_COMPARE(m_said.announcements(), kept ? (QStringList{QStringLiteral("よみこみちゅう"), FirstRow}) : QStringList{NotKept});
        // The first row chosen; the weak keys next.
        QCOMPARE(rowsShown().mid(0, kept ? 2 : 9), kept ? (QStringList{FirstRow, "にがてな キー: E"}) : QStringList{NotKept});
        QCOMPARE(m_window->findChild<QListWidget *>()->currentRow(), 0);
        m_said.clear();
    }

    QStringList rowsShown() const
    {
        QStringList rows;
        const auto *list = m_window->findChild<QListWidget *>(QStringLiteral("lstKiroku"));
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        return rows;
    }

private slots:
    void init()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        m_path = m_home.filePath(QStringLiteral("records.sqlite"));
    }

    void cleanup()
    {
        m_window.reset();
        m_keeper.reset();
        QFile::remove(m_path);
        QFile::remove(RecordsWindow::exportFile());
        m_said.clear();
    }

    void eraseAllAsksFirst_data()
    {
        QTest::addColumn<bool>("kept");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("firstRowAfter");
        QTest::newRow("Escape keeps everything")
            << true << int(Qt::Key_Escape) << QStringList{Question, QStringLiteral("けさなかったよ")} << FirstRow;
        QTest::newRow("Y erases, and the window says so")
            << true << int(Qt::Key_Y) << QStringList{Question, QStringLiteral("きろくを ぜんぶ けしたよ")}
            << QStringLiteral("まだ きろくが ないよ");
        QTest::newRow("nothing to erase without records") << false << int(Qt::Key_Y) << QStringList{NotKept} << NotKept;
    }
    void eraseAllAsksFirst()
    {
        QFETCH(bool, kept);
        QFETCH(int, answer);
        QFETCH(QString, firstRowAfter);
        openWindow(kept);
        // The question box is answered with a key as soon as it opens, as a user would.
        QTimer::singleShot(0, [answer] {
            if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                QTest::keyClick(question, Qt::Key(answer));
        });
        m_window->findChild<QAction *>(QStringLiteral("mnuErase"))->trigger();
        // Filled in again without a word over the answer.
        QTRY_COMPARE(rowsShown().value(0), firstRowAfter);
        QTEST(m_said.announcements(), "said");
        RecordStore store(m_path, QStringLiteral("count"));
        QCOMPARE(store.openToRead() == StoreProblem::None ? int(store.allRuns().size()) : -1,
                 answer == Qt::Key_Escape ? 3 : 0);
        QCOMPARE(QFile::exists(m_path), kept);
    }

    void theMenuWritesTheCsv_data()
    {
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("homeThere");
        QTest::addColumn<QString>("said");
        const QString file = QStringLiteral("%1/hoshinotamago-records.csv");
        QTest::newRow("written") << true << true << file + QStringLiteral(" に かきだしたよ");
        QTest::newRow("home folder gone") << true << false << file + QStringLiteral(" に かけませんでした");
        QTest::newRow("no records kept") << false << true << NotKept;
    }
    void theMenuWritesTheCsv()
    {
        QFETCH(bool, kept);
        QFETCH(bool, homeThere);
        QFETCH(QString, said);
        openWindow(kept);
        const QString home = homeThere ? m_home.path() : m_home.filePath(QStringLiteral("gone"));
        qputenv("HOME", home.toLocal8Bit());
        m_window->findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();
        QTRY_COMPARE(m_said.announcements(), QStringList{said.arg(home)});
        // Expected where written: the header, then the runs in the order they were played.
        QFile csv(RecordsWindow::exportFile());
        QCOMPARE(csv.open(QIODevice::ReadOnly), kept && homeThere);
        QStringList scores;
        for (const QString &line : QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            scores << csvFields(line).value(csvHeader().indexOf(QStringLiteral("score")));
        QCOMPARE(scores, kept && homeThere ? (QStringList{"score", "3", "9", "5"}) : QStringList());
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "test_records_window.moc"
