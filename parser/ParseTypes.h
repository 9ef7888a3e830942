// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Types shared by the evaluator's compiler, executor and function libraries,
// and the helpers that emit script items.
//
// How a function library plugs in (a class derived from TParser):
//   1. In its constructor, after TParser's, register every name in a fixed
//      order with AddFunction(IndexField, "name", LeftOperand, RightOperand,
//      Foldable, ParamCount). Each name needs its own `int` field in the
//      class; the registry keeps that field equal to the entry's current
//      position in the function table (it moves when the table is sorted at
//      the next compile or an entry is deleted). A name that already exists,
//      ignoring case, is refused by setting the field to -1.
//   2. Override CallFunction(TFunctionCall&): call TParser::CallFunction first
//      (the operators); when it left Call.Done false, compare
//      Call.FunctionIndex with the index fields, set Call.Value and
//      Call.Done = true for the functions it knows, and leave Done false for
//      the others (the executor then raises "Unknown function: %d").
//   3. The index written into scripts is the registry position at compile
//      time; comparing with the index fields at execution time is what
//      identifies the function.
//
// Example shapes: "*" is (Left, Right), "!" is (Left), "sin" is (Right),
// "pi" is (), "max" takes ParamCount 2 with neither operand.

#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace korvo {

// A script, a term, or any other byte block of the evaluator.
using TByteDynArray = std::vector<std::uint8_t>;
// A list of scripts or of terms.
using TScripts = std::vector<TByteDynArray>;

// Item codes of a script; each item starts with one of them as an int32.
enum TItemCode : std::int32_t {
    icNumber = 0,        // + double                          (12 bytes)
    icCall = 1,          // + function index, int32           (8 bytes)
    icString = 2,        // + length L, int32, + L bytes      (8 + L bytes)
    icSubExpression = 3, // + complete nested script          (4 + nested Size)
    icParameterList = 4, // + nested script, one term a parameter
};

// Fixed sizes of the script layout.
inline constexpr int ScriptHeaderSize = 16; // CachedValue 8, Size 4, Count 4
inline constexpr int TermHeaderSize = 12;   // Size 4, Negative 4, TypeIndex 4
inline constexpr int CachedValueOffset = 0;
inline constexpr int ScriptSizeOffset = 8;
inline constexpr int ScriptCountOffset = 12;
inline constexpr int TermNegativeOffset = 4;
inline constexpr int TermTypeIndexOffset = 8;

// Longest name or string literal kept, in bytes.
inline constexpr std::size_t MaxShortString = 255;

// One actual parameter of a call with a bracketed parameter list. A numeric
// parameter holds Value; a string parameter holds Literal (at most 255 bytes)
// and a Value of 0. The called function knows which of the two it takes.
struct TParameter {
    std::int32_t TypeIndex = 0;
    double Value = 0.0;
    std::string Literal;
};
using TParameters = std::vector<TParameter>;

// A registered function or operator. IndexVar points at the registering
// object's own field, which the registry keeps equal to the entry's position.
struct TFunctionEntry {
    int* IndexVar = nullptr;
    std::string Name; // lowercased, at most 255 bytes
    bool LeftOperand = false;
    bool RightOperand = false;
    bool Foldable = false;
    std::int32_t ParamCount = 0;
};
using TFunctions = std::vector<TFunctionEntry>;

// A registered type name; it only labels a term.
struct TTypeEntry {
    int* IndexVar = nullptr;
    std::string Name;
};
using TTypes = std::vector<TTypeEntry>;

// How CheckParameterCount compares the actual count with ParamCount.
enum TParameterCountMode : int { pcAtLeast = 0, pcExactly = 1, pcAtMost = 2 };

enum TExceptionType : int { etZeroDivide = 0 };

// A set of TExceptionType.
class TExceptionTypes {
public:
    constexpr TExceptionTypes() = default;
    constexpr TExceptionTypes(std::initializer_list<TExceptionType> Items) {
        for (TExceptionType t : Items)
            Bits |= Bit(t);
    }
    constexpr bool Contains(TExceptionType t) const { return (Bits & Bit(t)) != 0; }
    constexpr void Include(TExceptionType t) { Bits |= Bit(t); }
    constexpr void Exclude(TExceptionType t) { Bits &= ~Bit(t); }
    constexpr bool Empty() const { return Bits == 0; }
    friend constexpr bool operator==(TExceptionTypes, TExceptionTypes) = default;

private:
    static constexpr unsigned Bit(TExceptionType t) { return 1u << static_cast<unsigned>(t); }
    unsigned Bits = 0;
};

