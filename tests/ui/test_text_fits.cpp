// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and box on the screen this test is given: no text cut off by its box or
// the window, nor touching their edges, read from the pixels each label draws; and every
// window's texts against what lies behind them in high contrast, from its own palettes.
#include "app/mode_table.h"
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "platform/files/file_picker.h"
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_window.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/typing_window.h"
#include "ui/menu_look.h"
#include "ui/message_box.h"
#include "ui/version_box.h"
#include "ui/widget_look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <functional>
#include <map>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

// Every window of the program, opened on recording services.
class EveryWindow {
public:
    // The window, opened. A line given to a typing window is shown and half typed; a mode
    // given to the records window has twelve runs kept, with scores of three figures.
    std::unique_ptr<QMainWindow> open(const QString &which, const QString &given = {})
    {
        if (which == QLatin1String("launcher")) {
            auto launcher = std::make_unique<LauncherWindow>(m_registry, services);
            launcher->show();
            return launcher;
        }
        if (which == QLatin1String("records")) {
            if (!given.isEmpty())
                m_keeper = std::make_unique<RecordKeeper>(keptRuns(given), RecordKeeper::ProblemListener{});
            auto window = std::make_unique<RecordsWindow>(m_keeper.get(), services);
            window->open();
            return window;
        }
        if (which == QLatin1String("japanese") || which == QLatin1String("english"))
            return typing(which == QLatin1String("english") ? TypingLanguage::English : TypingLanguage::Japanese, given);
        std::unique_ptr<ModeWindow> mode;
        if (which == QLatin1String("key guide"))
            mode = std::make_unique<KeyGuideWindow>(services);
        else if (which == QLatin1String("finger guide"))
            mode = std::make_unique<FingerGuideWindow>(services, services);
        else
            mode = std::make_unique<DrillWindow>(which.contains(QLatin1String("symbols")) ? numbersAndSymbolsDrillProfile()
                                                                                         : alphabetDrillProfile(),
                                                 services, services, std::make_unique<ScriptedRandom>());
        mode->open();
        return mode;
    }

    RecordingServices services;
    QTemporaryDir folder;

private:
    struct TypingFakes final : VoiceFactory, FilePicker, EditorLauncher {
        std::unique_ptr<Speaker> createVoice() override { return nullptr; }
        QString chooseTextFile(QWidget *, const TextFileRequest &) override { return answer; }
        bool startEditor() override { return true; }
        QString answer;
    };

    static std::vector<Mode> tableModes()
    {
        std::vector<Mode> modes;
        for (const ModeEntry &entry : modeTable())
            modes.push_back({entry.number, entry.caption, {}});
        return modes;
    }

    std::unique_ptr<QMainWindow> typing(TypingLanguage language, const QString &line)
    {
        m_fakes.answer = writeTestFile(folder, QStringLiteral("one.txt"), line.toUtf8());
        auto window = std::make_unique<TypingWindow>(language, TypingDevices{services, services, m_fakes, m_fakes, m_fakes});
        window->open();
        if (!line.isEmpty()) {
            window->mnuFileOpen_Click();
            auto *input = window->findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku"));
            QTest::keyClick(input, Qt::Key_Return);
            input->insertPlainText(line.left(line.size() / 2));
        }
        return window;
    }

    QString keptRuns(const QString &mode)
    {
        const QString path = folder.filePath(QStringLiteral("records.sqlite"));
        RecordStore store(path, QStringLiteral("fits"));
        std::vector<RunRecord> runs;
        for (int i = 0; i < 12; ++i)
            runs.push_back({.mode = mode, .started = QDateTime(QDate(2024, 12, 28), QTime(23, 40 + i)), .score = -888,
                            .cutShort = true, .missedKeys = {{QStringLiteral("Ｗ"), i + 1}}, .charsPerMinute = 888,
                            .accuracy = 1, .practiceFile = {}});
        return store.open() == StoreProblem::None && store.insertAll(runs) == StoreProblem::None ? path : QString();
    }

    TypingFakes m_fakes;
    ModeRegistry m_registry{tableModes()};
    std::unique_ptr<RecordKeeper> m_keeper;
};

QRect inDevicePixels(QRect rect, double ratio)
{
    return QRect(QPoint(qCeil(rect.left() * ratio), qCeil(rect.top() * ratio)),
                 QPoint(qFloor((rect.right() + 1) * ratio) - 1, qFloor((rect.bottom() + 1) * ratio) - 1));
}

// The commonest colour of the region: what the text is drawn on.
QRgb groundOf(const QImage &image, QRect region)
{
    std::map<QRgb, int> counts;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[line[x]];
    }
    return std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })->first;
}

