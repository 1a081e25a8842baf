// The generate command's only channel to the user. Every text is a code
// page 932 byte string; an empty caption means a box with an empty title.
#pragma once

#include "codegen/output/message_sink.h"

class UserDialogs : public MessageSink {
public:
    // Asks a question answered Yes (true) or No (false).
    virtual bool askYesNo(const char* text, const char* caption) = 0;
    // Replaces the whole text of the factors display.
    virtual void showFactors(const char* text) = 0;
};
