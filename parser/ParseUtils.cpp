// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/ParseUtils.h"

#include "base/RegionalSettings.h"
#include "parser/ParseConsts.h"
#include "parser/ParseErrors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace korvo {

std::int64_t Round64(double X) {
    constexpr std::int64_t invalid = std::numeric_limits<std::int64_t>::min();
    // 2^63 is exact in double; every double below it in magnitude is either
    // whole or has a fraction, so rounding cannot reach 2^63 from below.
    constexpr double limit = 9223372036854775808.0;
    if (!(X >= -limit && X < limit))
        return invalid;
    const double whole = std::trunc(X);
    const double fraction = X - whole; // exact for doubles
    double r = whole;
    if (std::fabs(fraction) > 0.5 || (std::fabs(fraction) == 0.5 && std::fmod(whole, 2.0) != 0.0))
        r = whole + (X < 0 ? -1.0 : 1.0);
    if (!(r >= -limit && r < limit))
        return invalid;
    return static_cast<std::int64_t>(r);
}

std::string TrimLeft(const std::string& S) {
    std::size_t b = 0;
    while (b < S.size() && IsBlank(S[b]))
        ++b;
    return S.substr(b);
}

std::string Trim(const std::string& S) {
    std::size_t e = S.size();
    while (e > 0 && IsBlank(S[e - 1]))
        --e;
    std::size_t b = 0;
    while (b < e && IsBlank(S[b]))
        ++b;
    return S.substr(b, e - b);
}

namespace {
char LowerChar(char C) {
    return detail::LowerAscii(C);
}
} // namespace

std::string LowerCase(std::string S) {
    for (char& c : S)
        c = LowerChar(c);
    return S;
}

bool StripPrefix(const std::string& Prefix, std::string& S, bool Delete) {
    if (Prefix.size() > S.size() || S.compare(0, Prefix.size(), Prefix) != 0)
        return false;
    if (Delete)
        S = TrimLeft(S.substr(Prefix.size()));
    return true;
}

bool ParseSign(std::string& S) {
    bool negative = false;
    std::size_t b = 0;
    while (b < S.size() && std::find(SignChars.begin(), SignChars.end(), S[b]) != SignChars.end()) {
        if (S[b] == '-')
            negative = !negative;
        ++b;
        while (b < S.size() && IsBlank(S[b]))
            ++b;
    }
    S.erase(0, b);
    return negative;
}

void StripSeparators(std::string& S) {
    std::size_t b = 0;
    while (b < S.size() && (S[b] == ',' || S[b] == ';')) {
        ++b;
        while (b < S.size() && IsBlank(S[b]))
            ++b;
    }
    S.erase(0, b);
}

int FindFunctionPrefix(const TFunctions& Functions, std::string& S) {
    for (std::size_t i = 0; i < Functions.size(); ++i)
        if (StripPrefix(Functions[i].Name, S, true))
            return static_cast<int>(i);
    return -1;
}

TLocks FindLocks(const std::string& S) {
    TLocks locks;
    int open = -1;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != QuoteChar)
            continue;
        if (open < 0) {
            open = static_cast<int>(i);
        } else {
            locks.push_back(TLock{open, static_cast<int>(i)});
            open = -1;
        }
    }
    return locks;
}

bool InLock(int Position, const TLocks& Locks) {
    return std::any_of(Locks.begin(), Locks.end(),
                       [Position](const TLock& l) { return l.First <= Position && Position <= l.Last; });
}

