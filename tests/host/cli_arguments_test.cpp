// The command line of FramewrightCli: every wrong call ends with code 2, the problem and the
// command's usage line on stderr, before a camera is asked anything; the right forms of names and
// options; help, version and the narrowing of the platform's arguments.
#include "cli_fixture.h"
#include "core/camera_property.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

class CliArgumentsTest : public CliTest {};

// The usage forms as the help text lists them after "Usage:" (the help is held against the
// README below, so the forms are too).
std::vector<std::string> UsageForms() {
    std::string help, err;
    CliMain({"--help"}, help, err);
    std::istringstream lines(help.substr(help.find("Usage:\n") + 7));
    std::vector<std::string> forms;
    for (std::string line; std::getline(lines, line) && !line.empty();)
        forms.push_back(line.substr(2));
    return forms;
}

// A wrong call's usage: its command's form, else (no such command) the first.
std::string UsageOf(const std::vector<std::string>& args) {
    const Strings forms = UsageForms();
    for (const std::string& form : forms)
        if (!args.empty() && (form + " ").rfind("FramewrightCli " + args[0] + " ", 0) == 0)
            return form;
    return forms.front();
}

struct WrongCall {
    std::vector<std::string> args;
    std::string problem;
};

const std::string kNotACamera = "--camera takes a camera number from 1 to 6, not ";
const std::string kNotANumber = " (a whole number)";
const std::string kOrCodes = ", or their codes in the settings file)";

const WrongCall kWrongCalls[] = {
    {{}, "no command given"},
    {{"frobnicate"}, "unknown command 'frobnicate'"},
    {{"GET"}, "unknown command 'GET'"},
    {{"--version", "extra"}, "--version takes no arguments"},
    {{"get", "Bogus"}, "unknown property 'Bogus'"},
    {{"get", "Brightness=1"}, "unknown property 'Brightness=1'"},
    {{"get", "--verbose"}, "unknown option --verbose"},
    {{"get", "--json=yes"}, "--json takes no value"},
    {{"get", "--camera", "0"}, kNotACamera + "'0'"},
    {{"get", "--camera", "7"}, kNotACamera + "'7'"},
    {{"get", "--camera", "x"}, kNotACamera + "'x'"},
    {{"get", "--camera", "1.5"}, kNotACamera + "'1.5'"},
    {{"get", "--camera="}, kNotACamera + "''"},
    {{"get", "--camera"}, "--camera needs a value"},
    {{"get", "--camera", "1", "--camera", "2"}, "--camera is given twice"},
    {{"get", "--settle-ms", "0"}, "get takes no --settle-ms"},
    {{"set"}, "set needs at least one PROPERTY=VALUE"},
    {{"set", "Brightness"}, "'Brightness' is not PROPERTY=VALUE"},
    {{"set", "Bogus=1"}, "unknown property 'Bogus'"},
    {{"set", "=1"}, "unknown property ''"},
    {{"set", "Brightness=abc"}, "bad value 'abc' for Brightness" + kNotANumber},
    {{"set", "Brightness="}, "bad value '' for Brightness" + kNotANumber},
    {{"set", "Brightness=2147483648"}, "bad value '2147483648' for Brightness" + kNotANumber},
    {{"set", "Contrast=auto"}, "bad value 'auto' for Contrast" + kNotANumber},
    {{"set", "WhiteBalance=automatic"},
     "bad value 'automatic' for WhiteBalance (a whole number or auto)"},
    {{"set", "PowerScheme=55"}, "bad value '55' for PowerScheme (off, 50 or 60" + kOrCodes},
    {{"set", "LEDInfo=blink"}, "bad value 'blink' for LEDInfo (off, on or auto" + kOrCodes},
    {{"set", "LEDInfo=4"}, "bad value '4' for LEDInfo (off, on or auto" + kOrCodes},
    {{"set", "CameraMode=1"}, "bad value '1' for CameraMode (auto or manual)"},
    {{"set", "Brightness=1", "Gain=x"}, "bad value 'x' for Gain" + kNotANumber},
    {{"set", "--json", "Brightness=1"}, "set takes no --json"},
    {{"list", "--camera", "1"}, "list takes no --camera"},
    {{"list", "cameras"}, "list takes no argument 'cameras'"},
    {{"apply", "Brightness=1"}, "apply takes no argument 'Brightness=1'"},
    {{"apply", "--settings", ""}, "--settings needs a file name"},
    {{"save", "--settings", "C:\\" + std::string(257, 'x')},
     "--settings: the path is longer than the file functions take"},
    {{"save", "--camera", "2"}, "save takes no --camera"},
    {{"identify", "--json"}, "identify takes no --json"},
    {{"capture"}, "capture needs --out FILE"},
    {{"capture", "--out"}, "--out needs a value"},
    {{"capture", "--out", "a.bmp", "--width", "640"}, "--width and --height go together"},
    {{"capture", "--out", "a.bmp", "--height", "480"}, "--width and --height go together"},
    {{"capture", "--out", "a.bmp", "--width", "0", "--height", "480"},
     "--width takes a number of pixels above 0, not '0'"},
    {{"capture", "--out", "a.bmp", "--timeout-ms", "-1"},
     "--timeout-ms takes a number of milliseconds, not '-1'"},
    {{"capture", "--out", "a.bmp", "--timeout-ms", "4294967296"},
     "--timeout-ms takes a number of milliseconds, not '4294967296'"},
    {{"capture", "--out", "a.bmp", "--settle-ms", "soon"},
     "--settle-ms takes a number of milliseconds, not 'soon'"},
    {{"watch", "--verify-every", "0"},
     "--verify-every takes a number of seconds from 1 to 86400, not '0'"},
    {{"watch", "--camera", "1"}, "watch takes no --camera"},
};

