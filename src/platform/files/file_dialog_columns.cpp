// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/file_dialog_columns.h"

#include <QFileSystemModel>
#include <QLocale>

namespace hoshi {

namespace {

enum Column { Name, Size, Type, Modified };

const QLocale &japanese()
{
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale;
}

} // namespace

QVariant JapaneseFileColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QIdentityProxyModel::headerData(section, orientation, role);
    switch (section) {
    case Name: return QStringLiteral("名前");
    case Size: return QStringLiteral("サイズ");
    case Type: return QStringLiteral("種類");
    case Modified: return QStringLiteral("更新日時");
    default: return QIdentityProxyModel::headerData(section, orientation, role);
    }
}

QVariant JapaneseFileColumns::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() == Name)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const bool folder = files->isDir(source);
    switch (index.column()) {
    case Size: return folder ? QString() : japanese().formattedDataSize(files->size(source));
    case Type:
        if (folder)
            return QStringLiteral("フォルダー");
        if (files->fileName(source.siblingAtColumn(Name)).endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            return QStringLiteral("テキスト ファイル");
        return QIdentityProxyModel::data(index, role);
    case Modified: return japanese().toString(files->lastModified(source), QLocale::ShortFormat);
    default: return QIdentityProxyModel::data(index, role);
    }
}

} // namespace hoshi
