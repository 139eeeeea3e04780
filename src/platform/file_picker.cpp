#include "platform/file_picker.h"

#include <QFileDialog>
#include <QFileInfo>

namespace hoshi {

QString DialogFilePicker::textFileFilter()
{
    return QStringLiteral("テキスト ファイル (*.txt)");
}

QString DialogFilePicker::chooseTextFile(QWidget *parent)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(textFileFilter());
    dialog.setWindowModality(Qt::ApplicationModal);
    // Qt's dialog speaks English unless told otherwise; the program is Japanese.
    dialog.setWindowTitle(QStringLiteral("開く"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);

    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    m_lastFolder = QFileInfo(chosen.first()).absolutePath();
    return chosen.first();
}

} // namespace hoshi
