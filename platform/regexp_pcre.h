// The PCRE2 side of the regular-expression engine: owning handles for the library's objects (16-bit
// code units), compiling a pattern with the options of the engine's dialect, and scanning a subject
// for its matches within bounded time, memory and stack.
#pragma once

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace platform::pcre {

template <auto Release>
struct Releaser {
    template <typename T>
    void operator()(T* object) const {
        Release(object);
    }
};

using Code = std::unique_ptr<pcre2_code, Releaser<pcre2_code_free>>;
using CompileContext = std::unique_ptr<pcre2_compile_context, Releaser<pcre2_compile_context_free>>;
using MatchContext = std::unique_ptr<pcre2_match_context, Releaser<pcre2_match_context_free>>;
using MatchData = std::unique_ptr<pcre2_match_data, Releaser<pcre2_match_data_free>>;
using JitStack = std::unique_ptr<pcre2_jit_stack, Releaser<pcre2_jit_stack_free>>;

struct CompiledPattern {
    Code code;
    int groupCount = 0;
    // Machine code is made on the first subject long enough to repay it.
    mutable bool jitCompiled = false;
};

struct PatternSettings {
    bool ignoreCase = false;
    bool multiline = false;
};

// nullptr when the library rejects the pattern.
std::unique_ptr<CompiledPattern> Compile(std::u16string_view pattern, PatternSettings settings);

enum class ScanEnd { Complete, LimitReached };

// Receives start and end of a match and of each group (PCRE2_UNSET for a group that took no part).
using MatchSink = std::function<void(const std::size_t* offsets)>;

// Feeds every match of `pattern` in `subject` to `sink`, left to right (only the first unless
// `global`). After an empty match the next attempt starts one character further on.
ScanEnd Scan(const CompiledPattern& pattern, std::u16string_view subject, bool global, const MatchSink& sink);

}  // namespace platform::pcre
