#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace serivane::tools {

// Writes indented JSON into a text. Commas, nesting and string escaping are handled here; the
// caller opens and closes containers in order, naming each member of an object with key().
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(double number); // not finite: null
    JsonWriter& value(long long number);
    JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    // The document, ending in a newline once the outermost container is closed.
    const std::string& text() const { return text_; }

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void newline();

    std::string text_;
    std::vector<bool> hasMembers_; // one entry per open container
    bool afterKey_ = false;
};

// A JSON string literal, quotes included.
std::string jsonQuoted(std::string_view text);

} // namespace serivane::tools
