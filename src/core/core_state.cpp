#include "core/core_state.h"

CoreState core = {1.0f / 60.0f, 0, 0, 0, {nullptr, 0, 0}};
