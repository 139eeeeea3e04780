// SPDX-License-Identifier: GPL-3.0-or-later
// Every window's texts against what lies behind them, from its own palettes: in high
// contrast each text 7:1, each time bar 4.5:1, a list's selected row 7:1 in both.
#include "every_window.h"
#include "launcher/launcher_entry.h"
#include "ui/widget_look.h"

#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace hoshi;
using namespace hoshi::testing;

namespace {

// The colour a widget is seen on: its own filled background or the nearest one behind it.
QColor groundOf(const QWidget *widget)
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
            pairs.append({label->objectName(), label->palette().color(group(label), QPalette::WindowText), groundOf(label)});
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

class ContrastTest : public QObject {
    Q_OBJECT

    EveryWindow m_windows;

    std::unique_ptr<QMainWindow> make(const QString &which)
    {
        auto window = m_windows.open(which.section(u',', 0, 0));
        if (which == QLatin1String("launcher"))
            static_cast<LauncherWindow &>(*window).entry(2)->showFocused(true);
        if (which.endsWith(QLatin1String("running")))
            QTest::keyClick(window.get(), Qt::Key_Space);
        return window;
    }

private slots:
    void cleanup() { useContrast(Contrast::Designed); }

    void everyTextReachesSevenToOneInHighContrast_data()
    {
        QTest::addColumn<QString>("which");
        for (const char *which : {"launcher", "key guide", "finger guide", "letters", "letters, running",
                                  "symbols, running", "japanese", "english", "records"})
            QTest::newRow(which) << QString::fromLatin1(which);
    }
    void everyTextReachesSevenToOneInHighContrast()
    {
        QFETCH(QString, which);
        const auto window = make(which);
        const QList<Pair> designed = textsOf(*window);
        useContrast(Contrast::High);
        const QList<Pair> high = textsOf(*window);
        QCOMPARE(high.size(), designed.size());
        for (qsizetype i = 0; i < high.size(); ++i) {
            const Pair &pair = high[i];
            // The finger guide's reading is written for the ear: unseen in both modes.
            if (which == QLatin1String("finger guide") && pair.name == QLatin1String("lblYubi")) {
                QCOMPARE(pair.text, pair.ground);
                continue;
            }
            const double ratio = contrastRatio(pair.text, pair.ground);
            QVERIFY2(ratio >= 7.0, qPrintable(QStringLiteral("%1/%2 at %3:1").arg(which, pair.name).arg(ratio)));
            // Low vision finds and reads the row chosen: 7:1 in the designed colours too.
            const double designedRatio = contrastRatio(designed[i].text, designed[i].ground);
            QVERIFY2(!pair.name.endsWith(QLatin1String("selected row")) || designedRatio >= 7.0,
                     qPrintable(QStringLiteral("%1/%2 at %3:1 designed").arg(which, pair.name).arg(designedRatio)));
        }
        // A drill's time bar stands out on its box, and its box on the window or is the window's own.
        if (const auto *bar = window->findChild<QWidget *>(QStringLiteral("shpScale"))) {
            const auto *box = window->findChild<QWidget *>(QStringLiteral("shpBox"));
            QVERIFY(contrastRatio(bar->palette().color(QPalette::Window), box->palette().color(QPalette::Window)) >= 4.5);
            const double boxOnWindow = contrastRatio(box->palette().color(QPalette::Window), groundOf(box->parentWidget()));
            QVERIFY(boxOnWindow >= 4.5 || boxOnWindow == 1.0);
        }
        // Turned back: every text in its designed colours again.
        useContrast(Contrast::Designed);
        const QList<Pair> back = textsOf(*window);
        for (qsizetype i = 0; i < back.size(); ++i) {
            QCOMPARE(back[i].text, designed[i].text);
            QCOMPARE(back[i].ground, designed[i].ground);
        }
    }
};

QTEST_MAIN(ContrastTest)
#include "test_contrast.moc"