TEST_F(CliArgumentsTest, AWrongCallExitsTwoWithItsUsageLineBeforeAskingAnything) {
    const std::string ini = "[General]\r\nNumberOfCameras=1\r\n";
    for (const WrongCall& call : kWrongCalls) {
        std::string args;
        for (const std::string& a : call.args)
            args += " [" + a + "]";
        SCOPED_TRACE(args);
        RestartWithCamera();
        WriteIni(ini);
        const CliRun run = Cli(call.args);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.out, "");
        const std::string expected =
            "FramewrightCli: " + call.problem + "\nusage: " + UsageOf(call.args) + "\n";
        EXPECT_EQ(run.err.substr(0, expected.size()), expected);
        EXPECT_TRUE(sim::Requests().empty());
        EXPECT_EQ(Ini(), ini);
        EXPECT_EQ(sim::Files().files.size(), 1u);
    }
}

TEST_F(CliArgumentsTest, AnUnknownCommandShowsEveryForm) {
    std::string expected = "FramewrightCli: unknown command 'frobnicate'\nusage: ";
    for (const std::string& form : UsageForms())
        expected += form + "\n       ";
    expected.replace(expected.size() - 7, 7, "(FramewrightCli --help tells more)\n");
    EXPECT_EQ(Cli({"frobnicate"}).err, expected);
}

TEST_F(CliArgumentsTest, NamesInAnyCaseAndBothOptionFormsReachTheCameraNamed) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    const CliRun run = Cli({"get", "--camera=2", "focusVALUE", "BRIGHTNESS", "cameramode"});
    EXPECT_EQ(run.code, 0) << run.err;
    for (const sim::Request& r : sim::Requests())
        EXPECT_EQ(r.camera, 1);
    EXPECT_EQ(TakeRequests(), (Strings{"control get 6", "control range 6", "procamp get 0",
                                       "procamp range 0", "vendor get 5"}));
    EXPECT_NE(run.out.find("Camera 2: Parvanex B\n"), std::string::npos) << run.out;

    const CliRun set = Cli({"set", "--camera", "1", "zoom=102", "ledinfo=OFF", "CameraMode=Auto"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(set.out, "camera 1: Zoom=102\ncamera 1: LEDInfo=off\ncamera 1: CameraMode=auto\n");
}

// The README's command reference holds the help text in the fenced block after its heading.
std::string ReadmeHelp() {
    std::ifstream readme(std::string(FRAMEWRIGHT_SOURCE_DIR) + "/README.md");
    const std::string all{std::istreambuf_iterator<char>(readme), {}};
    const std::string heading = "### `FramewrightCli --help`\n\n```text\n";
    const size_t start = all.find(heading);
    if (start == std::string::npos)
        return "(no help block in README.md)";
    const size_t body = start + heading.size();
    return all.substr(body, all.find("```\n", body) - body);
}

TEST_F(CliArgumentsTest, HelpAnywhereIsTheReadmesWordForWordAndVersionAskNoCamera) {
    AddVendorCamera();
    const std::string help = ReadmeHelp();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"set", "Brightness=1", "--help"}, {"capture", "--help"}})
        EXPECT_EQ(Cli(args), (CliRun{0, help, ""}));
    EXPECT_NE(help.find(std::string("  ") + kCameraModeName), std::string::npos);
    for (const PropertyRow& row : AllProperties())
        EXPECT_NE(help.find(std::string("  ") + row.key), std::string::npos) << row.key;
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(
        std::regex_match(version.out, std::regex("FramewrightCli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    EXPECT_TRUE(sim::Requests().empty());
    EXPECT_EQ(sim::FiltersAlive(), 0); // no discovery
}

// Paths in any script reach the file functions unchanged: the command line's UTF-16 becomes UTF-8,
// surrogate pairs included; a lone surrogate names no text and is refused, never replaced.
TEST_F(CliArgumentsTest, ArgumentsBecomeUtf8WithoutLoss) {
    std::vector<std::string> utf8;
    std::string problem;
    ASSERT_TRUE(Utf8Arguments({u"C:\\\u03a9\u03bc\u03ad\u03b3\u03b1\\\u0141\u00f3d\u017a.bmp",
                               u"\U0001F4F7", std::u16string(300, u'x'), u""},
                              &utf8, &problem));
    ASSERT_EQ(utf8.size(), 4u);
    EXPECT_EQ(utf8[0], "C:\\\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1\\\xc5\x81\xc3\xb3"
                       "d\xc5\xba.bmp");
    EXPECT_EQ(utf8[1], "\xf0\x9f\x93\xb7");
    EXPECT_EQ(utf8[2], std::string(300, 'x')); // no cut at the record's 255 characters
    EXPECT_EQ(utf8[3], "");
    for (const std::u16string& lone : {std::u16string(u"a\xd800"), std::u16string(u"\xdc00"
                                                                                  u"b")}) {
        std::string out, err;
        EXPECT_EQ(CliMainOfCommandLine({u"capture", lone}, out, err), 2);
        EXPECT_EQ(err,
                  "FramewrightCli: argument 2 holds a lone UTF-16 surrogate and names no text\n");
        EXPECT_TRUE(sim::Requests().empty());
    }
}

} // namespace
