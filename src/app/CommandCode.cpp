#include "app/CommandCode.h"

std::int32_t CommandCode = 0;
