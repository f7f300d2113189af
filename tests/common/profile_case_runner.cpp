// The case-file interpreter shared by the Windows probe and the host runner.
#include "profile_case_runner.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 't')
            out += '\t';
        else if (c == 'x' && i + 2 < text.size() + 1) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

std::string Escape(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char hex[8];
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c >= 0x7f) {
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '|'))
        fields.push_back(Unescape(field));
    if (!line.empty() && line.back() == '|')
        fields.push_back("");
    return fields;
}

const ProfileSystem* sys = nullptr;

std::string WorkingFolder() {
    char folder[260] = {};
    sys->currentDirectory(sizeof folder, folder);
    return folder;
}

std::string FullPath(const std::string& name) {
    if (name.find_first_of("\\:") != std::string::npos)
        return name;
    return WorkingFolder() + "\\" + name;
}

// A field that is exactly "~null" passes a null pointer.
const char* Arg(const std::string& field) {
    return field == "~null" ? nullptr : field.c_str();
}

void Remember(std::vector<std::string>& names, const std::string& name) {
    for (const std::string& known : names)
        if (known == name)
            return;
    names.push_back(name);
}

void CurrentDirectorySteps() {
    char probe[4];
    const uint32_t needed = sys->currentDirectory(0, nullptr);
    const uint32_t length = sys->currentDirectory(sizeof probe, probe) - 1;
    std::printf("cwd size=0 -> length%+ld\n",
                static_cast<long>(needed) - static_cast<long>(length));
    for (uint32_t extra = 0; extra < 3; ++extra) {
        std::vector<char> buffer(length + extra + 1, 'Z');
        const uint32_t result = sys->currentDirectory(length + extra, buffer.data());
        const bool copied = buffer[length] == '\0' && result == length;
        std::printf("cwd size=length+%lu -> length%+ld %s\n", static_cast<unsigned long>(extra),
                    static_cast<long>(result) - static_cast<long>(length),
                    copied ? "copied" : (buffer[0] == 'Z' ? "untouched" : "changed"));
    }
}

int RunStep(const std::vector<std::string>& f, std::vector<std::string>& names) {
    const std::string& op = f[0];
    if (op == "file" && f.size() == 3) {
        sys->createFile(FullPath(f[1]), f[2]);
        Remember(names, f[1]);
    } else if (op == "int" && f.size() == 5) {
        Remember(names, f[4]);
        const int32_t value =
            sys->readInt(Arg(f[1]), Arg(f[2]), std::atoi(f[3].c_str()), FullPath(f[4]).c_str());
        std::printf("int [%s] %s -> %d\n", Escape(f[1]).c_str(), Escape(f[2]).c_str(),
                    static_cast<int>(value));
    } else if (op == "str" && f.size() == 6) {
        Remember(names, f[5]);
        const uint32_t size = static_cast<uint32_t>(std::atoi(f[4].c_str()));
        std::string buffer(size + 4, 'Z');
        const uint32_t result = sys->readString(Arg(f[1]), Arg(f[2]), Arg(f[3]), &buffer[0], size,
                                                FullPath(f[5]).c_str());
        std::printf("str [%s] %s size=%lu -> %lu \"%s\"%s\n", Escape(f[1]).c_str(),
                    Escape(f[2]).c_str(), static_cast<unsigned long>(size),
                    static_cast<unsigned long>(result), Escape(buffer.substr(0, size)).c_str(),
                    buffer.substr(size) == "ZZZZ" ? "" : " overrun");
    } else if (op == "write" && f.size() == 5) {
        Remember(names, f[4]);
        const bool ok = sys->writeString(Arg(f[1]), Arg(f[2]), Arg(f[3]), FullPath(f[4]).c_str());
        std::printf("write [%s] %s=%s -> %d\n", Escape(f[1]).c_str(), Escape(f[2]).c_str(),
                    Escape(f[3]).c_str(), ok ? 1 : 0);
    } else if (op == "cwd") {
        CurrentDirectorySteps();
    } else if (op == "delete" && f.size() == 2) {
        Remember(names, f[1]);
        sys->deleteFile(FullPath(f[1]));
    } else if (op == "lock" && f.size() == 2) {
        Remember(names, f[1]);
        if (!sys->lockFile(FullPath(f[1]))) {
            std::fprintf(stderr, "cannot lock %s\n", f[1].c_str());
            return 2;
        }
    } else if (op == "unlock" && f.size() == 2) {
        if (!sys->unlockFile(FullPath(f[1]))) {
            std::fprintf(stderr, "bad step: unlock of %s, which is not locked\n", f[1].c_str());
            return 2;
        }
    } else {
        std::fprintf(stderr, "bad step: %s\n", op.c_str());
        return 2;
    }
    return 0;
}

} // namespace

int RunProfileCases(int argc, char** argv, const char* programName, const ProfileSystem& system) {
    sys = &system;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CASE_FILE\n", programName);
        return 2;
    }
    std::ifstream cases(argv[1], std::ios::binary);
    if (!cases) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    std::vector<std::string> names;
    std::string line;
    while (std::getline(cases, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (RunStep(Fields(line), names) != 0)
            return 2;
    }
    sys->unlockAll();
    for (const std::string& name : names) {
        std::string bytes;
        if (!sys->readFile(FullPath(name), &bytes)) {
            std::printf("file %s missing\n", name.c_str());
            continue;
        }
        std::printf("file %s \"%s\"\n ", name.c_str(), Escape(bytes).c_str());
        for (unsigned char c : bytes)
            std::printf(" %02x", c);
        std::printf("\n");
    }
    return 0;
}
