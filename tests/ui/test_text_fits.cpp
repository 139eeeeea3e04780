// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as a user sees it, on the screen this test is given: no text
// is cut off by its box or by the window, nor touches their edges, read from
// the pixels each label draws.
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "app/app_records.h"
#include "app/mode_table.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_window.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/typing_window.h"
#include "platform/files/file_picker.h"
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
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <QScreen>
#include <QStyle>
#include <QScrollBar>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

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

// Off the ground by more than the faint edge of a smoothed glyph.
bool isInk(QRgb pixel, QRgb ground)
{
    const int off = std::abs(qRed(pixel) - qRed(ground)) + std::abs(qGreen(pixel) - qGreen(ground))
                    + std::abs(qBlue(pixel) - qBlue(ground)) + std::abs(qAlpha(pixel) - qAlpha(ground));
    return off > 96;
}

// What the label really draws, in its device pixels: the bounding box of its
// ink. Grabbed with spare room to its right and below, its text standing
// where it stood, so that what it draws past its own edges shows.
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
            if (isInk(line[x], ground))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Where the label's text may be drawn, in its device pixels: inside its frame
// and margin, and inside every widget it lies in up to the window's client area.
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

// The text of a text box, laid out as the box lays it out, against what the
// box shows; a scroll bar would mean some of it is out of sight.
bool boxShowsAll(const QPlainTextEdit &box)
{
    qreal height = 2 * box.document()->documentMargin();
    for (QTextBlock block = box.document()->firstBlock(); block.isValid(); block = block.next())
        height += block.layout()->boundingRect().height();
    return height <= box.viewport()->height() + 0.5 && !box.verticalScrollBar()->isVisible();
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
    const QString what = written(window.objectName() + '/' + label.objectName(), label.text(), label.font().pointSizeF());
    return QStringLiteral("%1 drawn at %2, its room %3").arg(what, placed(ink), placed(room));
}

// Every text of an open dialog box shown whole: its labels' ink inside their
// room, and each button given at least the room its caption asks for.
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
            return QStringLiteral("%1/%2 \"%3\" shown %4x%5, asks %6x%7")
                .arg(box.objectName(), button->objectName(), button->text())
                .arg(shown.width())
                .arg(shown.height())
                .arg(asked.width())
                .arg(asked.height());
    }
    return {};
}

// Opens a modal box with open(), checks it once it is shown and closes it,
// whatever the check found.
QString cutOffInModalBox(const std::function<void()> &open)
{
    QString cut = QStringLiteral("no box was shown");
    QTimer::singleShot(0, [&cut] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!QTest::qWaitForWindowExposed(box))
            cut = QStringLiteral("the box was never drawn");
        else
            cut = dialogCutOff(*box);
        box->reject();
    });
    open();
    return cut;
}

// The widest run of ink in `row` of the image: [left, right] in device pixels.
std::pair<int, int> inkColumns(const QImage &image, QRect row)
{
    row &= image.rect();
    const QRgb ground = groundOf(image, row);
    int left = row.right() + 1;
    int right = row.left() - 1;
    for (int y = row.top(); y <= row.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = row.left(); x <= row.right(); ++x) {
            if (isInk(line[x], ground)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

// How wide Qt draws the caption whole in the menu's font, in device pixels.
int wholeCaptionWidth(const QString &caption, const QMenu &menu)
{
    const double ratio = menu.devicePixelRatioF();
    const QSize logical = QFontMetrics(menu.font(), &menu).size(Qt::TextShowMnemonic, caption) + QSize(8, 4);
    // A pixmap has the screen's resolution, as the menu has.
    QPixmap drawn(logical * ratio);
    drawn.setDevicePixelRatio(ratio);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    // At the size the menu's font was matched to, made firm (as the style draws it): a
    // class font's size would give way to the pixmap's default.
    QFont font = menu.font();
    font.setPointSizeF(QFontInfo(menu.font()).pointSizeF());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(4, 2), logical), Qt::TextShowMnemonic, caption);
    painter.end();
    const QImage image = drawn.toImage().convertToFormat(QImage::Format_ARGB32);
    const auto [left, right] = inkColumns(image, image.rect());
    return right - left + 1;
}

struct TypingFakes final : VoiceFactory, FilePicker, EditorLauncher {
    std::unique_ptr<Speaker> createVoice() override { return nullptr; }
    QString chooseTextFile(QWidget *, const TextFileRequest &) override { return answer; }
    bool startEditor() override { return true; }
    QString answer;
};

} // namespace

// The launcher's modes, none of them opening a window.
std::vector<Mode> tableModes()
{
    std::vector<Mode> modes;
    for (const ModeEntry &entry : modeTable())
        modes.push_back({entry.number, entry.caption, {}});
    return modes;
}

