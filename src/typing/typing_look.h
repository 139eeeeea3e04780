// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the Japanese and the English typing windows look: colours, faces, menus.

#include "ui/labels.h"
#include "ui/menu_voice.h"
#include "typing/typing_profile.h"

#include <QColor>
#include <QString>

#include <array>

namespace hoshi {

struct TypingLook {
    QString objectName;
    QColor windowColour;
    bool inputInFrame = false; ///< the black panel holds the input box too, not only the display
    LabelStyle time;
    LabelStyle maru;
    LabelStyle batsu;
    LabelStyle score;
    LabelStyle keyGuide;
    Qt::InputMethodHints inputHints;
    QString displayName; ///< accessible names of txtHyoji and txtNyuryoku
    QString inputName;

    QString fileMenu;
    QString openFile;
    QString openEditor;
    QString exit;
    bool separatorBeforeExit = false;
    QString settingsMenu;
    std::array<QString, 3> limitEntries; ///< 1, 3 and 5 minutes
    QString versionEntry;
    const MenuWords *menuWords = nullptr; ///< how the menus are heard

    static const TypingLook &of(TypingLanguage language);
};

} // namespace hoshi
