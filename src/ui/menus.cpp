// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menus.h"

#include "ui/menu_look.h"
#include "ui/say_text.h"
#include "ui/version_box.h"

#include <QMainWindow>
#include <QMenuBar>

namespace hoshi {

QMenu *addMenu(QMainWindow *window, const QString &name, const QString &caption)
{
    keepMenuBarInside(window->menuBar());
    QMenu *menu = window->menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction *addEntry(QWidget *menuOrBar, const QString &name, const QString &caption,
                  std::function<void()> onChosen)
{
    if (auto *bar = qobject_cast<QMenuBar *>(menuOrBar))
        keepMenuBarInside(bar);
    QAction *entry = menuOrBar->addAction(caption);
    entry->setObjectName(name);
    QObject::connect(entry, &QAction::triggered, menuOrBar, std::move(onChosen));
    return entry;
}

QAction *addVersionEntry(QMainWindow *window, const QString &caption, SayText say)
{
    return addEntry(window->menuBar(), QStringLiteral("mnuVersion"), caption,
                    [window, say = std::move(say)] { showVersionBox(window, say); });
}

} // namespace hoshi
