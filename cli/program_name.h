// The name the command-line program is called by, in its help and messages.
// On Windows kalvorin.exe is the window program, so this one is kalvorin-cli.
#pragma once

#ifdef _WIN32
#define KALVORIN_CLI_NAME "kalvorin-cli"
#else
#define KALVORIN_CLI_NAME "kalvorin"
#endif
