// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/ParseTypes.h"

#include <algorithm>
#include <bit>

namespace korvo {

int AppendInt32(TByteDynArray& Bytes, std::int32_t Value) {
    const std::size_t at = Bytes.size();
    Bytes.resize(at + 4);
    SetInt32(Bytes, at, Value);
    return static_cast<int>(at);
}

int AppendDouble(TByteDynArray& Bytes, double Value) {
    const std::size_t at = Bytes.size();
    Bytes.resize(at + 8);
    SetDouble(Bytes, at, Value);
    return static_cast<int>(at);
}

int AppendBytes(TByteDynArray& Bytes, const std::uint8_t* Source, std::size_t Count) {
    const std::size_t at = Bytes.size();
    if (Count > 0)
        Bytes.insert(Bytes.end(), Source, Source + Count);
    return static_cast<int>(at);
}

int AppendText(TByteDynArray& Bytes, const std::string& Text) {
    return AppendBytes(Bytes, reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size());
}

void InsertInt32(TByteDynArray& Bytes, std::int32_t Value, std::size_t Offset) {
    std::uint8_t le[4];
    auto v = static_cast<std::uint32_t>(Value);
    for (auto& b : le) {
        b = static_cast<std::uint8_t>(v & 0xFF);
        v >>= 8;
    }
    Bytes.insert(Bytes.begin() + static_cast<std::ptrdiff_t>(Offset), le, le + 4);
}

void EmitNumber(TByteDynArray& Script, double Value) {
    AppendInt32(Script, icNumber);
    AppendDouble(Script, Value);
}

void EmitCall(TByteDynArray& Script, std::int32_t FunctionIndex) {
    AppendInt32(Script, icCall);
    AppendInt32(Script, FunctionIndex);
}

void EmitStringBytes(TByteDynArray& Script, const std::uint8_t* Source, std::size_t Length) {
    AppendInt32(Script, icString);
    AppendInt32(Script, static_cast<std::int32_t>(Length));
    AppendBytes(Script, Source, Length);
}

void EmitString(TByteDynArray& Script, const std::string& Text) {
    EmitStringBytes(Script, reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size());
}

void EmitSubExpression(TByteDynArray& Script, const TByteDynArray& Sub, bool Register,
                       std::size_t& TermStart) {
    if (Register) {
        const std::int32_t count = GetInt32(Script, ScriptCountOffset);
        const std::size_t table = ScriptHeaderSize;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::size_t at = table + 4 * static_cast<std::size_t>(i);
            SetInt32(Script, at, GetInt32(Script, at) + 4);
        }
        SetInt32(Script, ScriptCountOffset, count + 1);
        // The nested script will start after the grown table and the code.
        const auto subStart = static_cast<std::int32_t>(Script.size() + 8);
        InsertInt32(Script, subStart, table + 4 * static_cast<std::size_t>(count));
        TermStart += 4;
    }
    AppendInt32(Script, icSubExpression);
    AppendBytes(Script, Sub.data(), Sub.size());
}

void EmitParameterList(TByteDynArray& Script, const TByteDynArray& Sub) {
    AppendInt32(Script, icParameterList);
    AppendBytes(Script, Sub.data(), Sub.size());
}

int AddScript(TScripts& Scripts, const TByteDynArray& Bytes) {
    Scripts.push_back(Bytes);
    return static_cast<int>(Scripts.size() - 1);
}

void FreeScripts(TScripts& Scripts) {
    Scripts.clear();
    Scripts.shrink_to_fit();
}

int AddParameter(TParameters& Parameters, std::int32_t TypeIndex, double Value) {
    Parameters.push_back(TParameter{TypeIndex, Value, {}});
    return static_cast<int>(Parameters.size() - 1);
}

int AddStringParameter(TParameters& Parameters, std::int32_t TypeIndex, const std::string& Literal) {
    Parameters.push_back(
        TParameter{TypeIndex, 0.0, Literal.substr(0, std::min(Literal.size(), MaxShortString))});
    return static_cast<int>(Parameters.size() - 1);
}

} // namespace korvo