class TextFitsTest : public QObject {
    Q_OBJECT

private:
    // Every shown text of the window: inside its box and its window.
    void checkTexts(QWidget &window)
    {
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Twice: a label sized to its text takes its fitted size as it is drawn.
        window.grab();
        window.grab();
        const QWidget *client = static_cast<QMainWindow &>(window).centralWidget();
        for (QLabel *label : window.findChildren<QLabel *>()) {
            if (!label->isVisibleTo(&window) || label->text().isEmpty() || label->objectName().isEmpty())
                continue;
            const QString cut = labelCutOff(window, *label, *client);
            QVERIFY2(cut.isEmpty(), qPrintable(cut));
        }
        for (const QListWidget *list : window.findChildren<QListWidget *>()) {
            const QString cut = rowCutOff(*list);
            QVERIFY2(cut.isEmpty(), qPrintable(window.objectName() + QStringLiteral(": ") + cut));
        }
        for (const QPlainTextEdit *box : window.findChildren<QPlainTextEdit *>()) {
            QVERIFY2(boxShowsAll(*box), qPrintable(written(box->objectName(), box->toPlainText(),
                                                            box->font().pointSizeF())));
        }
    }

    // Every menu of the window: the menu bar's entries all on the bar, and each
    // open menu's captions drawn whole (as long as Qt draws them on their own);
    // in high contrast, each open menu edged in the mark colour.
    void checkMenus(QMainWindow &window)
    {
        QMenuBar *bar = window.menuBar();
        for (QAction *entry : bar->actions()) {
            // The bar refits once its entries have come.
            QTRY_VERIFY2(bar->rect().contains(bar->actionGeometry(entry)),
                     qPrintable(QStringLiteral("menu bar entry %1 at %2, the bar %3")
                                    .arg(entry->text(), placed(bar->actionGeometry(entry)), placed(bar->rect()))));
            if (QMenu *menu = entry->menu())
                checkMenu(window, *menu);
        }
    }

    void checkMenu(QMainWindow &window, QMenu &menu)
    {
        menu.popup(window.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        menu.setActiveAction(nullptr);
        const double ratio = menu.devicePixelRatioF();
        const QImage image = menu.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        menu.hide();
        if (currentContrast() == Contrast::High) {
            const QRgb mark = menu.palette().color(QPalette::Highlight).rgb();
            for (const QPoint edge : {QPoint(image.width() / 2, 0), QPoint(0, image.height() / 2),
                                      QPoint(image.width() / 2, image.height() - 1), QPoint(image.width() - 1, image.height() / 2)})
                QVERIFY2(image.pixel(edge) == mark, qPrintable(menu.objectName() + " has no edge that shows"));
        }
        // An entry's row inside the lines the style draws round the menu.
        const auto row = [&menu, ratio](QAction *entry) {
            const int edge = menu.style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &menu) + 2;
            return inDevicePixels(menu.actionGeometry(entry) & menu.rect().adjusted(edge, edge, -edge, -edge), ratio);
        };
        // Captions start where the unchecked ones' ink starts; checked ones have a mark before it.
        int textLeft = image.width();
        for (QAction *entry : menu.actions()) {
            if (!entry->isSeparator() && !entry->isChecked())
                textLeft = std::min(textLeft, inkColumns(image, row(entry)).first);
        }
        for (QAction *entry : menu.actions()) {
            // A menu taller than the screen scrolls: what is out of sight is not drawn.
            if (entry->isSeparator() || !menu.rect().contains(menu.actionGeometry(entry)))
                continue;
            const int drawn = inkColumns(image, row(entry)).second - textLeft + 1;
            const int whole = wholeCaptionWidth(entry->text(), menu);
            // A shortened caption loses a few characters to its "…".
            QVERIFY2(drawn >= whole * 0.97 - 2 * ratio,
                     qPrintable(QStringLiteral("%1 in %2 drawn %3 px wide, whole %4 px")
                                    .arg(entry->text(), menu.objectName()).arg(drawn).arg(whole)));
        }
    }

    RecordingServices m_services;

private slots:
    void initTestCase() { useLargeMenus(); }

    void menus_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("high");
        for (const char *window : {"launcher", "drill", "typing"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, designed").arg(window))) << window << false;
            QTest::newRow(qPrintable(QStringLiteral("%1, high contrast").arg(window))) << window << true;
        }
    }

    void menus()
    {
        QFETCH(QString, window);
        QFETCH(bool, high);
        useContrast(high ? Contrast::High : Contrast::Designed);
        KeptPreferences kept;
        TypingFakes fakes;
        ModeRegistry registry(tableModes());
        std::unique_ptr<QMainWindow> shown;
        if (window == QLatin1String("launcher")) {
            LauncherSettings settings;
            settings.preferences = &kept;
            shown = std::make_unique<LauncherWindow>(registry, m_services, settings);
            shown->show();
        } else if (window == QLatin1String("drill")) {
            auto drill = std::make_unique<DrillWindow>(alphabetDrillProfile(), m_services, m_services,
                                                       std::make_unique<ScriptedRandom>(), nullptr, &kept);
            drill->open();
            shown = std::move(drill);
        } else {
            auto typing = std::make_unique<TypingWindow>(
                TypingLanguage::Japanese, TypingDevices{m_services, m_services, fakes, fakes, fakes, nullptr, &kept});
            typing->open();
            shown = std::move(typing);
        }
        // The records' entries too, as every window of the program has them.
        AppRecords records(false, m_services);
        records.addEntries(*shown, window == QLatin1String("drill") ? 3 : 0);
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        checkMenus(*shown);
        useContrast(Contrast::Designed);
    }

