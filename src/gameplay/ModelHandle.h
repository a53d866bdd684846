#pragma once
#include "world/ModelHandle.h"
