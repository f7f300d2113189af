#include "settings/stored_name.h"

namespace {

// What the profile functions drop around a value: space, tab, line feed, vertical tab, form feed,
// carriage return and ^Z.
bool IsProfileBlank(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string Escaped(const std::string& name) {
    std::string text;
    for (char c : name) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

} // namespace

bool NameReadsBackUnchanged(const std::string& name) {
    if (name.find_first_of("\r\n") != std::string::npos)
        return false; // the line would end there
    if (name.empty())
        return true;
    if (IsProfileBlank(name.front()) || IsProfileBlank(name.back()))
        return false;
    return !(name.size() >= 2 && IsQuote(name.front()) && name.back() == name.front());
}

std::string StoredName(const std::string& name) {
    if (NameReadsBackUnchanged(name))
        return name;
    return "\"\"" + Escaped(name) + "\"\"";
}

std::string StoredNameAsRead(const std::string& name) {
    if (NameReadsBackUnchanged(name))
        return name;
    return "\"" + Escaped(name) + "\"";
}
