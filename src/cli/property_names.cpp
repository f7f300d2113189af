#include "cli/property_names.h"

#include <climits>
#include <vector>

namespace {

constexpr const char* kAutomaticWord = "auto";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names and words compare without the letter case of ASCII letters, as the settings file's keys.
bool SameWord(const std::string& typed, const char* word) {
    size_t i = 0;
    for (; i < typed.size() && word[i] != '\0'; ++i)
        if (Lower(typed[i]) != Lower(word[i]))
            return false;
    return i == typed.size() && word[i] == '\0';
}

// The camera mode takes words only; a coded property its words or their codes.
const ValueWord* WordsOf(const NamedProperty& property) {
    return property.row ? property.row->words : kCameraModeWords;
}

const ValueWord* FirstWithCode(const ValueWord* words, int64_t code) {
    for (const ValueWord* w = words; w->word; ++w)
        if (w->code == code)
            return w;
    return nullptr;
}

// "off, on or auto": each word once, in the table's order.
std::string WordList(const ValueWord* words) {
    std::vector<const char*> distinct;
    for (const ValueWord* w = words; w->word; ++w) {
        bool seen = false;
        for (const char* before : distinct)
            seen = seen || SameWord(w->word, before);
        if (!seen)
            distinct.push_back(w->word);
    }
    std::string list;
    for (size_t i = 0; i < distinct.size(); ++i) {
        if (i > 0)
            list += i + 1 == distinct.size() ? " or " : ", ";
        list += distinct[i];
    }
    return list;
}

// The properties whose check box switches the camera's own automatic mode take "auto" for it.
bool TakesAutomatic(const PropertyRow& row) {
    return row.boxAction == BoxAction::WhiteBalanceAutomatic ||
           row.boxAction == BoxAction::FocusAutomatic;
}

bool ParseValue(const std::string& text, Assignment* assignment, std::string* problem) {
    const NamedProperty& property = assignment->property;
    int64_t number = 0;
    const bool isNumber = ParseInteger(text, INT32_MIN, INT32_MAX, &number);
    if (const ValueWord* words = WordsOf(property)) {
        for (const ValueWord* w = words; w->word; ++w) {
            if (SameWord(text, w->word)) {
                assignment->value = w->code;
                return true;
            }
        }
        if (property.row && isNumber && FirstWithCode(words, number)) {
            assignment->value = static_cast<int32_t>(number);
            return true;
        }
        *problem = "bad value '" + text + "' for " + property.Name() + " (" + WordList(words) +
                   (property.row ? ", or their codes in the settings file)" : ")");
        return false;
    }
    if (TakesAutomatic(*property.row) && SameWord(text, kAutomaticWord)) {
        assignment->automatic = true;
        return true;
    }
    if (isNumber) {
        assignment->value = static_cast<int32_t>(number);
        return true;
    }
    *problem = "bad value '" + text + "' for " + property.Name() + " (a whole number" +
               (TakesAutomatic(*property.row) ? " or auto)" : ")");
    return false;
}

} // namespace

bool FindProperty(const std::string& name, NamedProperty* property) {
    for (const PropertyRow& row : AllProperties()) {
        if (SameWord(name, row.key)) {
            property->row = &row;
            return true;
        }
    }
    if (SameWord(name, kCameraModeName)) {
        property->row = nullptr;
        return true;
    }
    return false;
}

bool ParseAssignment(const std::string& text, Assignment* assignment, std::string* problem) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        *problem = "'" + text + "' is not PROPERTY=VALUE";
        return false;
    }
    const std::string name = text.substr(0, equals);
    if (!FindProperty(name, &assignment->property)) {
        *problem = "unknown property '" + name + "'";
        return false;
    }
    return ParseValue(text.substr(equals + 1), assignment, problem);
}

std::string ShownValue(const NamedProperty& property, int32_t value) {
    const ValueWord* words = WordsOf(property);
    const ValueWord* word = words ? FirstWithCode(words, value) : nullptr;
    return word ? word->word : std::to_string(value);
}

bool ShownAsWord(const NamedProperty& property, int32_t value) {
    const ValueWord* words = WordsOf(property);
    return words && FirstWithCode(words, value);
}

bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* value) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    if (i == text.size())
        return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > (int64_t{1} << 40)) // far beyond every limit asked for
            return false;
    }
    const int64_t number = negative ? -magnitude : magnitude;
    if (number < minimum || number > maximum)
        return false;
    *value = number;
    return true;
}
