// list and get: the cameras as discovery finds them, and the properties as the camera reports
// them, property by property in the table's order; text for a person, JSON for a script; a missing
// camera and refused reads.
#include "cli_fixture.h"
#include "platform/sim/sim_graph.h"

namespace {

class CliListGetTest : public CliTest {};

const Strings kEveryRead = {
    "vendor get 7",    "procamp get 13",  "procamp range 13", "procamp get 0",   "procamp range 0",
    "procamp get 1",   "procamp range 1", "procamp get 3",    "procamp range 3", "procamp get 4",
    "procamp range 4", "procamp get 7",   "procamp range 7",  "procamp get 8",   "procamp range 8",
    "procamp get 9",   "procamp range 9", "vendor get 3",     "vendor get 5",    "control get 6",
    "control range 6", "vendor get 5"};

TEST_F(CliListGetTest, ListShowsTheVendorsCamerasInTheirOrderAsTextAndJsonOrNone) {
    AddVendorCamera(u"Parvanex One");
    sim::AddCamera(sim::VendorCamera(u"Office Cam")); // not the vendor's: not listed
    AddVendorCamera(u"Parvanex Two");
    EXPECT_EQ(Cli({"list"}), (CliRun{0, "1  Parvanex One\n2  Parvanex Two\n", ""}));
    EXPECT_EQ(Cli({"list", "--json"}), (CliRun{0,
                                               "[{\"camera\":1,\"name\":\"Parvanex One\"},"
                                               "{\"camera\":2,\"name\":\"Parvanex Two\"}]\n",
                                               ""}));
    EXPECT_TRUE(sim::Requests().empty()); // names only: no property is asked
    EXPECT_EQ(sim::FiltersAlive(), 0);    // the bindings are released at the end

    Restart();
    sim::AddCamera(sim::VendorCamera(u"Office Cam"));
    EXPECT_EQ(Cli({"list"}), (CliRun{0, "No Parvanex camera found.\n", ""}));
    EXPECT_EQ(Cli({"list", "--json"}), (CliRun{0, "[]\n", ""}));
}

TEST_F(CliListGetTest, JsonNamesAreEscapedAndTheirBytesReadAsLatin1) {
    AddVendorCamera(u"Parvanex \"Q\" \\ \u00e9\t\u0141");
    EXPECT_EQ(Cli({"list", "--json"}).out,
              "[{\"camera\":1,\"name\":\"Parvanex \\\"Q\\\" \\\\ \\u00e9\\u0009A\"}]\n");
}

TEST_F(CliListGetTest, GetReadsEveryPropertyInTableOrderAndShowsWhatTheCameraReports) {
    sim::AddCamera(ChangedCamera());
    const CliRun run = Cli({"get"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(TakeRequests(), kEveryRead);
    EXPECT_EQ(run.out,
              "Camera 1: Parvanex Changed\n"
              "property               value   automatic  minimum  maximum  step  default  can be "
              "automatic\n"
              "LEDInfo                on      -          -        -        -     -        -\n"
              "PowerScheme            60      no         0        2        1     1        no\n"
              "Brightness             77      no         0        255      1     128      yes\n"
              "Contrast               32      no         0        255      1     32       no\n"
              "Saturation             64      no         0        255      1     64       no\n"
              "Sharpness              24      no         0        255      1     24       no\n"
              "WhiteBalance           5100    no         2800     6500     1     4000     yes\n"
              "BacklightCompensation  0       no         0        1        1     0        no\n"
              "Gain                   0       no         0        255      1     0        no\n"
              "Zoom                   250     -          -        -        -     -        -\n"
              "ExposureTime           500     no         -        -        -     -        -\n"
              "FocusValue             40      no         0        255      1     128      yes\n"
              "CameraMode             manual  -          -        -        -     -        -\n");
}

// The vendor camera starts with its white balance, exposure, focus and LED automatic; the manual
// reading is the text table's above.
TEST_F(CliListGetTest, GetJsonHasOneMemberPerPropertyNamedInTheOrderGiven) {
    AddVendorCamera();
    const CliRun run = Cli({"get", "--json", "CameraMode", "ledinfo", "PowerScheme", "Zoom",
                            "ExposureTime", "FocusValue", "WhiteBalance"});
    EXPECT_EQ(TakeRequests(),
              (Strings{"vendor get 5", "vendor get 7", "procamp get 13", "procamp range 13",
                       "vendor get 3", "vendor get 5", "control get 6", "control range 6",
                       "procamp get 7", "procamp range 7"}));
    EXPECT_EQ(run,
              (CliRun{0,
                      "{\"camera\":1,\"name\":\"Parvanex Cam 1\","
                      "\"CameraMode\":{\"value\":\"auto\"},"
                      "\"LEDInfo\":{\"value\":\"auto\"},"
                      "\"PowerScheme\":{\"value\":\"50\",\"automatic\":false,\"minimum\":0,"
                      "\"maximum\":2,\"step\":1,\"default\":1,\"canBeAutomatic\":false},"
                      "\"Zoom\":{\"value\":100},"
                      "\"ExposureTime\":{\"value\":333,\"automatic\":true},"
                      "\"FocusValue\":{\"value\":128,\"automatic\":true,\"minimum\":0,"
                      "\"maximum\":255,\"step\":1,\"default\":128,\"canBeAutomatic\":true},"
                      "\"WhiteBalance\":{\"value\":4000,\"automatic\":true,\"minimum\":2800,"
                      "\"maximum\":6500,\"step\":1,\"default\":4000,\"canBeAutomatic\":true}}\n",
                      ""}));
}

TEST_F(CliListGetTest, ACameraNumberBeyondThoseFoundExitsThreeAndAsksNothing) {
    AddVendorCamera();
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"get"},
                                               {"set", "Brightness=1"},
                                               {"apply"},
                                               {"identify"},
                                               {"formats"},
                                               {"capture", "--out", "C:\\work\\x.bmp"}}) {
        SCOPED_TRACE(args[0]);
        args.insert(args.begin() + 1, {"--camera", "2"});
        EXPECT_EQ(Cli(args), (CliRun{3, "", "FramewrightCli: no camera 2: 1 camera found\n"}));
    }
    EXPECT_TRUE(sim::Requests().empty());
    EXPECT_EQ(sim::FindFile("C:\\work\\x.bmp"), nullptr);
    Restart();
    EXPECT_EQ(Cli({"get"}),
              (CliRun{3, "", "FramewrightCli: no camera 1: no Parvanex camera found\n"}));
}

