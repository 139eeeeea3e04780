// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/launcher_window.h"

#include "ui/menu_voice.h"

#include "platform/api/interfaces.h"
#include "platform/keys/key_event.h"
#include "platform/keys/posted_key_injector.h"
#include "launcher/launcher_entry.h"
#include "launcher/launcher_layout.h"
#include "launcher/mode_registry.h"
#include "launcher/title_ticker.h"
#include "ui/fonts.h"
#include "ui/key_preview.h"
#include "ui/menus.h"
#include "ui/say_text.h"
#include "ui/text_fit.h"
#include "ui/twips_layout.h"
#include "ui/widget_look.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace hoshi {

namespace {
// K (きろく) opens the records window; no entry uses a letter.
constexpr int RecordsKey = VkA + ('K' - 'A');
} // namespace

namespace {

constexpr int TickerIntervalMs = 500;
constexpr qint64 MenuGraceMs = 1000;

} // namespace

LauncherWindow::LauncherWindow(ModeRegistry &modes, Announcer &announcer, const LauncherSettings &settings,
                               QWidget *parent)
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
    buildMenus(settings);

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
    if (!m_entries.empty())
        m_entries.front()->setFocus(Qt::OtherFocusReason);
}

LauncherWindow::~LauncherWindow() = default;

QString LauncherWindow::initialTitle()
{
    return QStringLiteral("ほしのたまご Ver.２   ");
}

void LauncherWindow::buildMenus(const LauncherSettings &settings)
{
    QMenu *file = addMenu(this, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addEntry(file, QStringLiteral("mnuEnd"), QStringLiteral("終了(&X or Escape)"),
             [this] { emit endProgramRequested(); });
    buildSettingsMenu(this, settings);
    addVersionEntry(this, QStringLiteral("バージョン(&V)"), sayThrough(m_announcer));
    speakMenus(this, menuHintThrough(m_announcer));
    for (QMenu *menu : findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToHide, this, [this] { m_menuClosed.start(); });
}

void LauncherWindow::buildEntries(QWidget *client)
{
    // Keys reach the window's handling before the focused entry's.
    auto *keys = new KeyPreview([this](const TranslatedKey &key) { return handleKey(key.down); }, this);
    QWidget *previous = nullptr;
    for (const Mode &mode : m_modes.modes()) {
        auto *entry = new LauncherEntry(mode.number, mode.caption, client);
        keys->watch(entry);
        connect(entry, &LauncherEntry::focusGained, this, &LauncherWindow::onEntryFocused);
        if (previous)
            setTabOrder(previous, entry);
        previous = entry;
        m_entries.push_back(entry);
    }
}

LauncherEntry *LauncherWindow::entry(int number) const
{
    for (LauncherEntry *candidate : m_entries) {
        if (candidate->number() == number)
            return candidate;
    }
    return nullptr;
}

QString LauncherWindow::titleText() const
{
    return m_title->text();
}

void LauncherWindow::tickTitle()
{
    m_title->setText(rotateTitle(m_title->text()));
}

void LauncherWindow::onEntryFocused(LauncherEntry *focused, Qt::FocusReason reason)
{
    // A window manager activates the window just after its start: the entry
    // announced at the start is not announced again. Coming back later is.
    // Nor is it when the window is activated again just after one of its
    // menus closed (X hands the keyboard back late on a slow machine): the
    // menu has said what it did, which this would cut short. Nor when the
    // menu bar, left, hands the focus back to the entry it took it from.
    const bool activated = reason == Qt::ActiveWindowFocusReason;
    const bool firstActivation = activated && !m_activatedBefore;
    const bool backFromMenu = activated && m_menuClosed.isValid() && m_menuClosed.elapsed() < MenuGraceMs;
    if (activated)
        m_activatedBefore = true;
    const bool backFromMenuBar = reason == Qt::MenuBarFocusReason;
    if ((firstActivation || backFromMenu || backFromMenuBar) && focused == m_lastAnnounced)
        return;
    m_announcedOnce = true;
    m_lastAnnounced = focused;
    m_announcer.announce(focused->announcement());
}

void LauncherWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be activated; the first
    // entry is still announced, so a listener knows the program is there.
    QTimer::singleShot(0, this, [this] {
        if (m_announcedOnce || m_entries.empty())
            return;
        m_entries.front()->showFocused(true);
        onEntryFocused(m_entries.front(), Qt::OtherFocusReason);
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

bool LauncherWindow::handleKey(const KeyDown &down)
{
    return handleWindowKey(down) || handleEntryKey(down);
}

// Window level: the key code alone decides, whatever the modifiers.
bool LauncherWindow::handleWindowKey(const KeyDown &down)
{
    switch (down.keyCode) {
    case VkDown: MoveEntryFocus(0); return true;
    case VkUp: MoveEntryFocus(1); return true;
    case VkEscape: emit endProgramRequested(); return true;
    case RecordsKey: emit recordsRequested(); return true;
    default: break;
    }
    // The digit keys open the modes of their number; others open nothing.
    if (down.keyCode >= Vk1 && down.keyCode <= Vk9)
        m_modes.open(down.keyCode - Vk0);
    return false;
}

bool LauncherWindow::handleEntryKey(const KeyDown &down)
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
    // The design has room for six entries.
    for (std::size_t i = 0; i < std::min(m_entries.size(), layout.entries.size()); ++i)
        place(m_entries[i], layout.entries[i]);
}

} // namespace hoshi
