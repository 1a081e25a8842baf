// Ids shared by the window code and the resource script, so plain macros.
#pragma once

#define KALVORIN_ICON_ID 104
