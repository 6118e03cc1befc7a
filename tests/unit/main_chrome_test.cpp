// The main window's chrome: its menu bar, what each menu item and toolbar button triggers,
// the View toggles' geometry and the status texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/menu_outline.h"
#include "fakes/recording_launcher.h"
#include "shell/main_chrome.h"

namespace zv::shell {
namespace {

class FakeCommands : public MainCommands {
  public:
    std::vector<std::string> calls;
    bool apply_enabled = true;
    int window_height = 6000;
    int frame_top = 600;

    void Apply() override { calls.push_back("Apply"); }
    bool IsApplyEnabled() const override { return apply_enabled; }
    void Restore() override { calls.push_back("Restore"); }
    void BackupRegistry() override { calls.push_back("Backup"); }
    void ShowPingDialog() override { calls.push_back("PingDialog"); }
    void ShowCurrentSettings() override { calls.push_back("CurrentSettings"); }
    void UndoLastChange() override { calls.push_back("Undo"); }
    void UndoAllChanges() override { calls.push_back("Undo all"); }
    void ExportForDeployment() override { calls.push_back("Export"); }
    void FindLargestMtu() override { calls.push_back("FindMtu"); }
    void CloseMainWindow() override { calls.push_back("Close"); }
    void ResizeWindowHeightBy(int twips) override { window_height += twips; }
    void MoveSettingsFrameBy(int twips) override { frame_top += twips; }
};

class FakeWindow : public ChromeWindowPort {
  public:
    std::vector<std::string>* calls;
    explicit FakeWindow(std::vector<std::string>* log) : calls(log) {}
    void ShowTipDialog() override { calls->push_back("Tip"); }
};

class MainChromeTest : public ::testing::Test {
  protected:
    FakeCommands commands;
    FakeWindow window{&commands.calls};
    testing::RecordingLauncher port;
    Launchers launchers{port, "C:\\Z"};
    MainChrome chrome{commands, window, launchers, 6};

