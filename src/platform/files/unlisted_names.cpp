// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/unlisted_names.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace hoshi {

namespace {

bool isUtf8(QByteArrayView name)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(name); // decodes only when it becomes a string
    return !decoder.hasError();
}

// The dialog's filter, *.txt, whatever the case of its letters.
bool endsInTxt(QByteArrayView name)
{
    return name.size() > 4 && name.last(4).compare(".txt", Qt::CaseInsensitive) == 0;
}

} // namespace

int unlistedNameCount(const QString &folder)
{
    int count = 0;
#ifdef Q_OS_UNIX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.startsWith('.') || isUtf8(name))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0)
            continue;
        if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && endsInTxt(name)))
            ++count;
    }
    ::closedir(dir);
#else
    (void)folder; // names elsewhere are Unicode already
#endif
    return count;
}

} // namespace hoshi
