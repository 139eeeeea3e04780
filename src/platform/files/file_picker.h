// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/interfaces.h"

#include <QString>

namespace hoshi {

/// The open-file dialog for practice texts: Qt's own dialog (the same on
/// every desktop), offering only text files, in large type with Japanese
/// columns. It is worked from the file-name box: a full path typed and
/// Return chooses it; Up and Down move through the folder, each entry reached
/// is reported and put into the box, so Return opens it. The boxes Qt's
/// dialog opens itself are reported with their text, and so is a folder
/// holding names the dialog cannot list.
class DialogFilePicker final : public FilePicker {
public:
    QString chooseTextFile(QWidget *parent, const TextFileRequest &request) override;

    /// The one filter the dialog offers.
    static QString textFileFilter();
};

} // namespace hoshi
