#pragma once

#include <QLibrary>

// Looks up a function of a library loaded at run time into a pointer of its declared type;
// false when the library has no such function.
template <typename Function>
bool resolveFunction(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}