// The bounding box of what the label draws, in device pixels: grabbed with spare room
// to its right and below, its text where it stood, so that ink past its edges shows.
// Ink is off the ground by more than the faint edge of a smoothed glyph.
QRect inkOf(QLabel &label)
{
    constexpr int Spare = 200;
    const QRect placedAt = label.geometry();
    const QMargins margins = label.contentsMargins();
    label.setContentsMargins(margins + QMargins(0, 0, Spare, Spare));
    label.resize(placedAt.size() + QSize(Spare, Spare));
    const double ratio = label.devicePixelRatioF();
    const QRect inside = label.contentsRect();
    const QImage image = label.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    label.setGeometry(placedAt);
    label.setContentsMargins(margins);
    const QRect region = inDevicePixels(inside, ratio) & image.rect();
    const QRgb ground = groundOf(image, region);
    QRect ink;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb p = line[x];
            if (qAbs(qRed(p) - qRed(ground)) + qAbs(qGreen(p) - qGreen(ground)) + qAbs(qBlue(p) - qBlue(ground))
                    + qAbs(qAlpha(p) - qAlpha(ground)) > 96)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Where the label's text may be drawn, in device pixels: inside its frame and margin
// and every widget it lies in, up to the client area.
QRect roomOf(const QLabel &label, const QWidget &client)
{
    const int margin = label.margin();
    QRect room = label.contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
    for (const QWidget *outer = label.parentWidget(); outer; outer = outer->parentWidget()) {
        room &= QRect(label.mapFrom(outer, QPoint(0, 0)), outer->size());
        if (outer == &client)
            break;
    }
    return inDevicePixels(room, label.devicePixelRatioF());
}

// A text box's text, laid out as the box lays it out, within what it shows, with no scroll bar.
bool boxShowsAll(const QPlainTextEdit &box)
{
    qreal height = 2 * box.document()->documentMargin();
    for (QTextBlock block = box.document()->firstBlock(); block.isValid(); block = block.next())
        height += block.layout()->boundingRect().height();
    return height <= box.viewport()->height() + 0.5 && !box.verticalScrollBar()->isVisible();
}

// Each row of a list shown whole: wrapped inside the list's width, no taller than the list.
QString rowCutOff(const QListWidget &list)
{
    const QRect view = list.viewport()->rect();
    for (int i = 0; i < list.count(); ++i) {
        const QRect row = list.visualItemRect(list.item(i));
        const QRectF text = QFontMetricsF(list.font(), &list)
                                .boundingRect(QRectF(0, 0, row.width(), 1e6), Qt::TextWordWrap, list.item(i)->text());
        if (row.width() > view.width() || row.height() > view.height() || text.width() > row.width() + 0.5
            || text.height() > row.height() + 0.5)
            return QStringLiteral("%1: \"%2\" at %3 pt").arg(list.objectName(), list.item(i)->text()).arg(list.font().pointSizeF());
    }
    return {};
}

QString placed(QRect rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

// The label's ink inside its room and clear of a frame drawn around it, or what is wrong.
QString labelCutOff(const QWidget &window, QLabel &label, const QWidget &client)
{
    const QRect room = roomOf(label, client);
    const QRect ink = inkOf(label);
    const int gap = label.frameWidth() > 0 ? 1 : 0;
    if (ink.isEmpty() || room.adjusted(gap, gap, -gap, -gap).contains(ink))
        return {};
    return QStringLiteral("%1/%2 \"%3\" at %4 pt drawn at %5, its room %6")
        .arg(window.objectName(), label.objectName(), label.text())
        .arg(label.font().pointSizeF())
        .arg(placed(ink), placed(room));
}

// An open box's labels' ink inside their room, each button given the room its caption asks for.
QString dialogCutOff(QDialog &box)
{
    for (QLabel *label : box.findChildren<QLabel *>()) {
        if (!label->isVisibleTo(&box) || label->text().isEmpty())
            continue;
        if (QString cut = labelCutOff(box, *label, box); !cut.isEmpty())
            return cut;
    }
    for (const QAbstractButton *button : box.findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(&box) || button->text().isEmpty())
            continue;
        const QSize asked = button->sizeHint();
        const QRect shown = QRect(button->mapTo(&box, QPoint(0, 0)), button->size()) & box.rect();
        if (shown.width() < asked.width() || shown.height() < asked.height())
            return QStringLiteral("%1/%2 \"%3\" shown %4, asks %5x%6")
                .arg(box.objectName(), button->objectName(), button->text(), placed(shown))
                .arg(asked.width())
                .arg(asked.height());
    }
    return {};
}

// Opens a modal box with open(), checks it once it is shown and closes it.
QString cutOffInModalBox(const std::function<void()> &open)
{
    QString cut = QStringLiteral("no box was shown");
    QTimer::singleShot(0, [&cut] {
        if (auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            cut = QTest::qWaitForWindowExposed(box) ? dialogCutOff(*box) : QStringLiteral("the box was never drawn");
            box->reject();
        }
    });
    open();
    return cut;
}

// The colour a widget is seen on: its own filled background or the nearest one behind it.
QColor behind(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget->autoFillBackground() || widget->isWindow())
            return widget->palette().color(QPalette::Window);
    }
    return {};
}

