#include "cli/arguments.h"

#include "cli/usage.h"
#include "core/camera_settings.h"

#include <cstdint>

namespace {

enum Option : uint32_t {
    kCameraOption = 1u << 0,
    kJsonOption = 1u << 1,
    kSettingsOption = 1u << 2,
    kOutOption = 1u << 3,
    kWidthOption = 1u << 4,
    kHeightOption = 1u << 5,
    kTimeoutOption = 1u << 6,
    kSettleOption = 1u << 7,
    kVerifyOption = 1u << 8,
};

struct OptionInfo {
    const char* name;
    Option option;
    bool takesValue;
};
constexpr OptionInfo kOptions[] = {
    {"--camera", kCameraOption, true},       {"--json", kJsonOption, false},
    {"--settings", kSettingsOption, true},   {"--out", kOutOption, true},
    {"--width", kWidthOption, true},         {"--height", kHeightOption, true},
    {"--timeout-ms", kTimeoutOption, true},  {"--settle-ms", kSettleOption, true},
    {"--verify-every", kVerifyOption, true},
};

enum class Operands { None, Properties, Assignments };

struct CommandInfo {
    const char* name;
    Command command;
    uint32_t options;
    Operands operands;
};
constexpr CommandInfo kCommands[] = {
    {"list", Command::List, kJsonOption, Operands::None},
    {"get", Command::Get, kCameraOption | kJsonOption, Operands::Properties},
    {"set", Command::Set, kCameraOption, Operands::Assignments},
    {"apply", Command::Apply, kCameraOption | kSettingsOption, Operands::None},
    {"save", Command::Save, kSettingsOption, Operands::None},
    {"identify", Command::Identify, kCameraOption, Operands::None},
    {"capture", Command::Capture,
     kCameraOption | kOutOption | kWidthOption | kHeightOption | kTimeoutOption | kSettleOption,
     Operands::None},
    {"formats", Command::Formats, kCameraOption | kJsonOption, Operands::None},
    {"watch", Command::Watch, kSettingsOption | kVerifyOption | kJsonOption, Operands::None},
};

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

const OptionInfo* FindOption(const std::string& name) {
    for (const OptionInfo& o : kOptions)
        if (name == o.name)
            return &o;
    return nullptr;
}

// One command's arguments after its name, into the invocation; the first problem ends the walk.
class CommandParser {
  public:
    CommandParser(const CommandInfo& command, Invocation* invocation, std::string* problem)
        : command_(command), invocation_(*invocation), problem_(*problem) {}

    bool Parse(const std::vector<std::string>& args) {
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& arg = args[i];
            const bool ok = arg.size() > 2 && arg.compare(0, 2, "--") == 0 ? ParseOption(args, &i)
                                                                           : ParseOperand(arg);
            if (!ok)
                return false;
        }
        return CheckComplete();
    }

  private:
    bool Fail(const std::string& problem) {
        problem_ = problem;
        return false;
    }

    // "--name VALUE" or "--name=VALUE"; a flag takes no value.
    bool ParseOption(const std::vector<std::string>& args, size_t* i) {
        const std::string& arg = args[*i];
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionInfo* option = FindOption(name);
        if (!option)
            return Fail("unknown option " + name);
        if ((command_.options & option->option) == 0)
            return Fail(std::string(command_.name) + " takes no " + name);
        if ((given_ & option->option) != 0)
            return Fail(name + " is given twice");
        given_ |= option->option;
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return Fail(name + " takes no value");
            invocation_.json = true;
            return true;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else {
            if (*i + 1 >= args.size())
                return Fail(name + " needs a value");
            value = args[++*i];
        }
        return ParseOptionValue(option->option, name, value);
    }

    bool ParseOptionValue(Option option, const std::string& name, const std::string& value) {
        int64_t number = 0;
        switch (option) {
        case kCameraOption:
            if (!ParseInteger(value, 1, kMaxCameras, &number))
                return Fail("--camera takes a camera number from 1 to " +
                            std::to_string(kMaxCameras) + ", not '" + value + "'");
            invocation_.camera = static_cast<int>(number);
            return true;
        case kWidthOption:
        case kHeightOption:
            if (!ParseInteger(value, 1, INT32_MAX, &number))
                return Fail(name + " takes a number of pixels above 0, not '" + value + "'");
            (option == kWidthOption ? invocation_.width : invocation_.height) =
                static_cast<int32_t>(number);
            return true;
        case kTimeoutOption:
        case kSettleOption:
            if (!ParseInteger(value, 0, UINT32_MAX, &number))
                return Fail(name + " takes a number of milliseconds, not '" + value + "'");
            (option == kTimeoutOption ? invocation_.timeoutMs : invocation_.settleMs) =
                static_cast<uint32_t>(number);
            return true;
        case kVerifyOption:
            // A day at most: the period goes to the platform's timer in milliseconds.
            if (!ParseInteger(value, 1, 86400, &number))
                return Fail("--verify-every takes a number of seconds from 1 to 86400, not '" +
                            value + "'");
            invocation_.verifySeconds = static_cast<uint32_t>(number);
            return true;
        case kSettingsOption:
        case kOutOption:
            if (value.empty())
                return Fail(name + " needs a file name");
            (option == kSettingsOption ? invocation_.settings : invocation_.out) = value;
            return true;
        case kJsonOption:
            break;
        }
        return Fail(name + " takes no value");
    }

    bool ParseOperand(const std::string& arg) {
        switch (command_.operands) {
        case Operands::Properties: {
            NamedProperty property;
            if (!FindProperty(arg, &property))
                return Fail("unknown property '" + arg + "'");
            invocation_.properties.push_back(property);
            return true;
        }
        case Operands::Assignments: {
            Assignment assignment;
            if (!ParseAssignment(arg, &assignment, &problem_))
                return false;
            invocation_.assignments.push_back(assignment);
            return true;
        }
        case Operands::None:
            break;
        }
        return Fail(std::string(command_.name) + " takes no argument '" + arg + "'");
    }

    bool CheckComplete() {
        if (command_.command == Command::Set && invocation_.assignments.empty())
            return Fail("set needs at least one PROPERTY=VALUE");
        if (command_.command == Command::Capture) {
            if (invocation_.out.empty())
                return Fail("capture needs --out FILE");
            if ((invocation_.width == 0) != (invocation_.height == 0))
                return Fail("--width and --height go together");
        }
        return true;
    }

    const CommandInfo& command_;
    Invocation& invocation_;
    std::string& problem_;
    uint32_t given_ = 0;
};

} // namespace

bool ParseArguments(const std::vector<std::string>& args, Invocation* invocation,
                    std::string* problem, std::string* usage) {
    *invocation = Invocation();
    *usage = Synopsis();
    for (const std::string& arg : args) {
        if (IsHelp(arg)) {
            invocation->command = Command::Help;
            return true;
        }
    }
    if (args.empty()) {
        *problem = "no command given";
        return false;
    }
    if (args[0] == "--version") {
        invocation->command = Command::Version;
        if (args.size() == 1)
            return true;
        *problem = "--version takes no arguments";
        return false;
    }
    const CommandInfo* command = FindCommand(args[0]);
    if (!command) {
        *problem = "unknown command '" + args[0] + "'";
        return false;
    }
    invocation->command = command->command;
    *usage = UsageOf(command->command);
    return CommandParser(*command, invocation, problem).Parse(args);
}