    void windows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key"); // pressed once it is open
        QTest::newRow("launcher") << "launcher" << 0;
        QTest::newRow("key guide, opened") << "key guide" << 0;
        QTest::newRow("key guide, BackSpace") << "key guide" << int(Qt::Key_Backspace);
        QTest::newRow("key guide, Page Down") << "key guide" << int(Qt::Key_PageDown);
        QTest::newRow("key guide, F12") << "key guide" << int(Qt::Key_F12);
        QTest::newRow("finger guide") << "finger guide" << 0;
        QTest::newRow("letters drill") << "letters" << 0;
        QTest::newRow("letters drill, running") << "letters" << int(Qt::Key_Space);
        QTest::newRow("symbols drill, running") << "symbols" << int(Qt::Key_Space);
    }

    void windows()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        ModeRegistry registry(tableModes());
        std::unique_ptr<QMainWindow> shown;
        if (window == QLatin1String("launcher")) {
            shown = std::make_unique<LauncherWindow>(registry, m_services);
            shown->show();
        } else {
            std::unique_ptr<ModeWindow> mode;
            if (window == QLatin1String("key guide"))
                mode = std::make_unique<KeyGuideWindow>(m_services);
            else if (window == QLatin1String("finger guide"))
                mode = std::make_unique<FingerGuideWindow>(m_services, m_services);
            else
                mode = std::make_unique<DrillWindow>(window == QLatin1String("symbols") ? numbersAndSymbolsDrillProfile()
                                                                                       : alphabetDrillProfile(),
                                                     m_services, m_services, std::make_unique<ScriptedRandom>());
            mode->open();
            shown = std::move(mode);
        }
        if (key)
            QTest::keyClick(shown.get(), Qt::Key(key));
        checkTexts(*shown);
    }

    void typing_windows_data()
    {
        QTest::addColumn<TypingLanguage>("language");
        QTest::addColumn<QString>("line");
        QTest::newRow("japanese, nothing opened") << TypingLanguage::Japanese << QString();
        QTest::newRow("japanese") << TypingLanguage::Japanese << QStringLiteral("ケーキにローソクを立てる。");
        QTest::newRow("english") << TypingLanguage::English << QStringLiteral("What is your name?");
    }

    void typing_windows()
    {
        // State: a practice line shown and half of it typed, or none opened yet.
        QFETCH(TypingLanguage, language);
        QFETCH(QString, line);
        QTemporaryDir folder;
        TypingFakes fakes;
        fakes.answer = writeTestFile(folder, QStringLiteral("one.txt"), line.toUtf8());
        TypingWindow window(language, TypingDevices{m_services, m_services, fakes, fakes, fakes});
        window.open();
        if (!line.isEmpty()) {
            window.mnuFileOpen_Click();
            auto *input = window.findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku"));
            QTest::keyClick(input, Qt::Key_Return);
            input->insertPlainText(line.left(line.size() / 2));
        }
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

    void dialogs_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("version") << QStringLiteral("version");
        QTest::newRow("a file that cannot be read") << QStringLiteral("failure");
        QTest::newRow("open a file") << QStringLiteral("file");
    }

    void dialogs()
    {
        QFETCH(QString, box);
        QWidget parent;
        parent.setObjectName(QStringLiteral("typing"));
        parent.resize(parent.screen()->availableGeometry().size());
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QString cut;
        if (box == QLatin1String("version")) {
            cut = cutOffInModalBox([&parent] { showVersionBox(&parent, {}); });
        } else if (box == QLatin1String("failure")) {
            const QString longName = QStringLiteral("/home/こども/ドキュメント/れんしゅう/") + QStringLiteral("なが").repeated(20) + ".txt";
            cut = cutOffInModalBox([&] {
                showMessageBox(&parent, MessageKind::Failure, QStringLiteral("日本語タイピング"),
                               QStringLiteral("ファイルを ひらけませんでした。\n") + longName, QStringLiteral("typingMessage"));
            });
        } else {
            QTemporaryDir folder;
            writeTestFile(folder, QStringLiteral("おはなし.txt"), "あ");
            DialogFilePicker picker;
            TextFileRequest request;
            request.startFolder = folder.path();
            cut = cutOffInModalBox([&] { picker.chooseTextFile(&parent, request); });
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }

    void a_line_too_long_for_its_box_is_drawn_smaller()
    {
        // State: a practice line far too long for the display box at its designed size.
        QTemporaryDir folder;
        TypingFakes fakes;
        // Longer in step with the area of a screen larger than 1920 by 1080.
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const int repeats = 6 * std::max(1, screen.width() * screen.height() / (1920 * 1080));
        const QString line = QStringLiteral("ながいながい おはなしの はじまり。").repeated(repeats);
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
