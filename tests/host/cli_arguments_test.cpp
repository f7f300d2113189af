// The command line of FramewrightCli: every wrong call ends with code 2, the problem and the
// command's usage line on stderr, before a camera is asked anything; the right forms of names and
// options; help, version and the narrowing of the platform's arguments.
#include "cli_fixture.h"
#include "core/camera_property.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace {

class CliArgumentsTest : public CliTest {};

struct WrongCall {
    std::vector<std::string> args;
    std::string problem;
    std::string usage; // the first usage line
};

const char* kGetUsage = "FramewrightCli get [--camera N] [--json] [PROPERTY ...]";
const char* kSetUsage = "FramewrightCli set [--camera N] PROPERTY=VALUE ...";
const char* kCaptureUsage = "FramewrightCli capture [--camera N] --out FILE [--width W --height H] "
                            "[--timeout-ms T] [--settle-ms S]";
const char* kFirstForm = "FramewrightCli list [--json]";

const WrongCall kWrongCalls[] = {
    {{}, "no command given", kFirstForm},
    {{"frobnicate"}, "unknown command 'frobnicate'", kFirstForm},
    {{"GET"}, "unknown command 'GET'", kFirstForm},
    {{"--version", "extra"}, "--version takes no arguments", kFirstForm},
    {{"get", "Bogus"}, "unknown property 'Bogus'", kGetUsage},
    {{"get", "Brightness=1"}, "unknown property 'Brightness=1'", kGetUsage},
    {{"get", "--verbose"}, "unknown option --verbose", kGetUsage},
    {{"get", "--json=yes"}, "--json takes no value", kGetUsage},
    {{"get", "--camera", "0"}, "--camera takes a camera number from 1 to 6, not '0'", kGetUsage},
    {{"get", "--camera", "7"}, "--camera takes a camera number from 1 to 6, not '7'", kGetUsage},
    {{"get", "--camera", "x"}, "--camera takes a camera number from 1 to 6, not 'x'", kGetUsage},
    {{"get", "--camera", "1.5"},
     "--camera takes a camera number from 1 to 6, not '1.5'",
     kGetUsage},
    {{"get", "--camera="}, "--camera takes a camera number from 1 to 6, not ''", kGetUsage},
    {{"get", "--camera"}, "--camera needs a value", kGetUsage},
    {{"get", "--camera", "1", "--camera", "2"}, "--camera is given twice", kGetUsage},
    {{"set"}, "set needs at least one PROPERTY=VALUE", kSetUsage},
    {{"set", "Brightness"}, "'Brightness' is not PROPERTY=VALUE", kSetUsage},
    {{"set", "Bogus=1"}, "unknown property 'Bogus'", kSetUsage},
    {{"set", "=1"}, "unknown property ''", kSetUsage},
    {{"set", "Brightness=abc"}, "bad value 'abc' for Brightness (a whole number)", kSetUsage},
    {{"set", "Brightness="}, "bad value '' for Brightness (a whole number)", kSetUsage},
    {{"set", "Brightness=2147483648"},
     "bad value '2147483648' for Brightness (a whole number)",
     kSetUsage},
    {{"set", "Contrast=auto"}, "bad value 'auto' for Contrast (a whole number)", kSetUsage},
    {{"set", "WhiteBalance=automatic"},
     "bad value 'automatic' for WhiteBalance (a whole number or auto)",
     kSetUsage},
    {{"set", "PowerScheme=55"},
     "bad value '55' for PowerScheme (off, 50 or 60, or their codes in the settings file)",
     kSetUsage},
    {{"set", "LEDInfo=blink"},
     "bad value 'blink' for LEDInfo (off, on or auto, or their codes in the settings file)",
     kSetUsage},
    {{"set", "LEDInfo=4"},
     "bad value '4' for LEDInfo (off, on or auto, or their codes in the settings file)",
     kSetUsage},
    {{"set", "CameraMode=1"}, "bad value '1' for CameraMode (auto or manual)", kSetUsage},
    {{"set", "Brightness=1", "Gain=x"}, "bad value 'x' for Gain (a whole number)", kSetUsage},
    {{"set", "--json", "Brightness=1"}, "set takes no --json", kSetUsage},
    {{"list", "--camera", "1"}, "list takes no --camera", kFirstForm},
    {{"list", "cameras"}, "list takes no argument 'cameras'", kFirstForm},
    {{"apply", "Brightness=1"},
     "apply takes no argument 'Brightness=1'",
     "FramewrightCli apply [--camera N] [--settings FILE]"},
    {{"apply", "--settings", ""},
     "--settings needs a file name",
     "FramewrightCli apply [--camera N] [--settings FILE]"},
    {{"save", "--camera", "2"}, "save takes no --camera", "FramewrightCli save [--settings FILE]"},
    {{"identify", "--json"}, "identify takes no --json", "FramewrightCli identify [--camera N]"},
    {{"capture"}, "capture needs --out FILE", kCaptureUsage},
    {{"capture", "--out"}, "--out needs a value", kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--width", "640"},
     "--width and --height go together",
     kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--height", "480"},
     "--width and --height go together",
     kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--width", "0", "--height", "480"},
     "--width takes a number of pixels above 0, not '0'",
     kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--timeout-ms", "-1"},
     "--timeout-ms takes a number of milliseconds, not '-1'",
     kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--timeout-ms", "4294967296"},
     "--timeout-ms takes a number of milliseconds, not '4294967296'",
     kCaptureUsage},
    {{"capture", "--out", "a.bmp", "--settle-ms", "soon"},
     "--settle-ms takes a number of milliseconds, not 'soon'",
     kCaptureUsage},
    {{"get", "--settle-ms", "0"}, "get takes no --settle-ms", kGetUsage},
};

