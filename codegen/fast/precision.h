// The number type of a fast-style file: double, or float throughout.
#pragma once

enum class Precision { Double, Single };
