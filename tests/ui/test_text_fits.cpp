// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as a user sees it, on the screen this test is given: no text
// is cut off by its box or by the window, measured with the fonts it is drawn
// in; with HOSHI_EXPECT_DESIGNED_SIZES set (a large screen) every text also
// keeps its designed size.
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "app/mode_table.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_window.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/typing_window.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <map>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

// The designed point sizes, by window and control.
const std::map<QString, double> &designedPoints()
{
    static const std::map<QString, double> points{
        {"frmEntrance/lblTitle", 48},     {"frmEntrance/entry", 39.75},      {"frmKeyGuide/lblKey", 129.75},
        {"frmKeyGuide/lblYomi", 90},      {"frmKeyGuide/Label2", 60},        {"frmYubiren/lblYubiHyoji", 90},
        {"frmYubiren/lblKey", 249.75},    {"drill/lblTime", 72},             {"drill/lblMaru", 72},
        {"drill/lblBatsu", 72},           {"drill/lblTokuten", 72},          {"drill/lblYubi", 60},
        {"drill/lblKey", 249.75},         {"typing/lblTime", 60},            {"typing/lblMaru", 60},
        {"typing/lblBatsu", 60},          {"typing/lblTokuten", 60},         {"typing/lblKey_Guide", 27.75},
        {"typing/txtHyoji", 80.25},       {"typing/txtNyuryoku", 80.25},     {"frmKiroku/lblHeading", 40},
        {"frmKiroku/lstKiroku", 28}};
    return points;
}

QString windowKind(const QWidget &window)
{
    const QString name = window.objectName();
    if (name.startsWith(QLatin1String("frmYubiren")) && name != QLatin1String("frmYubiren"))
        return QStringLiteral("drill");
    if (name == QLatin1String("frmJapanese") || name == QLatin1String("frmEnglish"))
        return QStringLiteral("typing");
    return name;
}

QString controlName(const QWidget &control)
{
    const QString name = control.objectName();
    return name.startsWith(QLatin1String("entry")) ? QStringLiteral("entry") : name;
}

// Where a label draws its text, in the coordinates of its window's client area.
QRectF drawnText(const QLabel &label, const QWidget &client)
{
    const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
    const QRect contents = label.contentsRect();
    const QSizeF needed = QFontMetricsF(label.font(), &label)
                              .boundingRect(QRectF(contents), int(label.alignment()) | wrap, label.text())
                              .size();
    const QRect placed = QStyle::alignedRect(label.layoutDirection(), label.alignment(), needed.toSize(), contents);
    return QRectF(label.mapTo(&client, placed.topLeft()), needed);
}

// The text of a text box, laid out as the box lays it out, against what the box shows.
bool boxShowsAll(const QPlainTextEdit &box)
{
    qreal height = 2 * box.document()->documentMargin();
    for (QTextBlock block = box.document()->firstBlock(); block.isValid(); block = block.next())
        height += block.layout()->boundingRect().height();
    return height <= box.viewport()->height() + 0.5;
}

// Each row of a list shown whole where it is scrolled to: wrapped inside the
// list's width, and no taller than the list.
QString rowCutOff(const QListWidget &list)
{
    const QRect view = list.viewport()->rect();
    for (int i = 0; i < list.count(); ++i) {
        const QRect row = list.visualItemRect(list.item(i));
        const QRectF text = QFontMetricsF(list.font(), &list)
                                .boundingRect(QRectF(0, 0, row.width(), 1e6), Qt::TextWordWrap, list.item(i)->text());
        if (row.width() > view.width() || row.height() > view.height() || text.width() > row.width() + 0.5
            || text.height() > row.height() + 0.5)
            return QStringLiteral("\"%1\" at %2 pt in %3x%4, list %5x%6")
                .arg(list.item(i)->text())
                .arg(list.font().pointSizeF())
                .arg(row.width())
                .arg(row.height())
                .arg(view.width())
                .arg(view.height());
    }
    return {};
}

