// Compiling and scanning with PCRE2. The subject's UTF-16 is made valid once (lone surrogates read as
// U+FFFD), so every match call can skip the library's own check of the whole subject, which would
// otherwise make a global scan quadratic.
//
// The library's match limit counts the work of one starting position only, so a pattern that costs
// time in proportion to the rest of the subject at every position would still run for hours over a
// page of megabytes. The pattern is therefore compiled behind a callout that runs at each attempted
// starting position and ends the scan once its time budget is spent.
#include "platform/regexp_pcre.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::pcre {
namespace {

constexpr std::uint32_t kDialectOptions = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                                          PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY |
                                          PCRE2_NEVER_BACKSLASH_C;

// Bounds of one match attempt: far more than the program's patterns need on pages of many
// megabytes, small enough that a runaway attempt gives up within a fraction of a second.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kHeapLimitKibibytes = 256 * 1024;
constexpr PCRE2_SIZE kJitStackStart = 64 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 16 * 1024 * 1024;

// Bound of a whole scan. The clock is read every few starting positions, as reading it costs about
// as much as a quick attempt.
constexpr std::chrono::seconds kScanBudget(5);
constexpr unsigned kAttemptsPerClockReading = 16;

// The watchdog runs first at every starting position; the group keeps the pattern's own alternatives
// and groups as they are.
constexpr std::u16string_view kWatchdogOpening = u"(?C)(?:";
constexpr std::u16string_view kWatchdogClosing = u")";

constexpr char16_t kReplacementCharacter = u'\uFFFD';

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool IsSurrogate(char16_t unit) {
    return (unit & 0xF800) == 0xD800;
}

// Counted without branches, so the loop vectorises and the common case (no surrogates at all) runs at
// memory speed.
bool HasSurrogates(std::u16string_view text) {
    std::size_t surrogates = 0;
    for (char16_t unit : text) {
        surrogates += static_cast<std::uint16_t>(unit - 0xD800) < 0x800;
    }
    return surrogates != 0;
}

// A copy of `text` with each lone surrogate replaced by U+FFFD; nullopt when `text` is valid UTF-16
// already.
std::optional<std::u16string> WithoutLoneSurrogates(std::u16string_view text) {
    if (!HasSurrogates(text)) {
        return std::nullopt;
    }
    std::u16string valid(text);
    bool changed = false;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        if (IsHighSurrogate(valid[i]) && i + 1 < valid.size() && IsLowSurrogate(valid[i + 1])) {
            ++i;
        } else if (IsSurrogate(valid[i])) {
            valid[i] = kReplacementCharacter;
            changed = true;
        }
    }
    return changed ? std::optional<std::u16string>(std::move(valid)) : std::nullopt;
}

// The offset one character after `offset` in valid UTF-16.
std::size_t NextCharacter(std::u16string_view subject, std::size_t offset) {
    if (offset + 1 < subject.size() && IsHighSurrogate(subject[offset])) {
        return offset + 2;
    }
    return offset + 1;
}

class Watchdog {
public:
    Watchdog() : deadline_(std::chrono::steady_clock::now() + kScanBudget) {}

    // The callout: a negative result abandons the match call.
    static int OnAttempt(pcre2_callout_block*, void* watchdog) {
        return static_cast<Watchdog*>(watchdog)->Expired() ? PCRE2_ERROR_CALLOUT : 0;
    }

private:
    bool Expired() {
        if (++attempts_ % kAttemptsPerClockReading != 0) {
            return false;
        }
        return std::chrono::steady_clock::now() > deadline_;
    }

    std::chrono::steady_clock::time_point deadline_;
    unsigned attempts_ = 0;
};

MatchContext BoundedMatchContext(pcre2_jit_stack* jitStack, Watchdog& watchdog) {
    MatchContext context(pcre2_match_context_create(nullptr));
    if (context) {
        pcre2_set_match_limit(context.get(), kMatchLimit);
        pcre2_set_heap_limit(context.get(), kHeapLimitKibibytes);
        pcre2_set_callout(context.get(), &Watchdog::OnAttempt, &watchdog);
        if (jitStack != nullptr) {
            pcre2_jit_stack_assign(context.get(), nullptr, jitStack);
        }
    }
    return context;
}

