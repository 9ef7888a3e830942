// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Text scanning, number reading, 64-bit rounding and script walking/linking
// for the evaluator.

#include "parser/ParseTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// The nearest 64-bit integer, a half going to the even neighbour. A NaN or a
// value outside the 64-bit range gives INT64_MIN (-9223372036854775808).
// Round64(2.5) == 2, Round64(3.5) == 4, Round64(-0.5) == 0.
std::int64_t Round64(double X);

// Removes blanks (codes 0 to 32) at both ends, or at the start only.
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
// ASCII letters lowercased; every other byte unchanged.
std::string LowerCase(std::string S);
namespace detail {
constexpr char LowerAscii(char C) {
    return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}
} // namespace detail
// ASCII letters compared without regard to case.
inline bool SameText(std::string_view A, std::string_view B) {
    if (A.size() != B.size())
        return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (detail::LowerAscii(A[i]) != detail::LowerAscii(B[i]))
            return false;
    return true;
}

// True when S begins with exactly Prefix (case-sensitive). With Delete set,
// the prefix is then removed and S trimmed left.
bool StripPrefix(const std::string& Prefix, std::string& S, bool Delete);

// Reads the run of '-' and '+' at the start of S, each with the blanks after
// it, and removes it; true when the number of '-' is odd. "- - 5" leaves "5"
// and gives false.
bool ParseSign(std::string& S);

// Removes every leading ',' and ';' with the blanks after them.
void StripSeparators(std::string& S);

// The first entry of Functions, in table order, whose name begins S: S loses
// the name and the blanks after it and the entry's position is returned.
// -1 with S unchanged when no name begins S.
int FindFunctionPrefix(const TFunctions& Functions, std::string& S);

// A quoted region: 0-based positions of a single quote and the next one.
struct TLock {
    int First;
    int Last;
};
using TLocks = std::vector<TLock>;
// Quotes pair up from the left; a last quote without a partner opens nothing.
TLocks FindLocks(const std::string& S);
bool InLock(int Position, const TLocks& Locks);

// Longest first; strings of equal length keep their order.
void SortByLength(std::vector<std::string>& Strings);

// Cuts S before every occurrence of a delimiter outside quotes (delimiters
// tried in order, the first that matches wins and is skipped over). The
// pieces are trimmed and the non-empty ones returned; every piece but the
// first begins with the delimiter that cut it.
// SplitText("2*3-4+5", {"-", "+"}) gives "2*3", "-4", "+5".
std::vector<std::string> SplitText(const std::string& S, std::vector<std::string> Delimiters,
                                   bool SortDelimiters);

// A list of delimiters (or names) grouped by their first byte, so that a
// position of a text is compared only with the entries that can match there.
// Within a group the entries keep the list's order.
class TDelimiterIndex {
public:
    TDelimiterIndex() = default;
    explicit TDelimiterIndex(std::vector<std::string> Delimiters);

    const std::vector<std::string>& Delimiters() const { return FDelimiters; }
    // The length of the first non-empty entry, in list order, that S holds
    // at Position; 0 when none does.
    std::size_t MatchAt(std::string_view S, std::size_t Position) const;
    // The position in the list of the first entry that begins S (an empty
    // entry begins every text), or -1.
    int FindPrefix(std::string_view S) const;

private:
    std::vector<std::string> FDelimiters;
    // Positions of the non-empty entries, grouped by first byte: group c is
    // FOrder[FGroupStart[c] .. FGroupStart[c + 1]).
    std::vector<std::uint32_t> FOrder;
    std::array<std::uint32_t, 257> FGroupStart{};
    int FFirstEmpty = -1;
};

// SplitText with delimiters indexed once and tried in their list order.
std::vector<std::string> SplitText(const std::string& S, const TDelimiterIndex& Delimiters);

// Finds the first complete outermost group Open ... Close in S and calls
// Callback(S, Inner, First, LastClose) with 0-based positions of the two
// brackets; the callback replaces S[First..LastClose] by a short text that
// holds neither bracket. Repeats until no group is left. Raises EParseError
// "Bracket character expected" for a Close with no Open before it and for
// groups left open at the end.
using TBracketCallback =
    std::function<void(std::string& S, const std::string& Inner, std::size_t First, std::size_t LastClose)>;
void ProcessBrackets(std::string& S, char Open, char Close, const TBracketCallback& Callback);

// Reads S as one number in the evaluator's grammar with the process-wide
// decimal separator: optional spaces, an optional sign, digits with at most
// one separator (at least one digit or the separator), an optional exponent
// "e"/"E" with an optional sign and digits (none meaning 0; digits are read
// while the exponent stays below 500, a digit left over makes S no number),
// optional spaces. "." is 0, "5." is 5, "1e" is 1, "e5" is no number. A value
// beyond the extended range is no number; one below it reads as 0.
bool ReadNumber(const std::string& S, long double& Value);

// Script walking with every size and offset checked against the bytes.
// A script's extent inside a byte array, once its header has been checked.
struct TScriptBounds {
    std::size_t Start;     // the script's first byte
    std::size_t End;       // one past its last byte (Start + Size)
    std::size_t Count;     // entries in Offsets
    std::size_t FirstTerm; // Start + 16 + 4 * Count
    std::size_t TermsEnd;  // End, or FirstTerm for an unfinished script
};