QString written(const QString &what, const QString &text, double points)
{
    return QStringLiteral("%1 \"%2\" at %3 pt").arg(what, text).arg(points);
}

struct TypingFakes final : VoiceFactory, FilePicker, EditorLauncher {
    std::unique_ptr<Speaker> createVoice() override { return nullptr; }
    QString chooseTextFile(QWidget *, const TextFileRequest &) override { return answer; }
    bool startEditor() override { return true; }
    QString answer;
};

} // namespace

class TextFitsTest : public QObject {
    Q_OBJECT

private:
    // Every shown text of the window: inside its box and its window; at its designed size
    // where this screen is large.
    void checkTexts(QWidget &window)
    {
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Twice: a label sized to its text takes its fitted size as it is drawn.
        window.grab();
        window.grab();
        const QWidget *client = static_cast<QMainWindow &>(window).centralWidget();
        const QRectF clientRect(client->rect());
        for (const QLabel *label : window.findChildren<QLabel *>()) {
            if (!label->isVisibleTo(&window) || label->text().isEmpty() || label->objectName().isEmpty())
                continue;
            const QRectF text = drawnText(*label, *client);
            const QRectF box = QRectF(label->mapTo(client, label->contentsRect().topLeft()),
                                      QSizeF(label->contentsRect().size()));
            const QString what = written(window.objectName() + '/' + label->objectName(), label->text(),
                                         label->font().pointSizeF());
            QVERIFY2(box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(text), qPrintable(what + " is cut by its box"));
            QVERIFY2(clientRect.adjusted(-0.5, -0.5, 0.5, 0.5).contains(text),
                     qPrintable(what + " is cut by the window"));
            checkDesignedSize(window, *label);
        }
        for (const QListWidget *list : window.findChildren<QListWidget *>()) {
            const QString cut = rowCutOff(*list);
            QVERIFY2(cut.isEmpty(), qPrintable(window.objectName() + QStringLiteral(": ") + cut));
            checkDesignedSize(window, *list);
        }
        for (const QPlainTextEdit *box : window.findChildren<QPlainTextEdit *>()) {
            QVERIFY2(boxShowsAll(*box), qPrintable(written(box->objectName(), box->toPlainText(),
                                                            box->font().pointSizeF())));
            checkDesignedSize(window, *box);
        }
    }

    void checkDesignedSize(const QWidget &window, const QWidget &control)
    {
        if (!qEnvironmentVariableIsSet("HOSHI_EXPECT_DESIGNED_SIZES"))
            return;
        const auto designed = designedPoints().find(windowKind(window) + '/' + controlName(control));
        if (designed == designedPoints().end())
            return;
        QVERIFY2(qFuzzyCompare(control.font().pointSizeF(), designed->second),
                 qPrintable(QStringLiteral("%1/%2 at %3 pt, designed %4 pt")
                                .arg(window.objectName(), control.objectName())
                                .arg(control.font().pointSizeF())
                                .arg(designed->second)));
    }

    RecordingServices m_services;

private slots:
    void launcher()
    {
        std::vector<Mode> modes;
        for (const ModeEntry &entry : modeTable())
            modes.push_back({entry.number, entry.caption, {}});
        ModeRegistry registry(std::move(modes));
        LauncherWindow launcher(registry, m_services);
        launcher.show();
        checkTexts(launcher);
    }

