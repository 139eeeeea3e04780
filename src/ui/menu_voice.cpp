// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_voice.h"

#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <utility>

namespace hoshi {

namespace {
const char *const SaysChoice = "hoshiSaysChoice";

/// Follows the menu bar's focus: it takes the keyboard when Alt or F10 makes
/// it active and gives it back when the menus are left.
class MenuBarListener final : public QObject {
public:
    MenuBarListener(QMainWindow *window, SayText say, const MenuWords &words)
        : QObject(window->menuBar())
        , m_window(window)
        , m_say(std::move(say))
        , m_words(words)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason) {
                // After the entry chosen, if any, has said what it did.
                const bool in = event->type() == QEvent::FocusIn;
                QMetaObject::invokeMethod(this, [this, in] { barFocus(in); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

    void highlighted(QAction *entry)
    {
        if (entry && !entry->isSeparator())
            m_say(heardCaption(entry->text()));
    }

    /// The menu bar's first highlight comes before it takes the keyboard.
    void barHighlighted(QAction *entry)
    {
        if (!m_barActive && entry) {
            m_barActive = true;
            m_chose = false;
            m_say(m_words.bar);
        }
        highlighted(entry);
    }

    void chosen(QAction *entry)
    {
        m_chose = true;
        if (entry->property(SaysChoice).toBool())
            m_say(m_words.chosen.arg(heardCaption(entry->text())));
    }

    void menuShown() { m_chose = false; }

    void menuHidden()
    {
        // A choice says what it did; a menu left for the menu bar says nothing yet.
        if (!m_chose && !m_barActive)
            sayWhereFocusIs();
    }

private:
    void barFocus(bool in)
    {
        if (in == m_barActive)
            return;
        m_barActive = in;
        if (in) {
            m_chose = false;
            m_say(m_words.bar);
        } else if (!m_chose) {
            sayWhereFocusIs();
        }
    }

    void sayWhereFocusIs()
    {
        m_say(m_words.closed + m_words.backIn.arg(heardCaption(m_window->windowTitle())));
    }

    QMainWindow *m_window;
    SayText m_say;
    const MenuWords &m_words;
    bool m_barActive = false;
    bool m_chose = false;
};

void listenToMenu(QMenu *menu, MenuBarListener *listener)
{
    QObject::connect(menu, &QMenu::hovered, listener, &MenuBarListener::highlighted);
    QObject::connect(menu, &QMenu::aboutToShow, listener, &MenuBarListener::menuShown);
    // Once the menu is gone: the menu bar has then taken the keyboard back, or not.
    QObject::connect(menu, &QMenu::aboutToHide, listener, &MenuBarListener::menuHidden, Qt::QueuedConnection);
}

} // namespace

const MenuWords &japaneseMenuWords()
{
    static const MenuWords words{QStringLiteral("めにゅー"), QStringLiteral("%1 に したよ"),
                                 QStringLiteral("めにゅーを とじたよ"), QStringLiteral("、%1")};
    return words;
}

const MenuWords &englishMenuWords()
{
    static const MenuWords words{QStringLiteral("Menu"), QStringLiteral("%1"), QStringLiteral("Menu closed"),
                                 QStringLiteral(". %1")};
    return words;
}

QString heardCaption(const QString &caption)
{
    static const QRegularExpression accessKey(QStringLiteral("\\(&[^()]\\)|&(?=[^&])"));
    QString heard = caption;
    heard.remove(accessKey);
    heard.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return heard.trimmed();
}

void speakMenus(QMainWindow *window, SayText say, const MenuWords &words)
{
    QMenuBar *bar = window->menuBar();
    auto *listener = new MenuBarListener(window, std::move(say), words);
    bar->installEventFilter(listener);
    QObject::connect(bar, &QMenuBar::hovered, listener, &MenuBarListener::barHighlighted);
    // Also emitted for the entries of its menus.
    QObject::connect(bar, &QMenuBar::triggered, listener, &MenuBarListener::chosen);
    for (QAction *entry : bar->actions()) {
        if (QMenu *menu = entry->menu())
            listenToMenu(menu, listener);
    }
}

QAction *saysItsChoice(QAction *entry)
{
    entry->setProperty(SaysChoice, true);
    return entry;
}

} // namespace hoshi
