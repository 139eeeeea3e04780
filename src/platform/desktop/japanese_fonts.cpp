// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/japanese_fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>

namespace hoshi {

namespace {

// Installed faces first, in their order: Qt tries each family of a font in
// turn, and every one missing costs a font match of its own. Sorted once the
// font database can be asked, and kept (fonts are made on the user-interface
// thread only).
QStringList installedFirst(QStringList &families, bool &sorted)
{
    if (!sorted && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // The installed list, not hasFamily(): that asks fontconfig for aliases, at length.
        const QStringList installed = QFontDatabase::families();
        std::stable_partition(families.begin(), families.end(), [&installed](const QString &family) {
            return installed.contains(family, Qt::CaseInsensitive);
        });
        sorted = true;
    }
    return families;
}

} // namespace

QStringList proportionalJapaneseFamilies()
{
    static QStringList families{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    static bool sorted = false;
    return installedFirst(families, sorted);
}

QStringList fixedJapaneseFamilies()
{
    static QStringList families{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
    static bool sorted = false;
    return installedFirst(families, sorted);
}

} // namespace hoshi
