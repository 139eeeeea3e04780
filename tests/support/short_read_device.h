// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device that gives at most `step` bytes per read, as a slow disk or a pipe may.

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

namespace hoshi::testing {

class ShortReadDevice final : public QIODevice {
public:
    ShortReadDevice(const QByteArray &bytes, qint64 step, bool sequential = true) : m_bytes(bytes), m_step(step), m_sequential(sequential)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return m_sequential; }
    qint64 size() const override { return m_sequential ? 0 : m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = std::min({maxSize, m_step, m_bytes.size() - m_offset});
        std::copy_n(m_bytes.constData() + m_offset, count, data);
        m_offset += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_step, m_offset = 0;
    bool m_sequential;
};

} // namespace hoshi::testing
