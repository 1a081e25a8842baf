// Which kind of file the generate command writes.
#pragma once

enum class OutputStyle { Classic, Fast };
enum class Precision { Double, Single };
