#include "tools/JsonWriter.h"
#include "tools/NumberText.h"

#include <cmath>
#include <cstdio>

namespace serivane::tools {

std::string jsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

JsonWriter& JsonWriter::beginObject() {
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    text_ += jsonQuoted(name) + ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    text_ += jsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) return null();
    beforeValue();
    text_ += shortest(number);
    return *this;
}

JsonWriter& JsonWriter::value(long long number) {
    beforeValue();
    text_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    text_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    text_ += "null";
    return *this;
}

// A value right after its key stays on the key's line; any other starts a line of its own.
void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.empty()) return;
    if (hasMembers_.back()) text_ += ',';
    hasMembers_.back() = true;
    newline();
}

void JsonWriter::open(char bracket) {
    beforeValue();
    text_ += bracket;
    hasMembers_.push_back(false);
}

void JsonWriter::close(char bracket) {
    bool hadMembers = hasMembers_.back();
    hasMembers_.pop_back();
    if (hadMembers) newline();
    text_ += bracket;
    if (hasMembers_.empty()) text_ += '\n';
}

void JsonWriter::newline() {
    text_ += '\n';
    text_.append(2 * hasMembers_.size(), ' ');
}

} // namespace serivane::tools