TEST_F(CliArgumentsTest, AWrongCallExitsTwoWithItsUsageLineBeforeAskingAnything) {
    for (const WrongCall& call : kWrongCalls) {
        Restart();
        AddVendorCamera();
        WriteIni("[General]\r\nNumberOfCameras=1\r\n");
        const CliRun run = Cli(call.args);
        std::string args;
        for (const std::string& a : call.args)
            args += " [" + a + "]";
        EXPECT_EQ(run.code, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_EQ(
            run.err.rfind("FramewrightCli: " + call.problem + "\nusage: " + call.usage + "\n", 0),
            0u)
            << args << "\n"
            << run.err;
        EXPECT_TRUE(sim::Requests().empty()) << args;
        EXPECT_EQ(Ini(), "[General]\r\nNumberOfCameras=1\r\n") << args;
        EXPECT_EQ(sim::Files().files.size(), 1u) << args;
    }
}

TEST_F(CliArgumentsTest, AnUnknownCommandShowsEveryForm) {
    const CliRun run = Cli({"frobnicate"});
    EXPECT_EQ(run.err,
              "FramewrightCli: unknown command 'frobnicate'\n"
              "usage: FramewrightCli list [--json]\n"
              "       FramewrightCli get [--camera N] [--json] [PROPERTY ...]\n"
              "       FramewrightCli set [--camera N] PROPERTY=VALUE ...\n"
              "       FramewrightCli apply [--camera N] [--settings FILE]\n"
              "       FramewrightCli save [--settings FILE]\n"
              "       FramewrightCli identify [--camera N]\n"
              "       FramewrightCli capture [--camera N] --out FILE [--width W --height "
              "H] [--timeout-ms T] [--settle-ms S]\n"
              "       FramewrightCli formats [--camera N] [--json]\n"
              "       FramewrightCli watch [--settings FILE] [--verify-every SECONDS] [--json]\n"
              "       FramewrightCli --help | --version\n"
              "(FramewrightCli --help tells more)\n");
}

TEST_F(CliArgumentsTest, NamesInAnyCaseAndBothOptionFormsReachTheCameraNamed) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    const CliRun run = Cli({"get", "--camera=2", "focusVALUE", "BRIGHTNESS", "cameramode"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{"control get 6", "control range 6", "procamp get 0",
                                        "procamp range 0", "vendor get 5"}));
    EXPECT_NE(run.out.find("Camera 2: Parvanex B\n"), std::string::npos) << run.out;
    for (const sim::Request& r : sim::Requests())
        EXPECT_EQ(r.camera, 1);

    const CliRun set = Cli({"set", "--camera", "1", "zoom=102", "ledinfo=OFF", "CameraMode=Auto"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(set.out, "camera 1: Zoom=102\ncamera 1: LEDInfo=off\ncamera 1: CameraMode=auto\n");
}

TEST_F(CliArgumentsTest, HelpAnywhereAndVersionAskNoCamera) {
    AddVendorCamera();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"set", "Brightness=1", "--help"}, {"capture", "--help"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(
            run.out.rfind("FramewrightCli: one action on the vendor's cameras per call.\n", 0), 0u);
    }
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(
        std::regex_match(version.out, std::regex("FramewrightCli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    EXPECT_TRUE(sim::Requests().empty());
    EXPECT_EQ(sim::FiltersAlive(), 0); // no discovery
}

// The README's command reference holds the help text in the fenced block after its heading.
std::string ReadmeHelp() {
    std::ifstream readme(std::string(FRAMEWRIGHT_SOURCE_DIR) + "/README.md");
    std::stringstream text;
    text << readme.rdbuf();
    const std::string all = text.str();
    const std::string heading = "### `FramewrightCli --help`\n\n```text\n";
    const size_t start = all.find(heading);
    if (start == std::string::npos)
        return "(no help block in README.md)";
    const size_t body = start + heading.size();
    return all.substr(body, all.find("```\n", body) - body);
}

TEST_F(CliArgumentsTest, TheReadmeHoldsTheHelpTextWordForWord) {
    EXPECT_EQ(ReadmeHelp(), Cli({"--help"}).out);
}

TEST_F(CliArgumentsTest, TheHelpNamesEveryPropertySetTakes) {
    const std::string help = Cli({"--help"}).out;
    std::vector<std::string> names = {kCameraModeName};
    for (const PropertyRow& row : AllProperties())
        names.push_back(row.key);
    for (const std::string& name : names)
        EXPECT_NE(help.find("  " + name), std::string::npos) << name;
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
