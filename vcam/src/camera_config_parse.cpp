// Reads the configuration text: one setting a line, '#' starts a comment. Lines before the first
// "camera N" line are a template every camera starts from; see docs/vcam.md for the grammar.
#include "camera_config.h"

#include "paths.h"
#include "text_files.h"

#include <uuids.h>

#include <cstdlib>
#include <sstream>

namespace vcam {
namespace {

bool InterfaceNamed(const std::string& word, Interface* which) {
    for (int i = 0; i < static_cast<int>(Interface::Count); ++i)
        if (word == InterfaceName(static_cast<Interface>(i))) {
            *which = static_cast<Interface>(i);
            return true;
        }
    return false;
}

bool DirectionNamed(const std::string& word, Direction* which) {
    if (word == "get")
        *which = Direction::Get;
    else if (word == "set")
        *which = Direction::Set;
    else if (word == "range")
        *which = Direction::Range;
    else
        return false;
    return true;
}

bool SubtypeNamed(const std::string& word, Capability* format) {
    if (word == "RGB24") {
        format->subtype = MEDIASUBTYPE_RGB24;
        format->compression = BI_RGB;
        format->bitCount = 24;
    } else if (word == "MJPG") {
        format->subtype = MEDIASUBTYPE_MJPG;
        format->compression = MAKEFOURCC('M', 'J', 'P', 'G');
        format->bitCount = 24;
    } else if (word == "YUY2") {
        format->subtype = MEDIASUBTYPE_YUY2;
        format->compression = MAKEFOURCC('Y', 'U', 'Y', '2');
        format->bitCount = 16;
    } else if (word == "NV12") {
        format->subtype = MEDIASUBTYPE_NV12;
        format->compression = MAKEFOURCC('N', 'V', '1', '2');
        format->bitCount = 12;
    } else {
        return false;
    }
    return true;
}

// "busy [connect|run]", "denied [connect|run]": the step that fails (default run: Pause/Run).
bool ParseAcquireFailure(std::istringstream& in, HRESULT result, CameraConfig& camera) {
    std::string step = "run";
    in >> step;
    if (step != "run" && step != "connect")
        return false;
    camera.acquireResult = result;
    camera.acquireFailsAtConnect = step == "connect";
    return true;
}

// "procamp 0 range MIN MAX STEP DEFAULT CAPS", "procamp 0 value V FLAGS", "procamp 0 none".
bool ParseProperty(std::istringstream& in, std::map<long, Property>& table) {
    long id = 0;
    std::string what;
    if (!(in >> id >> what))
        return false;
    if (what == "none") {
        table.erase(id);
        return true;
    }
    Property p = table.count(id) ? table[id] : Property{0, 0, 1, 0, 2, 0, 2};
    if (what == "range") {
        if (!(in >> p.minimum >> p.maximum >> p.step >> p.defaultValue >> p.caps))
            return false;
        if (!table.count(id))
            p.value = p.defaultValue;
    } else if (what == "value") {
        if (!(in >> p.value >> p.flags))
            return false;
    } else {
        return false;
    }
    table[id] = p;
    return true;
}

bool ParseVendor(std::istringstream& in, CameraConfig& camera) {
    long id = 0;
    if (!(in >> id))
        return false;
    std::vector<int32_t> words;
    long long word = 0;
    while (in >> word)
        words.push_back(static_cast<int32_t>(word));
    if (words.empty())
        return false;
    camera.vendor[id] = words;
    return true;
}

// "format RGB24 1280 720 30 [MINFPS]"
bool ParseFormat(std::istringstream& in, Capability* format) {
    std::string subtype;
    double fps = 0, minFps = 0;
    if (!(in >> subtype >> format->width >> format->height >> fps) || fps <= 0 ||
        format->width <= 0 || format->height <= 0 || !SubtypeNamed(subtype, format))
        return false;
    if (!(in >> minFps) || minFps <= 0 || minFps > fps)
        minFps = fps;
    format->minInterval = static_cast<LONGLONG>(10000000.0 / fps);
    format->maxInterval = static_cast<LONGLONG>(10000000.0 / minFps);
    return true;
}

// "reject INTERFACE ID|* get|set|range [HRESULT]"; E_FAIL unless given.
bool ParseRejection(std::istringstream& in, Rejection* r) {
    std::string where, id, direction;
    if (!(in >> where >> id >> direction) || !InterfaceNamed(where, &r->where) ||
        !DirectionNamed(direction, &r->direction))
        return false;
    r->id = id == "*" ? -1 : std::strtol(id.c_str(), nullptr, 0);
    std::string result;
    r->result = E_FAIL;
    if (in >> result)
        r->result = static_cast<HRESULT>(std::strtoul(result.c_str(), nullptr, 0));
    return true;
}

// "name-escaped TEXT": a name that a line cannot carry as it is (blanks at its ends, line
// breaks): \s space, \t tab, \r, \n, \\ and \uHHHH (one UTF-16 unit) in UTF-8 text.
bool ParseEscapedName(const std::string& text, std::wstring* name) {
    std::string plain;
    std::wstring result;
    auto flush = [&] {
        result += Utf8ToWide(plain);
        plain.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        const char c = text[i];
        if (c == 's' || c == 't' || c == 'r' || c == 'n' || c == '\\') {
            plain += c == 's' ? ' ' : c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : '\\';
        } else if (c == 'u' && i + 4 < text.size()) {
            const std::string hex = text.substr(i + 1, 4);
            char* end = nullptr;
            const unsigned long unit = std::strtoul(hex.c_str(), &end, 16);
            if (hex.size() != 4 || *end != '\0')
                return false;
            flush();
            result += static_cast<wchar_t>(unit);
            i += 4;
        } else {
            return false;
        }
    }
    flush();
    *name = result;
    return !result.empty();
}

bool ParseLine(const std::string& keyword, std::istringstream& in, const std::string& rest,
               CameraConfig& camera, bool& formatsReplaced) {
    if (keyword == "name") {
        camera.name = Utf8ToWide(rest);
        return !rest.empty();
    }
    if (keyword == "name-escaped")
        return ParseEscapedName(rest, &camera.name);
    if (keyword == "device-path") {
        camera.devicePath = Utf8ToWide(rest);
        camera.hasDevicePath = true;
        return !rest.empty();
    }
    if (keyword == "no-device-path") {
        camera.hasDevicePath = false;
        return true;
    }
    if (keyword == "current-format")
        return static_cast<bool>(in >> camera.currentFormat) && camera.currentFormat >= 0;
    if (keyword == "kind") {
        std::string kind;
        if (!(in >> kind) || (kind != "audio" && kind != "video"))
            return false;
        camera.audio = kind == "audio";
        // A microphone has no picture controls, no vendor unit and no video stream format.
        for (Interface which : {Interface::ProcAmp, Interface::CameraControl, Interface::Vendor,
                                Interface::StreamConfig})
            camera.withheld[static_cast<int>(which)] = camera.audio;
        return true;
    }
    if (keyword == "ramp-frames")
        return static_cast<bool>(in >> camera.rampFrames) && camera.rampFrames >= 0;
    if (keyword == "busy")
        return ParseAcquireFailure(in, HRESULT_FROM_WIN32(ERROR_BUSY), camera);
    if (keyword == "denied")
        return ParseAcquireFailure(in, E_ACCESSDENIED, camera);
    if (keyword == "categories") {
        camera.inVideoCategory = camera.inCaptureCategory = false;
        std::string word;
        while (in >> word) {
            if (word == "video")
                camera.inVideoCategory = true;
            else if (word == "capture")
                camera.inCaptureCategory = true;
            else
                return false;
        }
        return true;
    }
    if (keyword == "procamp")
        return ParseProperty(in, camera.procamp);
    if (keyword == "cameracontrol")
        return ParseProperty(in, camera.cameraControl);
    if (keyword == "vendor")
        return ParseVendor(in, camera);
    if (keyword == "format") {
        Capability format{};
        if (!ParseFormat(in, &format))
            return false;
        // A block's first format line replaces the inherited list instead of extending it.
        if (!formatsReplaced)
            camera.formats.clear();
        formatsReplaced = true;
        camera.formats.push_back(format);
        return true;
    }
    if (keyword == "reject") {
        Rejection r{};
        if (!ParseRejection(in, &r))
            return false;
        camera.rejections.push_back(r);
        return true;
    }
    if (keyword == "withhold") {
        std::string word;
        Interface which;
        if (!(in >> word) || !InterfaceNamed(word, &which))
            return false;
        camera.withheld[static_cast<int>(which)] = true;
        return true;
    }
    return false;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

Config ParseConfig(const std::string& text) {
    Config config;
    CameraConfig templateCamera = DefaultCamera(0);
    CameraConfig* current = &templateCamera;
    bool formatsReplaced = false;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3); // a UTF-8 byte order mark
        // '#' starts a comment except in a name, which may contain any text.
        std::string body = Trimmed(line);
        if (body.empty() || body[0] == '#')
            continue;
        std::istringstream in(body);
        std::string keyword;
        in >> keyword;
        const std::string rest = Trimmed(body.substr(keyword.size()));
        if (keyword != "name" && keyword != "name-escaped" && keyword != "device-path") {
            body = Trimmed(body.substr(0, body.find('#')));
            in.str(body);
            in.clear();
            in >> keyword;
        }
        if (keyword == "camera") {
            CameraConfig next = templateCamera;
            if (!(in >> next.index) || next.index < 0 || next.index > 99) {
                config.problems.push_back("line " + std::to_string(number) + ": " + line);
                continue;
            }
            config.cameras.push_back(next);
            current = &config.cameras.back();
            formatsReplaced = false;
            continue;
        }
        if (!ParseLine(keyword, in, rest, *current, formatsReplaced))
            config.problems.push_back("line " + std::to_string(number) + ": " + line);
    }
    if (config.cameras.empty())
        config.cameras.push_back(templateCamera);
    return config;
}

Config LoadConfig() {
    const std::wstring path = ConfigPath();
    std::string text;
    if (path.empty() || !ReadWholeFile(path, &text)) {
        Config config;
        config.cameras.push_back(DefaultCamera(0));
        if (!path.empty())
            config.problems.push_back("cannot read " + WideToUtf8(path));
        return config;
    }
    return ParseConfig(text);
}

} // namespace vcam