void SortByLength(std::vector<std::string>& Strings) {
    std::stable_sort(Strings.begin(), Strings.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

TDelimiterIndex::TDelimiterIndex(std::vector<std::string> Delimiters) : FDelimiters(std::move(Delimiters)) {
    // Counting sort of the positions by first byte; stable, so each group
    // keeps the list's order.
    std::array<std::uint32_t, 256> counts{};
    for (std::size_t i = 0; i < FDelimiters.size(); ++i) {
        if (FDelimiters[i].empty()) {
            if (FFirstEmpty < 0)
                FFirstEmpty = static_cast<int>(i);
        } else {
            ++counts[static_cast<unsigned char>(FDelimiters[i].front())];
        }
    }
    for (std::size_t c = 0; c < 256; ++c)
        FGroupStart[c + 1] = FGroupStart[c] + counts[c];
    FOrder.resize(FGroupStart[256]);
    std::array<std::uint32_t, 256> next{};
    std::copy(FGroupStart.begin(), FGroupStart.end() - 1, next.begin());
    for (std::size_t i = 0; i < FDelimiters.size(); ++i)
        if (!FDelimiters[i].empty())
            FOrder[next[static_cast<unsigned char>(FDelimiters[i].front())]++] =
                static_cast<std::uint32_t>(i);
}

std::size_t TDelimiterIndex::MatchAt(std::string_view S, std::size_t Position) const {
    const auto c = static_cast<unsigned char>(S[Position]);
    const std::string_view rest = S.substr(Position);
    for (std::uint32_t k = FGroupStart[c]; k < FGroupStart[c + 1u]; ++k) {
        const std::string& d = FDelimiters[FOrder[k]];
        if (rest.starts_with(d))
            return d.size();
    }
    return 0;
}

int TDelimiterIndex::FindPrefix(std::string_view S) const {
    int found = -1;
    if (!S.empty()) {
        const auto c = static_cast<unsigned char>(S.front());
        for (std::uint32_t k = FGroupStart[c]; k < FGroupStart[c + 1u]; ++k) {
            if (S.starts_with(FDelimiters[FOrder[k]])) {
                found = static_cast<int>(FOrder[k]);
                break;
            }
        }
    }
    if (FFirstEmpty >= 0 && (found < 0 || FFirstEmpty < found))
        found = FFirstEmpty;
    return found;
}

std::vector<std::string> SplitText(const std::string& S, std::vector<std::string> Delimiters,
                                   bool SortDelimiters) {
    if (SortDelimiters)
        SortByLength(Delimiters);
    return SplitText(S, TDelimiterIndex(std::move(Delimiters)));
}

namespace {
std::string_view TrimView(std::string_view S) {
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    return S;
}
} // namespace

std::vector<std::string> SplitText(const std::string& S, const TDelimiterIndex& Delimiters) {
    std::vector<std::string> parts;
    if (Delimiters.Delimiters().empty())
        return parts;
    // One flag per character instead of a search of the locks at every position.
    std::vector<bool> locked(S.size(), false);
    for (const TLock& l : FindLocks(S))
        for (int i = l.First; i <= l.Last; ++i)
            locked[static_cast<std::size_t>(i)] = true;
    const std::string_view text(S);
    std::size_t from = 0;
    auto addPiece = [&](std::size_t to) {
        const std::string_view piece = TrimView(text.substr(from, to - from));
        if (!piece.empty())
            parts.emplace_back(piece);
        from = to;
    };
    for (std::size_t b = 0; b < S.size(); ++b) {
        if (locked[b])
            continue;
        // An empty delimiter would match everywhere and cut nothing.
        const std::size_t length = Delimiters.MatchAt(text, b);
        if (length > 0) {
            addPiece(b);
            b += length - 1;
        }
    }
    addPiece(S.size());
    return parts;
}

void ProcessBrackets(std::string& S, char Open, char Close, const TBracketCallback& Callback) {
    if (!Callback)
        return;
    // Before the first opening bracket there is never a bracket of this
    // pair left (a stray Close raises), so each new scan may resume there.
    std::size_t resume = 0;
    for (;;) {
        std::size_t opens = 0, closes = 0, first = 0, lastClose = 0;
        bool found = false;
        for (std::size_t i = resume; i < S.size(); ++i) {
            if (S[i] == Open) {
                if (opens == 0)
                    first = i;
                ++opens;
            } else if (S[i] == Close) {
                if (opens == closes)
                    RaiseParseError(SBracketExpected);
                lastClose = i;
                ++closes;
                if (opens == closes) {
                    found = true;
                    break;
                }
            }
        }
        if (!found) {
            if (opens != closes)
                RaiseParseError(SBracketExpected);
            return;
        }
        const std::string inner = S.substr(first + 1, lastClose - first - 1);
        Callback(S, inner, first, lastClose);
        resume = first;
    }
}

bool ReadNumber(const std::string& S, long double& Value) {
    const char separator = DecimalSeparator();
    std::size_t i = 0;
    const std::size_t n = S.size();
    while (i < n && S[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (S[i] == '+' || S[i] == '-'))
        negative = S[i++] == '-';
    std::string digits;
    long long fractionDigits = 0;
    bool seenSeparator = false, seenAny = false;
    for (; i < n; ++i) {
        if (S[i] >= '0' && S[i] <= '9') {
            digits.push_back(S[i]);
            if (seenSeparator)
                ++fractionDigits;
            seenAny = true;
        } else if (S[i] == separator && !seenSeparator) {
            seenSeparator = true;
            seenAny = true;
        } else {
            break;
        }
    }
    if (!seenAny)
        return false;
    long long exponent = 0;
    if (i < n && (S[i] == 'e' || S[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (S[i] == '+' || S[i] == '-'))
            negativeExponent = S[i++] == '-';
        while (i < n && S[i] >= '0' && S[i] <= '9' && exponent < 500)
            exponent = exponent * 10 + (S[i++] - '0');
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && S[i] == ' ')
        ++i;
    if (i != n)
        return false;
    // Leading zeros carry no value; without any other digit the number is 0.
    const std::size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        Value = negative ? -0.0L : 0.0L;
        return true;
    }
    digits.erase(0, lead);
    const long long scale = exponent - fractionDigits;
    const std::string text = digits + "e" + std::to_string(scale);
    long double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // The decimal magnitude tells overflow (no number) from underflow (0).
        if (static_cast<long long>(digits.size()) + scale > 0)
            return false;
        v = 0;
    } else if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return false;
    }
    Value = negative ? -v : v;
    return true;
}

namespace detail {
void RaiseInvalidScript() {
    RaiseParseError(SInvalidScript);
}
} // namespace detail

namespace {

[[noreturn]] void InvalidScript() {
    detail::RaiseInvalidScript();
}

using detail::CheckedInt32;

} // namespace

std::size_t detail::NestedItemLength(const TByteDynArray& Bytes, std::size_t P, std::size_t TermEnd) {
    std::size_t length = 0;
    switch (CheckedInt32(Bytes, P, TermEnd)) {
    case icNumber:
        length = 12;
        break;
    case icCall:
        length = 8;
        break;
    case icString: {
        const std::int32_t l = CheckedInt32(Bytes, P + 4, TermEnd);
        if (l < 0)
            InvalidScript();
        length = 8 + static_cast<std::size_t>(l);
        break;
    }
    case icSubExpression:
    case icParameterList:
        length = 4 + (CheckScript(Bytes, P + 4, TermEnd).End - (P + 4));
        break;
    default:
        InvalidScript();
    }
    if (TermEnd - P < length)
        InvalidScript();
    return length;
}

void WalkScript(const TByteDynArray& Bytes, const TScriptBounds& Script, const TWalkCallback& Callback) {
    if (!Callback)
        return;
    ForEachItem(Bytes, Script, Callback);
}

void WalkScript(const TByteDynArray& Script, const TWalkCallback& Callback) {
    WalkScript(Script, CheckScript(Script, 0, Script.size()), Callback);
}

bool IsConstantTerm(const TByteDynArray& Term) {
    return Term.size() >= 24 && GetInt32(Term, 0) == 24 && GetInt32(Term, TermHeaderSize) == icNumber;
}

void LinkScript(const TScripts& Terms, TByteDynArray& Script, std::int32_t ConstantTypeIndex,
                bool FoldConstants) {
    std::vector<const TByteDynArray*> kept;
    double sum = 0.0;
    bool found = false;
    for (const TByteDynArray& term : Terms) {
        if (FoldConstants && IsConstantTerm(term)) {
            const double v = GetDouble(term, TermHeaderSize + 4);
            sum = GetInt32(term, TermNegativeOffset) != 0 ? sum - v : sum + v;
            found = true;
        } else {
            kept.push_back(&term);
        }
    }
    TByteDynArray folded;
    if (found) {
        AppendInt32(folded, 24);
        AppendInt32(folded, (sum < 0 || std::isnan(sum)) ? -1 : 0);
        AppendInt32(folded, ConstantTypeIndex);
        EmitNumber(folded, std::fabs(sum));
        kept.push_back(&folded);
    }
    std::vector<std::size_t> nested;
    std::size_t before = 0;
    for (const TByteDynArray* term : kept) {
        const std::int32_t termSize = CheckedInt32(*term, 0, term->size());
        if (termSize < TermHeaderSize + 4 || static_cast<std::size_t>(termSize) != term->size())
            InvalidScript();
        for (std::size_t p = TermHeaderSize; p < term->size();) {
            const std::size_t length = ItemLength(*term, p, term->size());
            if (GetInt32(*term, p) == icSubExpression)
                nested.push_back(before + p + 4);
            p += length;
        }
        before += term->size();
    }
    const std::size_t header = ScriptHeaderSize + 4 * nested.size();
    Script.assign(header, 0);
    SetInt32(Script, ScriptCountOffset, static_cast<std::int32_t>(nested.size()));
    for (std::size_t i = 0; i < nested.size(); ++i)
        SetInt32(Script, ScriptHeaderSize + 4 * i, static_cast<std::int32_t>(nested[i] + header));
    for (const TByteDynArray* term : kept)
        AppendBytes(Script, term->data(), term->size());
    SetInt32(Script, ScriptSizeOffset, static_cast<std::int32_t>(Script.size()));
}

} // namespace korvo
