#include "shell/version_info.h"

namespace hoshi {

QString productName()
{
    return QStringLiteral("ほしのたまご");
}

QString versionNumber()
{
    return QStringLiteral("%1.%2").arg(HOSHI_VERSION_MAJOR).arg(HOSHI_VERSION_MINOR);
}

QString versionMessage()
{
    const QString crlf = QStringLiteral("\r\n");
    return productName() + crlf + crlf + QStringLiteral("バージョン") + versionNumber() + crlf
           + QStringLiteral("Copyright (C) 2026 ほしのたまごの開発者たち");
}

QString versionBoxTitle()
{
    return QStringLiteral("バージョン情報");
}

} // namespace hoshi
