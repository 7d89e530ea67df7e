// The two files the program carries inside itself and writes beside itself at start-up. Their
// sources are generated at build time from the built skinning library and the skin file.
#pragma once

#include <string_view>

// The skinning library, written as Skin.dll.
std::string_view CarriedSkinLibrary();

// The skin file the library reads, written as normal.skin.
std::string_view CarriedSkinFile();
