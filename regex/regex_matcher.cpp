#include "regex/regex_matcher.h"