namespace detail {
[[noreturn]] void RaiseInvalidScript();
// The int32 at P when P + 4 <= Limit <= Bytes.size(); "Invalid script" otherwise.
inline std::int32_t CheckedInt32(const TByteDynArray& Bytes, std::size_t P, std::size_t Limit) {
    if (Limit > Bytes.size() || P > Limit || Limit - P < 4)
        RaiseInvalidScript();
    return GetInt32(Bytes, P);
}
// ItemLength for strings, sub-expressions and parameter lists.
std::size_t NestedItemLength(const TByteDynArray& Bytes, std::size_t P, std::size_t TermEnd);
} // namespace detail

// Checks the header of the script at Start, which must lie within
// [Start, Limit). With AllowUnfinished, a Size of 0 (a script whose compile
// was cut short) is taken as a script without terms whose nested scripts
// may lie anywhere up to Limit. Raises "Invalid script" otherwise.
inline TScriptBounds CheckScript(const TByteDynArray& Bytes, std::size_t Start, std::size_t Limit,
                                 bool AllowUnfinished = false) {
    if (Limit > Bytes.size() || Start > Limit || Limit - Start < ScriptHeaderSize)
        detail::RaiseInvalidScript();
    const std::int32_t size = GetInt32(Bytes, Start + ScriptSizeOffset);
    const std::int32_t count = GetInt32(Bytes, Start + ScriptCountOffset);
    const std::size_t room = Limit - Start;
    if (count < 0 || (room - ScriptHeaderSize) / 4 < static_cast<std::size_t>(count))
        detail::RaiseInvalidScript();
    const std::size_t firstTerm = Start + ScriptHeaderSize + 4 * static_cast<std::size_t>(count);
    if (size == 0 && AllowUnfinished)
        return TScriptBounds{Start, Limit, static_cast<std::size_t>(count), firstTerm, firstTerm};
    if (size < 0 || static_cast<std::size_t>(size) > room ||
        Start + static_cast<std::size_t>(size) < firstTerm)
        detail::RaiseInvalidScript();
    const std::size_t end = Start + static_cast<std::size_t>(size);
    return TScriptBounds{Start, end, static_cast<std::size_t>(count), firstTerm, end};
}

// Calls Callback(P, Term, TermEnd) for every item of every term, P being the
// item's position; the callback must move P past the item, at most to
// TermEnd. Terms that do not fit raise "Invalid script".
using TWalkCallback = std::function<void(std::size_t& P, std::size_t Term, std::size_t TermEnd)>;
void WalkScript(const TByteDynArray& Bytes, const TScriptBounds& Script, const TWalkCallback& Callback);

// The length of the item at P, which must end by TermEnd ("Invalid script"
// for an unknown code or an item that does not fit). Numbers and calls, the
// most frequent items, are measured here without a call.
inline std::size_t ItemLength(const TByteDynArray& Bytes, std::size_t P, std::size_t TermEnd) {
    const std::int32_t code = detail::CheckedInt32(Bytes, P, TermEnd);
    if (code != icNumber && code != icCall)
        return detail::NestedItemLength(Bytes, P, TermEnd);
    const std::size_t length = code == icNumber ? 12 : 8;
    if (TermEnd - P < length)
        detail::RaiseInvalidScript();
    return length;
}

// WalkScript with the callback called directly: the executor's walk, where
// neither a type-erased call nor its allocation is wanted.
template <typename Callback>
void ForEachItem(const TByteDynArray& Bytes, const TScriptBounds& Script, Callback&& Visit) {
    std::size_t p = Script.FirstTerm;
    while (p < Script.TermsEnd) {
        const std::size_t term = p;
        const std::int32_t termSize = detail::CheckedInt32(Bytes, term, Script.TermsEnd);
        // A term holds its header and at least one item code.
        if (termSize < TermHeaderSize + 4 || static_cast<std::size_t>(termSize) > Script.TermsEnd - term)
            detail::RaiseInvalidScript();
        const std::size_t termEnd = term + static_cast<std::size_t>(termSize);
        p = term + TermHeaderSize;
        while (p < termEnd) {
            const std::size_t before = p;
            Visit(p, term, termEnd);
            if (p <= before || p > termEnd)
                detail::RaiseInvalidScript();
        }
    }
}
void WalkScript(const TByteDynArray& Script, const TWalkCallback& Callback);

// A term that is one number: Size 24 and a first item of code 0.
bool IsConstantTerm(const TByteDynArray& Term);
// Builds a complete script from Terms. With FoldConstants, the one-number
// terms are summed into one term placed after all the others (TypeIndex
// ConstantTypeIndex, Negative set when the sum is below 0 or NaN, holding its
// magnitude). The Offsets table lists every sub-expression item of the terms.
void LinkScript(const TScripts& Terms, TByteDynArray& Script, std::int32_t ConstantTypeIndex,
                bool FoldConstants);

} // namespace korvo
