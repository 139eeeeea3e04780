// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/version_info.h"

namespace hoshi {

QString productName()
{
    return QStringLiteral("ほしのたまご");
}

QString versionNumber()
{
    return QStringLiteral("%1.%2").arg(HOSHI_VERSION_MAJOR).arg(HOSHI_VERSION_MINOR);
}

QString copyrightLine()
{
    return QStringLiteral("Copyright (C) 2026 ほしのたまごの開発者たち");
}

QString versionMessage()
{
    const QString crlf = QStringLiteral("\r\n");
    // Four lines: the licence goes on the copyright line.
    return productName() + crlf + crlf + QStringLiteral("バージョン") + versionNumber() + crlf + copyrightLine()
           + QStringLiteral("　GNU GPL バージョン3以降 (GPL-3.0-or-later) の自由なソフトウェア、無保証");
}

QString versionBoxTitle()
{
    return QStringLiteral("バージョン情報");
}

QString versionText()
{
    return QStringLiteral("hoshinotamago (%1) %2\n").arg(productName(), versionNumber()) + copyrightLine()
           + QStringLiteral(" (the hoshinotamago developers)\n"
                            "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                            "This is free software: you are free to change and redistribute it.\n"
                            "There is NO WARRANTY, to the extent permitted by law.\n"
                            "GNU GPL バージョン3以降のもとで、自由に変更・再配布できます。"
                            "法律が許す範囲で、無保証です。\n");
}

} // namespace hoshi
