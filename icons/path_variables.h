// %NAME% references in a path, expanded in place.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "base/filesystem.h"

namespace velmora {

// Looks a variable up: true and its value, or false when it is not set.
using VariableLookup = std::function<bool(const std::string& name, std::string& value)>;

// Replaces every %NAME% of `path` (a zero-terminated text in a buffer of
// kPathBufferSize bytes) by the variable's value, or by nothing when the
// variable is not set. Returns 0 on success. Returns -1 and leaves the path
// untouched when it holds fewer than two "%", when a "%" has no closing
// partner, or when the result would not fit in the buffer (a result of
// kPathBufferSize bytes or more is refused, never cut). A result that would
// be empty also leaves the path as it was (0 is returned).
int ExpandPathVariables(char* path, const VariableLookup& lookup);

// The same with the process environment.
int ExpandPathVariables(char* path);

// The whole value of an environment variable; false when it is not set (an
// empty value counts as not set, as on Windows).
bool GetEnvironmentValue(const std::string& name, std::string& value);

}  // namespace velmora