TEST_F(CliListGetTest, RefusedReadsAreNamedWithTheirResultsAndTheOthersStillRead) {
    AddVendorCamera();
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Get, 1); // contrast: E_INVALIDARG
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Range, 9);
    sim::Reject(0, sim::Interface::Vendor, sim::Direction::Get, 3);
    const CliRun json = Cli({"get", "--json"});
    EXPECT_EQ(json.code, 4);
    EXPECT_EQ(json.err, "FramewrightCli: camera 1 refused the read of Contrast: 0x80070057\n"
                        "FramewrightCli: camera 1 refused the range of Gain: 0x80070057\n"
                        "FramewrightCli: camera 1 refused the read of Zoom: 0x80004005\n");
    EXPECT_EQ(TakeRequests(), kEveryRead);
    EXPECT_NE(json.out.find("\"Contrast\":{\"error\":\"0x80070057\",\"minimum\":0,"),
              std::string::npos);
    EXPECT_NE(json.out.find("\"Gain\":{\"value\":0,\"automatic\":false,"
                            "\"rangeError\":\"0x80070057\"}"),
              std::string::npos);
    EXPECT_NE(json.out.find("\"Zoom\":{\"error\":\"0x80004005\"}"), std::string::npos);

    const CliRun text = Cli({"get", "Contrast", "Gain"});
    EXPECT_EQ(text.code, 4);
    EXPECT_EQ(text.out,
              "Camera 1: Parvanex Cam 1\n"
              "property  value               automatic  minimum             maximum  step  "
              "default  can be automatic\n"
              "Contrast  refused 0x80070057  -          0                   255      1     32  "
              "     no\n"
              "Gain      0                   no         refused 0x80070057  -        -     -  "
              "      -\n");
}

TEST_F(CliListGetTest, FormatsListsEachEntryOfTheCaptureCapabilityListAsTextAndJson) {
    sim::SimCamera uvc = sim::UvcCamera(u"Parvanex Web");
    uvc.capabilities.push_back({platform::kMediaSubtypeRgb24, 320, 240}); // 30 fps only
    uvc.capabilities.back().maxFrameInterval = 333667;                    // down to 29.97
    sim::AddCamera(uvc);
    EXPECT_EQ(Cli({"formats"}), (CliRun{0,
                                        "Camera 1: Parvanex Web\n"
                                        "subtype  width  height  fps\n"
                                        "YUY2     640    480     5..30\n"
                                        "YUY2     1920   1080    5..5\n"
                                        "MJPG     1920   1080    5..30\n"
                                        "RGB24    320    240     29.97..30\n",
                                        ""}));
    const CliRun json = Cli({"formats", "--json"});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.out, "{\"camera\":1,\"name\":\"Parvanex Web\",\"formats\":["
                        "{\"subtype\":\"YUY2\",\"width\":640,\"height\":480,\"minFps\":5,"
                        "\"maxFps\":30},"
                        "{\"subtype\":\"YUY2\",\"width\":1920,\"height\":1080,\"minFps\":5,"
                        "\"maxFps\":5},"
                        "{\"subtype\":\"MJPG\",\"width\":1920,\"height\":1080,\"minFps\":5,"
                        "\"maxFps\":30},"
                        "{\"subtype\":\"RGB24\",\"width\":320,\"height\":240,"
                        "\"minFps\":29.97,\"maxFps\":30}]}\n");
    EXPECT_TRUE(sim::Graph().formatRequests.empty()); // read only: the camera keeps its format
}

TEST_F(CliListGetTest, FormatsOfACameraWithoutAStreamConfigurationIsARefusal) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Bare");
    c.hasStreamConfig = false;
    sim::AddCamera(c);
    EXPECT_EQ(Cli({"formats"}),
              (CliRun{4, "Camera 1: Parvanex Bare\nsubtype  width  height  fps\n",
                      "FramewrightCli: camera 1 refused the capability list: 0x80004005\n"}));
}

} // namespace
