// SPDX-License-Identifier: GPL-3.0-or-later
// The records window over a real store on its thread: what it says on
// opening, erase-all asked first, the CSV written from its menu, and the
// same window with no records kept (--no-records).
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

RunRecord drill(int score, int minute)
{
    RunRecord run;
    run.mode = QStringLiteral("frmYubiren2");
    run.started = QDateTime(QDate(2024, 5, 1), QTime(10, minute));
    run.seconds = 30;
    run.score = score;
    run.missedKeys = {{QStringLiteral("E"), 1}};
    return run;
}

int runsIn(const QString &path)
{
    RecordStore store(path, QStringLiteral("count"));
    return store.openToRead() == StoreProblem::None ? int(store.allRuns().size()) : -1;
}

QStringList rowsShown(const RecordsWindow &window)
{
    QStringList rows;
    const auto *list = window.findChild<QListWidget *>(QStringLiteral("lstKiroku"));
    for (int i = 0; list && i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

// Answers the question box that is about to open with a key, as a user would.
void answerNextBox(Qt::Key key)
{
    QTimer::singleShot(0, [key] {
        QWidget *box = QApplication::activeModalWidget();
        if (auto *question = qobject_cast<QMessageBox *>(box))
            QTest::keyClick(question, key);
    });
}

} // namespace

class TestRecordsWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_path;
    std::unique_ptr<RecordKeeper> m_keeper;
    RecordingServices m_said;
    std::unique_ptr<RecordsWindow> m_window;

    // State: three alphabet drills kept (3, 9 and 5 points), or none with --no-records.
    void keepRecords(bool kept)
    {
        if (!kept)
            return;
        RecordStore store(m_path, QStringLiteral("fill"));
        QCOMPARE(store.open(), StoreProblem::None);
        QCOMPARE(store.insertAll({drill(3, 1), drill(9, 2), drill(5, 3)}), StoreProblem::None);
        m_keeper = std::make_unique<RecordKeeper>(m_path, RecordKeeper::ProblemListener{});
    }

    void openWindow(bool kept)
    {
        keepRecords(kept);
        m_window = std::make_unique<RecordsWindow>(m_keeper.get(), m_said);
        m_window->open();
        if (kept)
            QTRY_COMPARE(m_said.announcements().value(1), FirstRow);
        m_said.clear();
    }

    void choose(const QString &entry)
    {
        QAction *action = m_window->findChild<QAction *>(entry);
        QVERIFY(action);
        action->trigger();
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

    void openingSaysAtOnceThenTheFirstRow_data()
    {
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("records kept") << true << QStringList{QStringLiteral("よみこみちゅう"), FirstRow}
                                      << QStringList{FirstRow, QStringLiteral("にがてな キー: E")};
        QTest::newRow("no records kept") << false << QStringList{NotKept} << QStringList{NotKept};
    }
    void openingSaysAtOnceThenTheFirstRow()
    {
        QFETCH(bool, kept);
        QFETCH(QStringList, said);
        QFETCH(QStringList, shown);
        keepRecords(kept);
        RecordsWindow window(m_keeper.get(), m_said);
        window.open();
        // Said before the store answered: nothing waits for it.
        QCOMPARE(m_said.announcements().value(0), said.value(0));
        QTRY_COMPARE(m_said.announcements(), said);
        QCOMPARE(rowsShown(window).mid(0, shown.size()), shown);
        QCOMPARE(window.findChild<QListWidget *>()->currentRow(), 0);
    }

    void eraseAllAsksFirst_data()
    {
        QTest::addColumn<bool>("kept");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<int>("runsLeft");
        QTest::addColumn<QString>("firstRowAfter");
        QTest::newRow("No keeps everything") << true << int(Qt::Key_N)
                                             << QStringList{Question, QStringLiteral("けさなかったよ")} << 3 << FirstRow;
        QTest::newRow("Escape keeps everything") << true << int(Qt::Key_Escape)
                                                 << QStringList{Question, QStringLiteral("けさなかったよ")} << 3
                                                 << FirstRow;
        QTest::newRow("Y erases, and the window says so")
            << true << int(Qt::Key_Y) << QStringList{Question, QStringLiteral("きろくを ぜんぶ けしたよ")} << 0
            << QStringLiteral("まだ きろくが ないよ");
        QTest::newRow("nothing to erase without records") << false << int(Qt::Key_Y) << QStringList{NotKept} << 0
                                                          << NotKept;
    }
    void eraseAllAsksFirst()
    {
        QFETCH(bool, kept);
        QFETCH(int, answer);
        QFETCH(QStringList, said);
        QFETCH(int, runsLeft);
        QFETCH(QString, firstRowAfter);
        openWindow(kept);
        answerNextBox(Qt::Key(answer));
        choose(QStringLiteral("mnuErase"));
        QTRY_COMPARE(rowsShown(*m_window).value(0), firstRowAfter);
        // Filled in again without a word over the answer.
        QCOMPARE(m_said.announcements(), said);
        QCOMPARE(runsIn(m_path), runsLeft);
        QCOMPARE(QFile::exists(m_path), kept);
    }

    void theMenuWritesTheCsv_data()
    {
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("homeThere");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("runsWritten");
        const QString file = QStringLiteral("%1/hoshinotamago-records.csv");
        QTest::newRow("written") << true << true << file + QStringLiteral(" に かきだしたよ") << 3;
        QTest::newRow("home folder gone") << true << false << file + QStringLiteral(" に かけませんでした") << -1;
        QTest::newRow("no records kept") << false << true << NotKept << -1;
    }
    void theMenuWritesTheCsv()
    {
        QFETCH(bool, kept);
        QFETCH(bool, homeThere);
        QFETCH(QString, said);
        QFETCH(int, runsWritten);
        openWindow(kept);
        const QString home = homeThere ? m_home.path() : m_home.filePath(QStringLiteral("gone"));
        qputenv("HOME", home.toLocal8Bit());
        choose(QStringLiteral("mnuExport"));
        QTRY_COMPARE(m_said.announcements(), QStringList{said.arg(home)});
        QFile csv(RecordsWindow::exportFile());
        QCOMPARE(csv.exists(), runsWritten >= 0);
        if (runsWritten < 0)
            return;
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + runsWritten);
        QCOMPARE(csvFields(lines[0]), csvHeader());
        QStringList scores;
        for (const QString &line : lines.mid(1))
            scores << csvFields(line).value(csvHeader().indexOf(QStringLiteral("score")));
        QCOMPARE(scores, (QStringList{"3", "9", "5"}));
        QCOMPARE(csvFields(lines[1]).value(csvHeader().indexOf(QStringLiteral("missed_keys"))), QStringLiteral("E=1"));
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "test_records_window.moc"
