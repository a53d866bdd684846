#pragma once
// A loaded model as the GL-free core sees it: an index that the drawing side resolves
// through its model library. The core stores it in its instance records and never
// looks behind it.
#include <cstdint>

using ModelHandle = int32_t;

constexpr ModelHandle kNoModel = -1;