    std::vector<std::string> TakeCalls() {
        auto calls = commands.calls;
        commands.calls.clear();
        return calls;
    }
    std::string TakeLaunch() {
        if (port.launches.size() != 1) {
            return "launches: " + std::to_string(port.launches.size());
        }
        std::string target = port.launches[0].target;
        port.launches.clear();
        return target;
    }
    // What one command did: the single operation it called or the single target it launched.
    std::string TakeEffect() {
        std::vector<std::string> calls = TakeCalls();
        if (calls.size() == 1 && port.launches.empty()) {
            return calls[0];
        }
        return calls.empty() ? TakeLaunch() : "calls: " + std::to_string(calls.size());
    }
};

using Calls = std::vector<std::string>;

TEST_F(MainChromeTest, MenuBarHoldsEveryItemInOrderWithItsCommand) {
    EXPECT_EQ(testing::Outline(chrome.menu),
              "&File\n"
              "  &Apply New Settings 201\n"
              "  &Registry Backup 202\n"
              "  &Ping Configuration 203\n"
              "  -\n"
              "  Restore &Windows Original Settings 204\n"
              "  -\n"
              "  &Exit 205\n"
              "&View\n"
              "  &ToolBar 211 checked\n"
              "  &Status Bar 212 checked\n"
              "  -\n"
              "  &Control Panel\n"
              "    &Systems... 213\n"
              "    &Internet... 214\n"
              "    &Modems... 215\n"
              "    &Networks... 216\n"
              "&Tools\n"
              "  &Current Settings... 221\n"
              "  &Undo Last Change 222\n"
              "  Undo &All Changes 225\n"
              "  &Export for Deployment... 223\n"
              "  -\n"
              "  &Find Largest MTU... 224\n"
              "&Help\n"
              "  User's Guide 231\n"
              "  &Tip of the Day 232\n"
              "  -\n"
              "  Contact us\n"
              "    Visit our Web Site 233\n"
              "    Email us 234\n");
}

TEST_F(MainChromeTest, EachMenuCommandTriggersItsOperationOrLaunch) {
    using namespace main_menu;
    const std::string rundll = "rundll32.exe shell32.dll,Control_RunDLL ";
    commands.apply_enabled = false;  // the menu applies whatever the button's state
    const std::pair<int, std::string> cases[] = {
        {mnuApplyNewSettings, "Apply"},
        {mnuRegistryBackup, "Backup"},
        {mnuPingConfiguration, "PingDialog"},
        {mnuRestore, "Restore"},
        {mnuExit, "Close"},
        {mnuSystem, rundll + "sysdm.cpl,,0"},
        {mnuInternet, rundll + "inetcpl.cpl,,0"},
        {mnumodem, rundll + "telephon.cpl"},
        {mnuNetwork, rundll + "ncpa.cpl"},
        {mnuCurrentSettings, "CurrentSettings"},
        {mnuUndoLastChange, "Undo"},
        {mnuUndoAllChanges, "Undo all"},
        {mnuExportForDeployment, "Export"},
        {mnuFindLargestMtu, "FindMtu"},
        {mnuHelp1, "C:\\Z\\Help\\help.htm"},
        {mnutip, "Tip"},
        {mnuwebsite1, "http://www.zorvane.com/index.php"},
        {mnuemail1, "http://www.zorvane.com/resources/feedback.php"},
    };
    for (const auto& [command, effect] : cases) {
        EXPECT_TRUE(chrome.menu.Choose(command)) << command;
        EXPECT_EQ(TakeEffect(), effect) << command;
    }
}

TEST_F(MainChromeTest, ToolbarHasTwelveButtonsAndImagesOnlyAfterSetToolbarImages) {
    const auto& buttons = chrome.Toolbar1.buttons();
    ASSERT_EQ(buttons.size(), 12u);
    std::vector<std::string> keys;
    for (const auto& b : buttons) {
        keys.push_back(b.key);
        EXPECT_EQ(b.image, 0) << b.key;
    }
    EXPECT_EQ(keys, (Calls{"Apply", "Ping", "", "Restore", "Backup", "", "Internet", "System",
                           "Modem", "Network", "", "Help"}));
    EXPECT_EQ(buttons[3].caption, "Restore");
    EXPECT_EQ(buttons[3].tooltip, "Restore Original Settings");
    EXPECT_EQ(buttons[11].caption, "");
    EXPECT_EQ(buttons[11].tooltip, "Help");

    chrome.SetToolbarImages();
    std::vector<int> images;
    for (const auto& b : buttons) {
        images.push_back(b.image);
    }
    EXPECT_EQ(images, (std::vector<int>{10, 5, 0, 9, 4, 0, 6, 3, 2, 1, 0, 7}));
}

TEST_F(MainChromeTest, ToolbarDispatchesOnTheExactKey) {
    commands.apply_enabled = false;
    chrome.Toolbar1.ClickButton("Apply");  // disabled Apply button: nothing
    commands.apply_enabled = true;
    chrome.Toolbar1.ClickButton("Apply");
    chrome.Toolbar1.ClickButton("Ping");
    chrome.Toolbar1.ClickButton("Restore");
    chrome.Toolbar1.ClickButton("Backup");
    chrome.Toolbar1.ClickButton("apply");  // keys are case-sensitive
    chrome.Toolbar1.ClickButton("");
    EXPECT_EQ(TakeCalls(), (Calls{"Apply", "PingDialog", "Restore", "Backup"}));

    const std::string rundll = "rundll32.exe shell32.dll,Control_RunDLL ";
    chrome.Toolbar1.ClickButton("Internet");
    EXPECT_EQ(TakeLaunch(), rundll + "inetcpl.cpl,,0");
    chrome.Toolbar1.ClickButton("System");
    EXPECT_EQ(TakeLaunch(), rundll + "sysdm.cpl,,0");
    chrome.Toolbar1.ClickButton("Modem");
    EXPECT_EQ(TakeLaunch(), rundll + "telephon.cpl");
    chrome.Toolbar1.ClickButton("Network");
    EXPECT_EQ(TakeLaunch(), rundll + "ncpa.cpl");
    chrome.Toolbar1.ClickButton("Help");
    EXPECT_EQ(TakeLaunch(), "C:\\Z\\Help\\help.htm");
    chrome.Toolbar1.ClickButton("HELP");
    EXPECT_TRUE(port.launches.empty());
}

TEST_F(MainChromeTest, ToolbarToggleMovesEverythingAndComesBack) {
    chrome.Toolbar1.SetBounds({0, 0, 9000, 570});
    chrome.StatusBar1.SetBounds({0, 5000, 9000, 315});
    chrome.menu.Choose(main_menu::mnuStatusBar);  // a hidden status bar still moves too
    int height = commands.window_height;

    chrome.menu.Choose(main_menu::mnuToolBar);
    EXPECT_FALSE(chrome.Toolbar1.visible());
    EXPECT_FALSE(chrome.menu.checked(main_menu::mnuToolBar));
    EXPECT_EQ(commands.window_height, height - 570);
    EXPECT_EQ(commands.frame_top, 600 - 570);
    EXPECT_EQ(chrome.StatusBar1.bounds().top, 5000 - 570);

    chrome.menu.Choose(main_menu::mnuToolBar);
    EXPECT_TRUE(chrome.Toolbar1.visible());
    EXPECT_TRUE(chrome.menu.checked(main_menu::mnuToolBar));
    EXPECT_EQ(commands.window_height, height);
    EXPECT_EQ(commands.frame_top, 600);
    EXPECT_EQ(chrome.StatusBar1.bounds().top, 5000);
}

TEST_F(MainChromeTest, StatusBarToggleChangesHeightByItsFixedAmount) {
    chrome.StatusBar1.SetBounds({0, 5000, 9000, 400});  // its real height is not used
    chrome.ToggleStatusBar();
    EXPECT_FALSE(chrome.StatusBar1.visible());
    EXPECT_FALSE(chrome.menu.checked(main_menu::mnuStatusBar));
    EXPECT_EQ(commands.window_height, 6000 - 315);
    EXPECT_EQ(commands.frame_top, 600);
    chrome.ToggleStatusBar();
    EXPECT_TRUE(chrome.StatusBar1.visible());
    EXPECT_TRUE(chrome.menu.checked(main_menu::mnuStatusBar));
    EXPECT_EQ(commands.window_height, 6000);
}

TEST_F(MainChromeTest, StatusPanelsStartWithDesignTextsAndTakeRunTimeTexts) {
    EXPECT_EQ(chrome.StatusBar1.PanelCount(), 4);
    EXPECT_EQ(chrome.StatusBar1.PanelText(1), "");
    EXPECT_EQ(chrome.StatusBar1.PanelText(2), "Mode");
    EXPECT_EQ(chrome.StatusBar1.PanelText(3), "OS");
    EXPECT_EQ(chrome.StatusBar1.PanelText(4), "State");
    chrome.ShowPrompt();
    chrome.ShowMode("Optimize");
    chrome.ShowWindowsName("");
    EXPECT_EQ(chrome.StatusBar1.PanelText(1), "Choose your wanted Settings and Press \"Apply\"");
    EXPECT_EQ(chrome.StatusBar1.PanelText(2), "Mode: Optimize");
    EXPECT_EQ(chrome.StatusBar1.PanelText(3), "OS: ");
    EXPECT_EQ(chrome.StatusBar1.PanelText(4), "State");
}

}  // namespace
}  // namespace zv::shell
