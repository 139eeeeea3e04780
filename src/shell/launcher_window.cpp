// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/menus.h"
#include "shell/launcher_window.h"

#include "platform/key_event.h"
#include "platform/posted_key_injector.h"
#include "platform/services.h"
#include "shell/launcher_entry.h"
#include "shell/launcher_layout.h"
#include "shell/mode_windows.h"
#include "shell/text_fit.h"
#include "shell/title_ticker.h"
#include "shell/widget_look.h"
#include "shell/window_services.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

namespace hoshi {

namespace {

constexpr int TickerIntervalMs = 500;

const std::array<QString, 6> &entryCaptions()
{
    static const std::array<QString, 6> captions{
        QStringLiteral("押せばわかる"),   QStringLiteral("どの指使うの"),
        QStringLiteral("ｱﾙﾌｧﾍﾞｯﾄに挑戦"), QStringLiteral("記号と数字も登場"),
        QStringLiteral("応用日本語入力"), QStringLiteral("応用英語入力"),
    };
    return captions;
}

} // namespace

LauncherWindow::LauncherWindow(ModeWindows &modes, Announcer &announcer, QWidget *parent)
    : QMainWindow(parent)
    , m_modes(modes)
    , m_announcer(announcer)
    , m_injector(std::make_unique<PostedKeyInjector>(this))
{
    setObjectName(QStringLiteral("frmEntrance"));
    setWindowTitle(QStringLiteral("ほしのたまごいりぐち"));
    auto *client = new QWidget(this);
    setColours(client, QColor(0, 0, 128), QColor(255, 255, 0));
    setCentralWidget(client);
    buildMenus();

    placeFillingScreen(this);
    m_ticker = new QTimer(this);
    m_ticker->setInterval(TickerIntervalMs);
    connect(m_ticker, &QTimer::timeout, this, &LauncherWindow::tickTitle);
    m_ticker->start();

    m_title = new QLabel(initialTitle(), client);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    m_title->setFont(japaneseFont(FontFace::Proportional, 48));
    keepTextInside(m_title);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFocusPolicy(Qt::NoFocus);
    // A fixed name: a screen reader would otherwise hear of a new one every tick.
    m_title->setAccessibleName(initialTitle().trimmed());
    setColours(m_title, QColor(0, 0, 128), QColor(255, 255, 0));
    buildEntries(client);
    m_entries[0]->setFocus(Qt::OtherFocusReason);
}

LauncherWindow::~LauncherWindow() = default;

QString LauncherWindow::initialTitle()
{
    return QStringLiteral("ほしのたまご Ver.２   ");
}

void LauncherWindow::buildMenus()
{
    QMenu *file = addMenu(this, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addEntry(file, QStringLiteral("mnuEnd"), QStringLiteral("終了(&X or Escape)"),
             [this] { emit endProgramRequested(); });
    addVersionEntry(this, QStringLiteral("バージョン(&V)"), sayThrough(m_announcer));
}

void LauncherWindow::buildEntries(QWidget *client)
{
    QWidget *previous = nullptr;
    for (int i = 0; i < 6; ++i) {
        auto *entry = new LauncherEntry(i + 1, entryCaptions()[static_cast<std::size_t>(i)], client);
        entry->installEventFilter(this);
        connect(entry, &LauncherEntry::focusGained, this, &LauncherWindow::onEntryFocused);
        if (previous)
            setTabOrder(previous, entry);
        previous = entry;
        m_entries[static_cast<std::size_t>(i)] = entry;
    }
}

LauncherEntry *LauncherWindow::entry(int number) const
{
    return number >= 1 && number <= 6 ? m_entries[static_cast<std::size_t>(number - 1)] : nullptr;
}

QString LauncherWindow::titleText() const
{
    return m_title->text();
}

void LauncherWindow::tickTitle()
{
    m_title->setText(rotateTitle(m_title->text()));
}

void LauncherWindow::onEntryFocused(LauncherEntry *focused)
{
    m_announcedOnce = true;
    m_announcer.announce(focused->announcement());
}

void LauncherWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be activated; the first
    // entry is still announced, so a listener knows the program is there.
    QTimer::singleShot(0, this, [this] {
        if (m_announcedOnce)
            return;
        m_entries[0]->showFocused(true);
        onEntryFocused(m_entries[0]);
    });
}

void LauncherWindow::MoveEntryFocus(int direction)
{
    const int shift = direction == 1 ? ShiftBit : 0;
    if (shift)
        m_injector->inject(VkShift, ShiftBit, KeyDirection::Down);
    m_injector->inject(VkTab, shift, KeyDirection::Down);
    m_injector->inject(VkTab, shift, KeyDirection::Up);
    if (shift)
        m_injector->inject(VkShift, 0, KeyDirection::Up);
}

bool LauncherWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !qobject_cast<LauncherEntry *>(watched))
        return QMainWindow::eventFilter(watched, event);
    const TranslatedKey key = translateKeyEvent(*static_cast<QKeyEvent *>(event));
    if (handleWindowKey(key.down))
        return true;
    return handleEntryKey(key.down, key.charCode);
}

// Window level: the key code alone decides, whatever the modifiers.
bool LauncherWindow::handleWindowKey(const KeyDown &down)
{
    switch (down.keyCode) {
    case VkDown: MoveEntryFocus(0); return true;
    case VkUp: MoveEntryFocus(1); return true;
    case VkEscape: emit endProgramRequested(); return true;
    default: break;
    }
    if (down.keyCode >= 49 && down.keyCode <= 54)
        m_modes.open(down.keyCode - 48);
    return false;
}

bool LauncherWindow::handleEntryKey(const KeyDown &down, std::optional<int> /*charCode*/)
{
    if (down.keyCode != VkReturn && down.keyCode != VkSpace)
        return false;
    for (LauncherEntry *candidate : m_entries) {
        if (candidate->hasFocus()) {
            m_modes.open(candidate->number());
            break;
        }
    }
    // Enter's character is discarded; the entries never change their text.
    return true;
}

void LauncherWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOut();
}

void LauncherWindow::layOut()
{
    if (!centralWidget() || !m_title)
        return;
    const TwipsLayout twips(*centralWidget());
    const LauncherLayout layout = launcherLayout(twips.units());
    const auto place = [&twips](QWidget *widget, const TwipsRect &r) {
        widget->setGeometry(twips.rect(r.left, r.top, r.width, r.height));
    };
    place(m_title, layout.title);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        place(m_entries[i], layout.entries[i]);
}

} // namespace hoshi
