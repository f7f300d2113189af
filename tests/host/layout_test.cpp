// The main window's controls: identifiers, classes, captions, styles, rectangles, order, font,
// icon, radio groups and the start-up slider ranges.
#include "fixture.h"

#include "panel/control_layout.h"

#include <set>

namespace {

class LayoutTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Start();
        main = sim::MainWindow();
        ASSERT_NE(main, nullptr);
    }
    sim::WindowRecord* main = nullptr;
};

TEST_F(LayoutTest, TheMainWindowHasItsTitleClassAndSize) {
    EXPECT_EQ(main->text, "Orvisto Settings");
    EXPECT_EQ(main->className, "my_wnd_class_name_0");
    EXPECT_EQ(main->style, 0x16CF0080u);
    EXPECT_EQ(main->exStyle, 0x100u);
    EXPECT_EQ(main->width, 778);
    EXPECT_EQ(main->height, 542);
    ASSERT_EQ(sim::TheDesktop().classes.size(), 1u);
    EXPECT_EQ(sim::TheDesktop().classes[0].style, 0x88u);
    EXPECT_EQ(sim::TheDesktop().classes[0].iconResource, 101);
    EXPECT_NE(main->smallIcon, nullptr);
}

TEST_F(LayoutTest, SixtySixControlsWithEveryIdentifierOnceInCreationOrder) {
    ASSERT_EQ(main->children.size(), 66u);
    std::set<int> ids;
    for (sim::WindowRecord* c : main->children)
        ids.insert(c->id);
    EXPECT_EQ(ids.size(), 66u);
    EXPECT_EQ(*ids.begin(), 2000);
    EXPECT_EQ(*ids.rbegin(), 2065);
    // Descending from 2064, with the LED box's own order and "Capture Image" last.
    std::vector<int> expected;
    for (int id = 2064; id >= 2000; --id)
        expected.push_back(id);
    auto led = std::find(expected.begin(), expected.end(), 2060);
    std::iter_swap(led, led + 1); // 2061, 2059, 2060, 2058
    expected.push_back(2065);
    std::vector<int> actual;
    for (sim::WindowRecord* c : main->children)
        actual.push_back(c->id);
    EXPECT_EQ(actual, expected);
}

TEST_F(LayoutTest, EveryControlHasTheFontAndItsKindsStyle) {
    for (sim::WindowRecord* c : main->children) {
        EXPECT_EQ(c->font, Shell.controlFont) << c->id;
        EXPECT_TRUE((c->style & 0x50000000u) == 0x50000000u) << c->id;
    }
    EXPECT_EQ(sim::Control(IDC_GBPARAMS)->exStyle, 0x20u);
    EXPECT_EQ(sim::Control(IDC_STAUTO)->exStyle, 0x20u);
    EXPECT_EQ(sim::Control(IDC_STCOMPEN)->exStyle, 0x20u);
    EXPECT_EQ(sim::Control(IDC_STBRIGHT)->exStyle, 0u);
    EXPECT_EQ(sim::Control(IDC_SBSTATUS)->className, "msctls_statusbar32");
    EXPECT_EQ(sim::Control(IDC_TBZOOM)->className, "msctls_trackbar32");
    EXPECT_EQ(sim::Control(IDC_BTPREVW)->style, 0x50012F00u);
    EXPECT_EQ(sim::Control(IDC_RBCAM2)->style & ~0x10010000u, 0x40000009u);
}

TEST_F(LayoutTest, TheAutoColumnLinesUpAndNarrowBoxesAreSixteenWide) {
    for (int id : {IDC_CKCONTRA, IDC_CKSATURA, IDC_CKSHARPN, IDC_CKWHIBAL})
        EXPECT_EQ(sim::Control(id)->width, 16) << id;
    for (int id : {IDC_CKBRIGHT, IDC_CKBACKCO, IDC_CKGAIN, IDC_CKZOOM, IDC_CKEXPTIM, IDC_CKFOCUS})
        EXPECT_EQ(sim::Control(id)->width, 24) << id;
    EXPECT_EQ(sim::Control(IDC_STAUTO)->x, 712);
    EXPECT_EQ(sim::Control(IDC_STAUTO)->x + sim::Control(IDC_STAUTO)->width, 744);
    const sim::WindowRecord* status = sim::Control(IDC_SBSTATUS);
    EXPECT_EQ(status->y, 494);
    EXPECT_EQ(status->width, 770);
}

TEST_F(LayoutTest, AClickUnchecksOnlyTheRadioButtonsOfItsOwnGroup) {
    sim::Control(IDC_RB60HZ)->check = 1;
    sim::Control(IDC_RBPWROFF)->check = 1;
    sim::Click(IDC_RB50HZ); // disabled without a camera: nothing happens
    EXPECT_EQ(sim::Control(IDC_RB50HZ)->check, 1);
    for (sim::WindowRecord* c : main->children)
        c->enabled = true;
    sim::Click(IDC_RB60HZ);
    EXPECT_EQ(sim::Control(IDC_RB60HZ)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RB50HZ)->check, 0);
    EXPECT_EQ(sim::Control(IDC_RBPWROFF)->check, 0);
    EXPECT_EQ(sim::Control(IDC_RBLEDAUT)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBEXTERN)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBMODAUT)->check, 1);
}

TEST_F(LayoutTest, StartupRangesIncludingThePackedZoomRange) {
    struct Expected {
        int id, minimum, maximum;
    };
    for (Expected e : {Expected{IDC_TBBRIGHT, 0, 255},
                       {IDC_TBWHIBAL, 0, 10000},
                       {IDC_TBBACKCO, 0, 1},
                       {IDC_TBZOOM, 100, 400},
                       {IDC_TBEXPTIM, 3, 10000},
                       {IDC_TBFOCUS, 0, 255}}) {
        EXPECT_EQ(sim::Control(e.id)->trackbarMin, e.minimum) << e.id;
        EXPECT_EQ(sim::Control(e.id)->trackbarMax, e.maximum) << e.id;
    }
    EXPECT_EQ(sim::Control(IDC_TBZOOM)->trackbarPos, 100);
}

} // namespace
