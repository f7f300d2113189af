// What the main window's layout leaves to the host tests: the window and its class, the creation
// styles of the controls and the start-up slider ranges. The identifiers, classes, captions,
// styles (the radio groups' too), rectangles and creation order of the 66 controls are compared on
// the real window by tests/e2e/fw/layout.py.
#include "fixture.h"

namespace {

class LayoutTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_EQ(Start(), sim::kLoopIdle);
        main = sim::MainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_EQ(main->children.size(), 66u);
    }
    sim::WindowRecord* main = nullptr;
};

// The window's size and the controls' font: DpiLayoutTest.
TEST_F(LayoutTest, TheWindowItsClassAndEveryControlsCreationStyle) {
    EXPECT_EQ(main->className, "my_wnd_class_name_0");
    EXPECT_EQ(main->style, 0x16CF0080u);
    EXPECT_EQ(main->exStyle, 0x100u);
    ASSERT_EQ(sim::TheDesktop().classes.size(), 1u);
    EXPECT_EQ(sim::TheDesktop().classes[0].style, 0x88u);
    EXPECT_EQ(sim::TheDesktop().classes[0].iconResource, 101);
    EXPECT_NE(main->smallIcon, nullptr);
    // Created as visible children, the camera selection buttons too (the real window's listing
    // shows them hidden, so it cannot tell).
    for (sim::WindowRecord* c : main->children)
        EXPECT_EQ(c->style & 0x50000000u, 0x50000000u) << c->id;
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
