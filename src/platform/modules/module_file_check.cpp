// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/module_file_check.h"

#if defined(__linux__)

#include <QFile>

#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

// The linker's name for the ELF header of the object this code is linked
// into: its e_machine is the processor the program was built for, on every
// architecture, without a table of them here.
extern "C" const ElfW(Ehdr) __ehdr_start __attribute__((weak, visibility("hidden")));

namespace hoshi {

namespace {

using Header = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
using SectionHeader = ElfW(Shdr);

QString notAFile(const QString &path, mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("%1 is a folder, not a library").arg(path);
    if (S_ISFIFO(mode))
        return QStringLiteral("%1 is a pipe (FIFO), not a library").arg(path);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("%1 is a device, not a library").arg(path);
    if (S_ISSOCK(mode))
        return QStringLiteral("%1 is a socket, not a library").arg(path);
    return QStringLiteral("%1 is not a regular file").arg(path);
}

// Reads exactly `size` bytes at `offset`; false (and errno) on an error or
// on an end of file, which only a file shrinking while read can meet.
bool readAt(int fd, void *into, size_t size, off_t offset)
{
    auto *bytes = static_cast<char *>(into);
    while (size > 0) {
        const ssize_t got = ::pread(fd, bytes, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0)
            errno = ENODATA;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

// Whether a table of `count` entries of `entrySize` bytes at `offset` lies
// inside a file of `fileSize` bytes, without overflowing on hostile numbers.
bool fits(quint64 offset, quint64 count, quint64 entrySize, quint64 fileSize)
{
    if (offset > fileSize)
        return false;
    return entrySize == 0 || count <= (fileSize - offset) / entrySize;
}

QString elfProblem(const QString &path, int fd, quint64 fileSize)
{
    if (fileSize == 0)
        return QStringLiteral("%1 is empty").arg(path);
    Header header{};
    const size_t headerBytes = fileSize < sizeof header ? static_cast<size_t>(fileSize) : sizeof header;
    if (!readAt(fd, &header, headerBytes, 0))
        return QStringLiteral("%1 cannot be read: %2").arg(path, qt_error_string(errno));
    if (headerBytes < SELFMAG || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return QStringLiteral("%1 is not an ELF library").arg(path);
    if (headerBytes < EI_NIDENT)
        return QStringLiteral("%1 is cut short inside its ELF header (%2 of %3 bytes)")
            .arg(path).arg(headerBytes).arg(sizeof header);

    constexpr unsigned char wantedClass = sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32;
    constexpr unsigned char wantedOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
    if (header.e_ident[EI_CLASS] != ELFCLASS32 && header.e_ident[EI_CLASS] != ELFCLASS64)
        return QStringLiteral("%1 is of an unknown ELF class (%2)").arg(path).arg(header.e_ident[EI_CLASS]);
    if (header.e_ident[EI_CLASS] != wantedClass) {
        const auto bits = [](unsigned char elfClass) { return elfClass == ELFCLASS64 ? "64-bit" : "32-bit"; };
        return QStringLiteral("%1 is a %2 library, this program is %3")
            .arg(path, QLatin1String(bits(header.e_ident[EI_CLASS])), QLatin1String(bits(wantedClass)));
    }
    if (header.e_ident[EI_DATA] != ELFDATA2LSB && header.e_ident[EI_DATA] != ELFDATA2MSB)
        return QStringLiteral("%1 is of an unknown ELF byte order (%2)").arg(path).arg(header.e_ident[EI_DATA]);
    if (header.e_ident[EI_DATA] != wantedOrder) {
        const auto order = [](unsigned char data) { return data == ELFDATA2LSB ? "little-endian" : "big-endian"; };
        return QStringLiteral("%1 is a %2 library, this program is %3")
            .arg(path, QLatin1String(order(header.e_ident[EI_DATA])), QLatin1String(order(wantedOrder)));
    }
    if (header.e_ident[EI_VERSION] != EV_CURRENT)
        return QStringLiteral("%1 is of an unknown ELF version (%2)").arg(path).arg(header.e_ident[EI_VERSION]);
    // From here on the fields are in this program's own layout and byte order.
    if (headerBytes < sizeof header)
        return QStringLiteral("%1 is cut short inside its ELF header (%2 of %3 bytes)")
            .arg(path).arg(headerBytes).arg(sizeof header);
    if (header.e_type != ET_DYN)
        return QStringLiteral("%1 is not a shared library (ELF type %2)").arg(path).arg(header.e_type);
    if (&__ehdr_start != nullptr && header.e_machine != __ehdr_start.e_machine)
        return QStringLiteral("%1 is built for another kind of processor (ELF machine %2, this program is %3)")
            .arg(path).arg(header.e_machine).arg(__ehdr_start.e_machine);

    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader))
        return QStringLiteral("%1 has no program headers the loader can read").arg(path);
    if (!fits(header.e_phoff, header.e_phnum, sizeof(ProgramHeader), fileSize))
        return QStringLiteral("%1 is cut short: its program headers end past its %2 bytes").arg(path).arg(fileSize);
    for (quint64 i = 0; i < header.e_phnum; ++i) {
        ProgramHeader segment{};
        if (!readAt(fd, &segment, sizeof segment, static_cast<off_t>(header.e_phoff + i * sizeof segment)))
            return QStringLiteral("%1 cannot be read: %2").arg(path, qt_error_string(errno));
        if (segment.p_type == PT_LOAD && !fits(segment.p_offset, 1, segment.p_filesz, fileSize))
            return QStringLiteral("%1 is cut short: a segment ends at byte %2, the file has %3")
                .arg(path)
                .arg(static_cast<quint64>(segment.p_offset) + segment.p_filesz)
                .arg(fileSize);
    }

    // Section headers are read by no loader, but sit at the very end of the
    // file: where they are missing, the file has lost its end.
    if (header.e_shoff != 0) {
        if (header.e_shentsize != sizeof(SectionHeader))
            return QStringLiteral("%1 has section headers of an unknown size").arg(path);
        // With very many sections e_shnum is 0 and the count is in the first one.
        const quint64 sections = header.e_shnum != 0 ? header.e_shnum : 1;
        if (!fits(header.e_shoff, sections, sizeof(SectionHeader), fileSize))
            return QStringLiteral("%1 is cut short: its section headers end at byte %2, the file has %3")
                .arg(path)
                .arg(static_cast<quint64>(header.e_shoff) + sections * sizeof(SectionHeader))
                .arg(fileSize);
    }
    return {};
}

} // namespace

QString moduleFileProblem(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        const int error = errno;
        if (error == ELOOP)
            return QStringLiteral("%1 is a loop of symbolic links").arg(path);
        if (error == ENOENT && ::lstat(name.constData(), &status) == 0)
            return QStringLiteral("%1 is a symbolic link to nothing").arg(path);
        if (error == ENOENT)
            return QStringLiteral("%1: no such file").arg(path);
        return QStringLiteral("%1 cannot be read: %2").arg(path, qt_error_string(error));
    }
    // Checked before opening: a device may do something on open itself.
    if (!S_ISREG(status.st_mode))
        return notAFile(path, status.st_mode);
    // Non-blocking: should a FIFO take the file's place after the check
    // above, open() still comes back at once.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("%1 cannot be read: %2").arg(path, qt_error_string(errno));
    QString problem;
    if (::fstat(fd, &status) != 0)
        problem = QStringLiteral("%1 cannot be read: %2").arg(path, qt_error_string(errno));
    else if (!S_ISREG(status.st_mode))
        problem = notAFile(path, status.st_mode);
    else
        problem = elfProblem(path, fd, static_cast<quint64>(status.st_size));
    ::close(fd);
    return problem;
}

} // namespace hoshi

#else

namespace hoshi {

QString moduleFileProblem(const QString &)
{
    return {};
}

} // namespace hoshi

#endif
