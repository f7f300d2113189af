#include "cli/cli_main.h"

#include "camera/capture_filters.h"
#include "camera/friendly_name.h"
#include "camera/preview_graph.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/usage.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"
#include "platform/files.h"
#include "settings/settings_file.h"

namespace {

// The program has no panel: the preview's and the settings load's panel steps stay empty. Nothing
// of "General" is read, and InitAndExit, which would end the process inside an apply, stays 0.
void PrepareWithoutPanel() {
    SetPreviewPanel(PreviewPanel());
    SetSettingsLoadPanel(SettingsLoadPanel());
    General = GeneralSettings();
}

bool TakesCamera(Command command) {
    return command != Command::List && command != Command::Save && command != Command::Watch;
}

int RunCommand(CommandContext& context) {
    const Invocation& invocation = context.invocation;
    if (TakesCamera(invocation.command) && context.Slot() >= Shell.camerasFound) {
        const int found = Shell.camerasFound;
        return context.Error(
            kExitNoCamera,
            "no camera " + std::to_string(invocation.camera) + ": " +
                (found == 0
                     ? std::string("no Parvanex camera found")
                     : std::to_string(found) + (found == 1 ? " camera found" : " cameras found")));
    }
    switch (invocation.command) {
    case Command::List:
        return RunList(context);
    case Command::Get:
        return RunGet(context);
    case Command::Set:
        return RunSet(context);
    case Command::Apply:
        return RunApply(context);
    case Command::Save:
        return RunSave(context);
    case Command::Identify:
        return RunIdentify(context);
    case Command::Capture:
        return RunCapture(context);
    case Command::Formats:
        return RunFormats(context);
    case Command::Watch:
        return RunWatch(context);
    case Command::Help:
    case Command::Version:
        break;
    }
    return kExitDone;
}

} // namespace

int CliMain(const std::vector<std::string>& args, std::string& out, std::string& err) {
    Invocation invocation;
    std::string problem, usage;
    if (!ParseArguments(args, &invocation, &problem, &usage)) {
        err += UsageMessage(problem, usage);
        return kExitArguments;
    }
    if (invocation.command == Command::Help) {
        out += HelpText();
        return kExitDone;
    }
    if (invocation.command == Command::Version) {
        out += VersionText();
        return kExitDone;
    }
    PrepareWithoutPanel();
    // Found as the window program finds them: the vendor's word, six at most, in the platform's
    // order; --camera counts in that order from 1.
    Shell.camerasFound = DiscoverCameras();
    CommandContext context{invocation, out, err};
    const int exitCode = RunCommand(context);
    ReleaseCaptureFilters();
    return exitCode;
}

namespace {

void AppendUtf8(char32_t c, std::string* text) {
    if (c < 0x80) {
        text->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text->push_back(static_cast<char>(0xC0 | (c >> 6)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text->push_back(static_cast<char>(0xE0 | (c >> 12)));
        text->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text->push_back(static_cast<char>(0xF0 | (c >> 18)));
        text->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u < 0xDC00;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u < 0xE000;
}

} // namespace

bool Utf8Arguments(const std::vector<std::u16string>& args, std::vector<std::string>* utf8,
                   std::string* problem) {
    utf8->clear();
    for (size_t n = 0; n < args.size(); ++n) {
        const std::u16string& arg = args[n];
        std::string text;
        for (size_t i = 0; i < arg.size(); ++i) {
            const char16_t u = arg[i];
            if (IsHighSurrogate(u) && i + 1 < arg.size() && IsLowSurrogate(arg[i + 1])) {
                AppendUtf8(0x10000 + ((char32_t(u) - 0xD800) << 10) + (arg[i + 1] - 0xDC00), &text);
                ++i;
            } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
                *problem = "argument " + std::to_string(n + 1) +
                           " holds a lone UTF-16 surrogate and names no text";
                return false;
            } else {
                AppendUtf8(u, &text);
            }
        }
        utf8->push_back(text);
    }
    return true;
}

int CliMainOfCommandLine(const std::vector<std::u16string>& args, std::string& out,
                         std::string& err) {
    std::vector<std::string> utf8;
    std::string problem;
    if (!Utf8Arguments(args, &utf8, &problem)) {
        err += "FramewrightCli: " + problem + "\n";
        return kExitArguments;
    }
    platform::UseUtf8Paths();
    return CliMain(utf8, out, err);
}
