// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIdentityProxyModel>

namespace hoshi {

/// The file dialog's columns in Japanese whatever the desktop's language:
/// headers, the type of folders and text files, sizes and dates as a
/// Japanese desktop writes them.
class JapaneseFileColumns final : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex &index, int role) const override;
};

} // namespace hoshi
