// How the writers report a failure: they say what went wrong, the front end
// decides how to show it. Every text is a code page 932 byte string; an empty
// caption means a box with an empty title.
#pragma once

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows a message with one acknowledging button; returns when dismissed.
    virtual void showMessage(const char* text, const char* caption) = 0;
};
