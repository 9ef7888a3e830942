// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/MemUtils.h"

#include <algorithm>
#include <cstring>

namespace korvo {

namespace {
long long Length(std::span<std::uint8_t> Buffer) {
    return static_cast<long long>(Buffer.size());
}
} // namespace

bool WriteBytes(std::span<std::uint8_t> Buffer, const std::uint8_t* Source, long long Offset,
                long long Count) {
    if (Offset < 0 || Count < 0 || Offset > Length(Buffer) - Count)
        return false;
    if (Count > 0)
        std::memmove(Buffer.data() + Offset, Source, static_cast<std::size_t>(Count));
    return true;
}

int AppendInteger(std::vector<int>& Ints, int Value) {
    Ints.push_back(Value);
    return static_cast<int>(Ints.size() - 1);
}

bool DeleteBytes(std::span<std::uint8_t> Buffer, long long Offset, long long Count, long long Size) {
    if (Offset < 0 || Count < 0 || Size > Length(Buffer) || Offset > Size - Count)
        return false;
    const long long tail = Size - Offset - Count;
    if (tail > 0 && Count > 0)
        std::memmove(Buffer.data() + Offset, Buffer.data() + Offset + Count, static_cast<std::size_t>(tail));
    return true;
}

bool InsertBytes(std::span<std::uint8_t> Buffer, const std::uint8_t* Source, long long Offset,
                 long long Count, long long Size) {
    if (Offset < 0 || Count < 0 || Size < 0 || Offset > Size || Size > Length(Buffer) - Count)
        return false;
    if (Count == 0)
        return true;
    if (Size > Offset)
        std::memmove(Buffer.data() + Offset + Count, Buffer.data() + Offset,
                     static_cast<std::size_t>(Size - Offset));
    std::memmove(Buffer.data() + Offset, Source, static_cast<std::size_t>(Count));
    return true;
}

void ZeroBytes(std::span<std::uint8_t> Buffer, long long From, long long To) {
    From = std::max(From, 0LL);
    To = std::min(To, Length(Buffer));
    if (From < To)
        std::memset(Buffer.data() + From, 0, static_cast<std::size_t>(To - From));
}

void SetLengthZeroed(std::vector<std::uint8_t>& Bytes, std::size_t NewLength) {
    Bytes.resize(NewLength, 0);
}

} // namespace korvo
