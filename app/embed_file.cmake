# Writes a C++ source that carries the bytes of INPUT as a byte block returned by the function
# FUNCTION (std::string_view FUNCTION()). Run at build time: cmake -DINPUT=.. -DOUTPUT=.. -DFUNCTION=.. -P
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
if(hex_length EQUAL 0)
  message(FATAL_ERROR "embed_file: ${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the list into lines of 16 bytes so compilers and editors stay comfortable.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated at build time from ${name}; do not edit.
#include <string_view>

namespace {
const unsigned char kBytes[] = {
${bytes}
};
}  // namespace

std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(kBytes), sizeof kBytes}; }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
