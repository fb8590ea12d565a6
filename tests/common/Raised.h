#pragma once
#include "QuillError.h"

// The message of the error call raised; empty when it raised none.
template <typename Call> QString raised(Call call)
{
    try {
        call();
    } catch (const QuillError &error) {
        return error.description();
    }
    return {};
}
