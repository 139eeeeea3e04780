// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/finger_menus.h"

#include "ui/menu_voice.h"
#include "ui/menus.h"

#include <QMainWindow>
#include <QMenu>

namespace hoshi {

void buildFingerMenus(QMainWindow *window, const FingerMenuNames &names,
                      std::function<void(bool shown)> showFingerNames, SayText sayVersion)
{
    QMenu *file = addMenu(window, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addEntry(file, QStringLiteral("mnuEnd"), names.endCaption, [window] { window->close(); });

    QMenu *settings = addMenu(window, QStringLiteral("mnuSetei"), QStringLiteral("設定(&S)"));
    saysItsChoice(addEntry(settings, names.hideName, QStringLiteral("指の名前なし(&N)"),
                           [showFingerNames] { showFingerNames(false); }));
    saysItsChoice(addEntry(settings, names.showName, QStringLiteral("指の名前あり(&A)"),
                           [showFingerNames] { showFingerNames(true); }));

    addVersionEntry(window, QStringLiteral("バージョン(&V)"), std::move(sayVersion));
}

} // namespace hoshi
