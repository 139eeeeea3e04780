// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/japanese_encoding.h"

namespace hoshi {

namespace {

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// Bytes that must follow a lead byte, and the range each must lie in.
struct Sequence {
    int trailBytes = -1; // -1: not a valid lead byte
    unsigned char low = 0;
    unsigned char high = 0;
};

Sequence eucJpSequence(unsigned char lead)
{
    if (lead < 0x80)
        return {0};
    if (lead == 0x8E)
        return {1, 0xA1, 0xDF};
    if (lead == 0x8F)
        return {2, 0xA1, 0xFE};
    if (inRange(lead, 0xA1, 0xFE))
        return {1, 0xA1, 0xFE};
    return {};
}

// Code page 932's trail bytes are 0x40-0xFC without 0x7F; that gap is checked apart.
Sequence shiftJisSequence(unsigned char lead)
{
    if (lead < 0x80 || inRange(lead, 0xA1, 0xDF))
        return {0};
    if (inRange(lead, 0x81, 0x9F) || inRange(lead, 0xE0, 0xFC))
        return {1, 0x40, 0xFC};
    return {};
}

template <typename SequenceOf>
bool isWellFormed(QByteArrayView bytes, bool complete, SequenceOf sequenceOf, bool noTrail7F)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const Sequence rule = sequenceOf(static_cast<unsigned char>(bytes[i]));
        if (rule.trailBytes < 0)
            return false;
        for (int k = 1; k <= rule.trailBytes; ++k) {
            if (i + k >= size)
                return !complete;
            const auto trail = static_cast<unsigned char>(bytes[i + k]);
            if (!inRange(trail, rule.low, rule.high) || (noTrail7F && trail == 0x7F))
                return false;
        }
        i += rule.trailBytes + 1;
    }
    return true;
}

} // namespace

bool isWellFormedEucJp(QByteArrayView bytes, bool complete)
{
    return isWellFormed(bytes, complete, eucJpSequence, false);
}

bool isWellFormedShiftJis(QByteArrayView bytes, bool complete)
{
    return isWellFormed(bytes, complete, shiftJisSequence, true);
}

} // namespace hoshi
