#include "framework/Application.h"

#include "framework/Resources.h"

#include <gtest/gtest.h>

namespace {

class RecordingApp : public CWinApp {
public:
    HINSTANCE seenResourceInstance = nullptr;
    int runs = 0;

protected:
    BOOL InitInstance() override
    {
        ++runs;
        seenResourceInstance = ResourceInstance();
        return FALSE;
    }
};

}  // namespace

TEST(ApplicationTest, RunHandsTheInstanceToResourceLoadingBeforeStartUp)
{
    RecordingApp app;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(app.Run(instance), 0);
    EXPECT_EQ(app.runs, 1);
    EXPECT_EQ(app.Instance(), instance);
    EXPECT_EQ(app.seenResourceInstance, instance);
}

TEST(ApplicationTest, QuitEndsThePumpAndIsPostedAgainForTheLoopsOutsideIt)
{
    PostQuitMessage(3);
    EXPECT_FALSE(PumpMessage());
    // The outer loop sees the same request.
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(ApplicationTest, ClassRegisteredTwiceForTheSameAttributesIsTheSameClass)
{
    const std::string first = RegisterWndClass(CS_HREDRAW, nullptr, nullptr, nullptr);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(RegisterWndClass(CS_HREDRAW, nullptr, nullptr, nullptr), first);
    EXPECT_NE(RegisterWndClass(CS_VREDRAW, nullptr, nullptr, nullptr), first);
}