Code CompileCode(std::u16string_view pattern, std::uint32_t options, pcre2_compile_context* context) {
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    return Code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                              &errorCode, &errorOffset, context));
}

// Compiling to machine code costs more than interpreting a short subject, such as the first
// kilobyte of a page searched for its charset. Without JIT the interpreter runs the same pattern.
constexpr std::size_t kJitWorthwhileUnits = 16 * 1024;

bool CompileForSpeedIfWorthwhile(const CompiledPattern& pattern, std::size_t subjectUnits) {
    if (!pattern.jitCompiled && subjectUnits >= kJitWorthwhileUnits) {
        pcre2_jit_compile(pattern.code.get(), PCRE2_JIT_COMPLETE);
        pattern.jitCompiled = true;
    }
    return pattern.jitCompiled;
}

std::u16string WithWatchdog(std::u16string_view pattern) {
    std::u16string guarded;
    guarded.reserve(kWatchdogOpening.size() + pattern.size() + kWatchdogClosing.size());
    guarded.append(kWatchdogOpening).append(pattern).append(kWatchdogClosing);
    return guarded;
}

}  // namespace

std::unique_ptr<CompiledPattern> Compile(std::u16string_view pattern, PatternSettings settings) {
    CompileContext context(pcre2_compile_context_create(nullptr));
    if (!context) {
        return nullptr;
    }
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    std::uint32_t options = kDialectOptions;
    if (settings.ignoreCase) {
        options |= PCRE2_CASELESS;
    }
    if (settings.multiline) {
        options |= PCRE2_MULTILINE;
    }
    // The pattern as written decides acceptance; the guarded form is what runs. A pattern that only
    // works unwrapped (a leading "(*...)" setting, an open-ended "\Q") runs unguarded.
    Code code = CompileCode(pattern, options, context.get());
    if (!code) {
        return nullptr;
    }
    auto compiled = std::make_unique<CompiledPattern>();
    compiled->code = CompileCode(WithWatchdog(pattern), options, context.get());
    if (!compiled->code) {
        compiled->code = std::move(code);
    }
    std::uint32_t groupCount = 0;
    pcre2_pattern_info(compiled->code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
    compiled->groupCount = static_cast<int>(groupCount);
    return compiled;
}

ScanEnd Scan(const CompiledPattern& pattern, std::u16string_view subject, bool global,
             const MatchSink& sink) {
    std::optional<std::u16string> repaired = WithoutLoneSurrogates(subject);
    std::u16string_view valid = repaired ? std::u16string_view(*repaired) : subject;
    MatchData matchData(pcre2_match_data_create_from_pattern(pattern.code.get(), nullptr));
    JitStack jitStack(CompileForSpeedIfWorthwhile(pattern, valid.size())
                          ? pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)
                          : nullptr);
    Watchdog watchdog;
    MatchContext matchContext = BoundedMatchContext(jitStack.get(), watchdog);
    if (!matchData || !matchContext) {
        return ScanEnd::LimitReached;
    }
    const auto* units = reinterpret_cast<PCRE2_SPTR>(valid.data());
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData.get());
    const std::size_t pairs = static_cast<std::size_t>(pattern.groupCount) + 1;
    std::size_t start = 0;
    while (start <= valid.size()) {
        int rc = pcre2_match(pattern.code.get(), units, valid.size(), start, PCRE2_NO_UTF_CHECK,
                             matchData.get(), matchContext.get());
        if (rc == PCRE2_ERROR_NOMATCH) {
            return ScanEnd::Complete;
        }
        if (rc <= 0) {
            return ScanEnd::LimitReached;
        }
        for (std::size_t pair = static_cast<std::size_t>(rc); pair < pairs; ++pair) {
            ovector[2 * pair] = PCRE2_UNSET;
            ovector[2 * pair + 1] = PCRE2_UNSET;
        }
        sink(ovector);
        if (!global) {
            return ScanEnd::Complete;
        }
        std::size_t end = std::max<std::size_t>(ovector[1], start);
        start = ovector[1] > ovector[0] ? end : NextCharacter(valid, end);
    }
    return ScanEnd::Complete;
}

}  // namespace platform::pcre