struct Pair {
    QString name;
    QColor text;
    QColor ground;
};

// Every text shown in the window, with the colours it is drawn in; a list's selected
// row whether the window has the focus or not.
QList<Pair> textsOf(const QMainWindow &window)
{
    QList<Pair> pairs;
    const auto group = [](const QWidget *w) { return w->isEnabled() ? QPalette::Active : QPalette::Disabled; };
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->isVisibleTo(&window) && !label->text().trimmed().isEmpty())
            pairs.append({label->objectName(), label->palette().color(group(label), QPalette::WindowText), behind(label)});
    }
    for (const QPlainTextEdit *box : window.findChildren<QPlainTextEdit *>())
        pairs.append({box->objectName(), box->palette().color(QPalette::Text), box->palette().color(QPalette::Base)});
    for (const QPushButton *b : window.findChildren<QPushButton *>()) {
        if (b->isVisibleTo(&window))
            pairs.append({b->objectName(), b->palette().color(group(b), QPalette::ButtonText),
                          b->palette().color(group(b), QPalette::Button)});
    }
    for (const QListWidget *list : window.findChildren<QListWidget *>()) {
        const QPalette &colours = list->palette();
        pairs.append({list->objectName() + " rows", colours.color(QPalette::Text), colours.color(QPalette::Base)});
        for (const QPalette::ColorGroup focus : {QPalette::Active, QPalette::Inactive})
            pairs.append({list->objectName() + " selected row", colours.color(focus, QPalette::HighlightedText),
                          colours.color(focus, QPalette::Highlight)});
    }
    const QMenuBar *bar = window.menuBar();
    pairs.append({QStringLiteral("menu bar"), bar->palette().color(QPalette::ButtonText),
                  bar->palette().color(QPalette::Button)});
    return pairs;
}

} // namespace

class TextFitsTest : public QObject {
    Q_OBJECT

    EveryWindow m_windows;

private slots:
    void initTestCase() { useLargeMenus(); }
    void cleanup() { useContrast(Contrast::Designed); }

