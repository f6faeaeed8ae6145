#pragma once
// Where readers put the fields that an older format version holds and the current layout no longer
// keeps: the value has to be read to stay in step with the file, and then nobody looks at it.
#include <cstdint>

extern std::uint32_t g_DiscardedField;
