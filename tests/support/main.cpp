// The test programs' entry point: the GUI thread set up as the program's
// (common controls, a single-threaded COM apartment, our hosted controls),
// then GoogleTest.
#include <afxdisp.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/MessageBoxes.h"

namespace {

// Each test starts with no boxes recorded and the default answers.
class ResetBoxes : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { Boxes().Reset(); }
};

}  // namespace

int main(int argc, char** argv)
{
    Boxes().MarkMainStarted();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                              ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitialize(nullptr);
    AfxEnableControlContainer();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ResetBoxes);
    return RUN_ALL_TESTS();
}
