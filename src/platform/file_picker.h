#pragma once

#include "platform/services.h"

#include <QString>

namespace hoshi {

/// The open-file dialog for practice texts: Qt's own dialog (the same on
/// every desktop, and drivable from the keyboard: a full path typed into the
/// file-name box and Return chooses it), offering only text files. It opens
/// in the folder of the last file chosen during this run.
class DialogFilePicker final : public FilePicker {
public:
    QString chooseTextFile(QWidget *parent) override;

    /// The one filter the dialog offers.
    static QString textFileFilter();

private:
    QString m_lastFolder;
};

} // namespace hoshi