// What CallFunction receives for one call. Value holds RValue on entry (or
// what an OnFunction handler left there); the function sets Value and Done.
struct TFunctionCall {
    int FunctionIndex;
    double Value;
    double LValue; // the value reached before the call in its term
    double RValue; // the right operand, 0 for a call without one
    const TParameters& Parameters;
    bool Done;

    int ParameterCount() const { return static_cast<int>(Parameters.size()); }
    double ParameterValue(int i) const { return Parameters[static_cast<std::size_t>(i)].Value; }
};

// Emit helpers: each grows Bytes at its end and returns the offset where the
// appended bytes start (where a return value is given).
int AppendInt32(TByteDynArray& Bytes, std::int32_t Value);
int AppendDouble(TByteDynArray& Bytes, double Value);
int AppendBytes(TByteDynArray& Bytes, const std::uint8_t* Source, std::size_t Count);
int AppendText(TByteDynArray& Bytes, const std::string& Text);
// Grows Bytes by 4 and inserts Value at Offset (0 <= Offset <= size).
void InsertInt32(TByteDynArray& Bytes, std::int32_t Value, std::size_t Offset);

void EmitNumber(TByteDynArray& Script, double Value);
void EmitCall(TByteDynArray& Script, std::int32_t FunctionIndex);
void EmitString(TByteDynArray& Script, const std::string& Text);
void EmitStringBytes(TByteDynArray& Script, const std::uint8_t* Source, std::size_t Length);
// Appends code 3 and Sub. With Register set, Sub's future position is first
// added to Script's Offsets table (shifting the existing entries and TermStart,
// the start of the term being built, by the 4 inserted bytes).
void EmitSubExpression(TByteDynArray& Script, const TByteDynArray& Sub, bool Register,
                       std::size_t& TermStart);
// Appends code 4 and Sub; parameter lists are never listed in Offsets.
void EmitParameterList(TByteDynArray& Script, const TByteDynArray& Sub);

int AddScript(TScripts& Scripts, const TByteDynArray& Bytes);
void FreeScripts(TScripts& Scripts);
int AddParameter(TParameters& Parameters, std::int32_t TypeIndex, double Value);
// Keeps at most the first 255 bytes of Literal.
int AddStringParameter(TParameters& Parameters, std::int32_t TypeIndex, const std::string& Literal);

// Little-endian access to script fields. The caller guarantees that
// Offset + 4 (or + 8) lies within Bytes. They sit on every step of the
// executor, so they are defined here to be inlined.
namespace detail {
template <typename T> T LoadLittleEndian(const std::uint8_t* Source) {
    T v{};
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, Source, sizeof v);
    } else {
        for (int i = static_cast<int>(sizeof v) - 1; i >= 0; --i)
            v = static_cast<T>((v << 8) | Source[i]);
    }
    return v;
}
template <typename T> void StoreLittleEndian(std::uint8_t* Target, T Value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(Target, &Value, sizeof Value);
    } else {
        for (std::size_t i = 0; i < sizeof Value; ++i, Value >>= 8)
            Target[i] = static_cast<std::uint8_t>(Value & 0xFF);
    }
}
} // namespace detail

inline std::int32_t GetInt32(const TByteDynArray& Bytes, std::size_t Offset) {
    return static_cast<std::int32_t>(detail::LoadLittleEndian<std::uint32_t>(Bytes.data() + Offset));
}
inline void SetInt32(TByteDynArray& Bytes, std::size_t Offset, std::int32_t Value) {
    detail::StoreLittleEndian(Bytes.data() + Offset, static_cast<std::uint32_t>(Value));
}
inline double GetDouble(const TByteDynArray& Bytes, std::size_t Offset) {
    return std::bit_cast<double>(detail::LoadLittleEndian<std::uint64_t>(Bytes.data() + Offset));
}
inline void SetDouble(TByteDynArray& Bytes, std::size_t Offset, double Value) {
    detail::StoreLittleEndian(Bytes.data() + Offset, std::bit_cast<std::uint64_t>(Value));
}

} // namespace korvo
