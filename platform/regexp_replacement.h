// The replacement template of the engine's Replace, in its JavaScript-like form: `$1` to `$99` for a
// group, `$&` for the match, `` $` `` and `$'` for the text before and after it, `$$` for "$".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Appends `replacement` to `out` with its "$" forms filled in. `offsets` holds start and end of the
// match in `subject` and of each of its `groupCount` groups (std::size_t(-1) when a group took no
// part, which fills in as empty).
void AppendReplacement(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
                       const std::size_t* offsets, int groupCount);

}  // namespace platform