    void windows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key"); // pressed once it is open
        QTest::addColumn<QString>("given");
        QTest::newRow("launcher") << "launcher" << 0 << QString();
        QTest::newRow("key guide, opened") << "key guide" << 0 << QString();
        QTest::newRow("key guide, BackSpace") << "key guide" << int(Qt::Key_Backspace) << QString();
        QTest::newRow("key guide, Page Down") << "key guide" << int(Qt::Key_PageDown) << QString();
        QTest::newRow("finger guide") << "finger guide" << 0 << QString();
        QTest::newRow("letters drill") << "letters" << 0 << QString();
        QTest::newRow("letters drill, running") << "letters" << int(Qt::Key_Space) << QString();
        QTest::newRow("symbols drill, running") << "symbols" << int(Qt::Key_Space) << QString();
        QTest::newRow("japanese, nothing opened") << "japanese" << 0 << QString();
        QTest::newRow("japanese") << "japanese" << 0 << QStringLiteral("ケーキにローソクを立てる。");
        QTest::newRow("english") << "english" << 0 << QStringLiteral("What is your name?");
        QTest::newRow("records of a drill") << "records" << 0 << QStringLiteral("frmYubiren3");
        QTest::newRow("records of typing, the longest rows") << "records" << 0 << QStringLiteral("frmJapanese");
    }

    void windows()
    {
        // Expected: every shown text inside its box and its window, and the menu bar's entries on the bar.
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(QString, given);
        const auto shown = m_windows.open(window, given);
        if (key)
            QTest::keyClick(shown.get(), Qt::Key(key));
        if (window == QLatin1String("japanese") || window == QLatin1String("english"))
            QCOMPARE(shown->findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"))->toPlainText(), given);
        if (window == QLatin1String("records"))
            QTRY_VERIFY(static_cast<RecordsWindow &>(*shown).browser().loaded());
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        // Twice: a label sized to its text takes its fitted size as it is drawn.
        shown->grab();
        shown->grab();
        QStringList cuts;
        for (QLabel *label : shown->findChildren<QLabel *>())
            if (label->isVisibleTo(shown.get()) && !label->text().isEmpty() && !label->objectName().isEmpty())
                cuts << labelCutOff(*shown, *label, *shown->centralWidget());
        for (const QListWidget *list : shown->findChildren<QListWidget *>())
            cuts << rowCutOff(*list);
        for (const QPlainTextEdit *box : shown->findChildren<QPlainTextEdit *>())
            cuts << (boxShowsAll(*box) ? QString() : box->objectName() + QStringLiteral(" at %1 pt").arg(box->font().pointSizeF()));
        cuts.removeAll(QString());
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
        const QMenuBar *bar = shown->menuBar();
        for (QAction *entry : bar->actions())
            QTRY_VERIFY2(bar->rect().contains(bar->actionGeometry(entry)), qPrintable(entry->text()));
        // In high contrast: each text 7:1 on what lies behind it, a list's selected row 7:1 in the
        // designed colours too; turned back, the designed colours return.
        const QList<Pair> designed = textsOf(*shown);
        useContrast(Contrast::High);
        const QList<Pair> high = textsOf(*shown);
        QCOMPARE(high.size(), designed.size());
        for (qsizetype i = 0; i < high.size(); ++i) {
            const Pair &pair = high[i];
            // The finger guide's reading is written for the ear: unseen in both modes.
            if (window == QLatin1String("finger guide") && pair.name == QLatin1String("lblYubi")) {
                QCOMPARE(pair.text, pair.ground);
                continue;
            }
            const double ratio = contrastRatio(pair.text, pair.ground);
            QVERIFY2(ratio >= 7.0, qPrintable(QStringLiteral("%1/%2 at %3:1").arg(window, pair.name).arg(ratio)));
            const double designedRatio = contrastRatio(designed[i].text, designed[i].ground);
            QVERIFY2(!pair.name.endsWith(QLatin1String("selected row")) || designedRatio >= 7.0,
                     qPrintable(QStringLiteral("%1/%2 at %3:1 designed").arg(window, pair.name).arg(designedRatio)));
        }
        // A drill's time bar 4.5:1 on its box, and its box on the window or the window's own colour.
        if (const auto *scale = shown->findChild<QWidget *>(QStringLiteral("shpScale"))) {
            const QColor box = shown->findChild<QWidget *>(QStringLiteral("shpBox"))->palette().color(QPalette::Window);
            QVERIFY(contrastRatio(scale->palette().color(QPalette::Window), box) >= 4.5);
            const double boxOnWindow = contrastRatio(box, behind(scale->parentWidget()));
            QVERIFY(boxOnWindow >= 4.5 || boxOnWindow == 1.0);
        }
        useContrast(Contrast::Designed);
        const QList<Pair> back = textsOf(*shown);
        for (qsizetype i = 0; i < back.size(); ++i)
            QVERIFY(back[i].text == designed[i].text && back[i].ground == designed[i].ground);
    }

    void dialogs()
    {
        // The version box, a file that cannot be read, the file picker: each box shown whole.
        QWidget parent;
        parent.setObjectName(QStringLiteral("typing"));
        parent.resize(parent.screen()->availableGeometry().size());
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QString longName = QStringLiteral("/home/こども/れんしゅう/") + QStringLiteral("なが").repeated(20) + ".txt";
        writeTestFile(m_windows.folder, QStringLiteral("おはなし.txt"), "あ");
        DialogFilePicker picker;
        TextFileRequest request;
        request.startFolder = m_windows.folder.path();
        const std::function<void()> boxes[]{
            [&parent] { showVersionBox(&parent, {}); },
            [&] {
                showMessageBox(&parent, MessageKind::Failure, QStringLiteral("日本語タイピング"),
                               QStringLiteral("ファイルを ひらけませんでした。\n") + longName, QStringLiteral("typingMessage"));
            },
            [&] { picker.chooseTextFile(&parent, request); }};
        for (const auto &open : boxes) {
            const QString cut = cutOffInModalBox(open);
            QVERIFY2(cut.isEmpty(), qPrintable(cut));
        }
    }

    void a_line_too_long_for_its_box_is_drawn_smaller()
    {
        // State: a line far too long for the display box at its designed size, longer on a larger screen.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const int repeats = 6 * std::max(1, screen.width() * screen.height() / (1920 * 1080));
        const auto window = m_windows.open(QStringLiteral("japanese"), QStringLiteral("ながいながい おはなしの はじまり。").repeated(repeats));
        // Expected: all of it shown, smaller than designed.
        auto *display = window->findChild<QPlainTextEdit *>(QStringLiteral("txtHyoji"));
        QVERIFY(display->font().pointSizeF() < 80.25);
        QVERIFY(boxShowsAll(*display));
    }
};

QTEST_MAIN(TextFitsTest)
#include "test_text_fits.moc"