    void key_guide_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("opened") << 0;
        QTest::newRow("BackSpace") << int(Qt::Key_Backspace);
        QTest::newRow("Page Down") << int(Qt::Key_PageDown);
        QTest::newRow("F12") << int(Qt::Key_F12);
    }

    void key_guide()
    {
        QFETCH(int, key);
        KeyGuideWindow window(m_services);
        window.open();
        if (key)
            QTest::keyClick(&window, Qt::Key(key));
        checkTexts(window);
    }

    void finger_guide()
    {
        FingerGuideWindow window(m_services, m_services);
        window.open();
        checkTexts(window);
    }

    void drills_data()
    {
        QTest::addColumn<bool>("symbols");
        QTest::addColumn<bool>("started");
        QTest::newRow("letters") << false << false;
        QTest::newRow("letters, running") << false << true;
        QTest::newRow("symbols, running") << true << true;
    }

    void drills()
    {
        QFETCH(bool, symbols);
        QFETCH(bool, started);
        DrillWindow window(symbols ? numbersAndSymbolsDrillProfile() : alphabetDrillProfile(), m_services,
                           m_services, std::make_unique<ScriptedRandom>());
        window.open();
        if (started)
            QTest::keyClick(&window, Qt::Key_Space);
        checkTexts(window);
    }

    void typing_windows_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QString>("line");
        QTest::newRow("japanese") << TypingLanguage::Japanese << QStringLiteral("ケーキにローソクを立てる。");
        QTest::newRow("english") << TypingLanguage::English << QStringLiteral("What is your name?");
    }

    void typing_windows()
    {
        // State: a practice line shown and half of it typed.
        QFETCH(TypingLanguage, language);
        QFETCH(QString, line);
        QTemporaryDir folder;
        TypingFakes fakes;
        fakes.answer = writeTestFile(folder, QStringLiteral("one.txt"), line.toUtf8());
        TypingWindow window(language, TypingDevices{m_services, m_services, fakes, fakes, fakes});
        window.open();
        window.mnuFileOpen_Click();
        auto *input = window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku"));
        QTest::keyClick(input, Qt::Key_Return);
        input->insertPlainText(line.left(line.size() / 2));
        QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"))->toPlainText(), line);
        checkTexts(window);
    }

    void records_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("a drill") << QStringLiteral("frmYubiren3");
        QTest::newRow("typing, the longest rows") << QStringLiteral("frmJapanese");
    }

    void records()
    {
        // State: twelve runs kept of a mode, with scores of three figures; the window open on them.
        QFETCH(QString, mode);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("records.sqlite"));
        {
            RecordStore store(path, QStringLiteral("fits"));
            QCOMPARE(store.open(), StoreProblem::None);
            std::vector<RunRecord> runs;
            for (int i = 0; i < 12; ++i) {
                RunRecord &run = runs.emplace_back();
                run.mode = mode;
                run.started = QDateTime(QDate(2024, 12, 28), QTime(23, 40 + i));
                run.score = -888;
                run.cutShort = true;
                run.missedKeys = {{QStringLiteral("Ｗ"), i + 1}};
                run.charsPerMinute = 888;
                run.accuracy = 1;
            }
            QCOMPARE(store.insertAll(runs), StoreProblem::None);
        }
        RecordKeeper keeper(path, {});
        RecordsWindow window(&keeper, m_services);
        window.open();
        QTRY_VERIFY(window.browser().loaded());
        checkTexts(window);
    }

    void a_line_too_long_for_its_box_is_drawn_smaller()
    {
        // State: a practice line far too long for the display box at its designed size.
        QTemporaryDir folder;
        TypingFakes fakes;
        const QString line = QStringLiteral("ながいながい おはなしの はじまり。").repeated(6);
        fakes.answer = writeTestFile(folder, QStringLiteral("long.txt"), line.toUtf8());
        TypingWindow window(TypingLanguage::Japanese, TypingDevices{m_services, m_services, fakes, fakes, fakes});
        window.open();
        window.mnuFileOpen_Click();
        // Action: Enter shows it. Expected: all of it shown, smaller than designed.
        QTest::keyClick(window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku")), Qt::Key_Return);
        auto *display = window.findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"));
        QVERIFY(display->font().pointSizeF() < 80.25);
        QVERIFY(boxShowsAll(*display));
    }
};

QTEST_MAIN(TextFitsTest)
#include "test_text_fits.moc"
