// SPDX-License-Identifier: MIT
// The query parser lives with the page address in the generator library.
#pragma once
#include "generator/PageAddress.h"
