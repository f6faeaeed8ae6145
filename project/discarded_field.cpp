#include "project/discarded_field.h"

std::uint32_t g_DiscardedField = 0;
