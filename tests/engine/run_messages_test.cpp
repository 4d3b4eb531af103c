// What SetupApp::Run shows before the wizard opens, read off the real
// message box and answered the way a user would.
#include "engine/setup_app.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/engine/test_resources.h"
#include "tests/engine/window_watch.h"

namespace {

// Waits on its own thread for this process's message box, keeps its text
// and presses OK.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(std::wstring caption)
        : watcher([this, caption] {
              const HWND box = WaitForWindow(L"#32770", caption, GetCurrentProcessId(), 20000);
              if (box == nullptr)
                  return;
              text = MessageBoxText(box);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          })
    {
    }
    ~MessageBoxAnswer()
    {
        if (watcher.joinable())
            watcher.join();
    }
    std::wstring Text()
    {
        watcher.join();
        return text;
    }

private:
    std::wstring text;
    std::thread watcher;
};

TEST(RunMessages, RefusalsBeforeTheWizardOpens)
{
    SetupApp app(TestResources());
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    app.administratorOverride = 0;
    // The English table: a user language other than Polish.
    MessageBoxAnswer answer(L"Setup test");
    const int result = app.Run();
    const std::wstring text = answer.Text();

    if (app.IsSupportedPlatform()) {
        EXPECT_EQ(text, L"You need administrator rights.");
        EXPECT_EQ(result, 1) << "Shutdown follows";
        app.Shutdown();
    } else {
        EXPECT_EQ(text, L"This Windows is not supported.");
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(FindWindowW(L"SetupAppTestWindow", nullptr), nullptr) << "no wizard window was made";
}

}  // namespace
