// A JSON document read from UTF-8 bytes into a tree that remembers where
// each value and each member name starts (line and column, from 1; columns
// count characters). Plain code: strict JSON (RFC 8259) with a byte-order
// mark allowed at the start, a member name given twice refused, and a
// nesting depth limit so that a hostile file cannot exhaust the stack.
#pragma once

#include <cstddef>
#include <vector>

#include "base/wide_text.h"

struct JsonMember;

struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
    int line = 0;
    int column = 0;
    bool boolean = false;
    CStringW text;                    // a string's text, or a number as written
    std::vector<JsonValue> items;     // an array's
    std::vector<JsonMember> members;  // an object's, in their order
};

struct JsonMember {
    CStringW name;
    int line = 0;
    int column = 0;
    JsonValue value;
};

enum class JsonError {
    kNone,
    kBadUtf8,          // bytes that are not UTF-8
    kUnexpected,       // a character where none of its kind may stand
    kUnexpectedEnd,    // the text ends inside a value
    kBadString,        // a control character, a bad escape or a lone surrogate in a string
    kBadNumber,        // a number JSON does not allow (leading zero, no digits)
    kDuplicateMember,  // a member name given twice in one object
    kTooDeep,          // nested deeper than kMaxJsonDepth
    kTrailing,         // something after the document
};

// Objects and arrays nested deeper than this are refused.
constexpr int kMaxJsonDepth = 32;

struct JsonRead {
    JsonValue root;
    JsonError error = JsonError::kNone;
    int line = 0;  // where the error is
    int column = 0;
};

JsonRead ReadJson(const unsigned char* data, std::size_t size);

// The member `name` of an object (exact spelling), or null.
const JsonMember* FindMember(const JsonValue& object, const char16_t* name);
