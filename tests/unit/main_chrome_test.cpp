// The main window's chrome: what each menu item, toolbar button and tray event triggers,
// the View toggles' geometry, the Disable/Enable item and the status texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_launcher.h"
#include "fakes/recording_ui.h"
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
    void PingNow() override { calls.push_back("PingNow"); }
    void ShowMainWindow() override { calls.push_back("ShowMain"); }
    void CloseMainWindow() override { calls.push_back("Close"); }
    void ResizeWindowHeightBy(int twips) override { window_height += twips; }
    void MoveSettingsFrameBy(int twips) override { frame_top += twips; }
};

class FakeWindow : public ChromeWindowPort {
  public:
    std::vector<std::string>* calls;
    explicit FakeWindow(std::vector<std::string>* log) : calls(log) {}
    void BringToForeground() override { calls->push_back("Foreground"); }
    void PopupTrayMenu() override { calls->push_back("Popup"); }
    void ShowTipDialog() override { calls->push_back("Tip"); }
};

class MainChromeTest : public ::testing::Test {
  protected:
    FakeCommands commands;
    FakeWindow window{&commands.calls};
    testing::RecordingLauncher port;
    Launchers launchers{port, "C:\\Z"};
    testing::RecordingMessageBox messages;
    MainChrome chrome{commands, window, launchers, messages, 6};

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
};

using Calls = std::vector<std::string>;

TEST_F(MainChromeTest, MenuTreeHoldsEveryItemUnderItsParent) {
    MainMenu& m = chrome.menu;
    auto captions = [&](const ui::MenuItem* parent) {
        std::vector<std::string> texts;
        for (ui::MenuItem* item : m.ChildrenOf(parent)) {
            texts.push_back(item->caption());
        }
        return texts;
    };
    EXPECT_EQ(captions(nullptr), (Calls{"&File", "&View", "PopupMenuDisplay", "&Help"}));
    EXPECT_EQ(captions(&m.mnuFile),
              (Calls{"&Apply New Settings", "&Registry Backup", "&Ping Configuration", "-",
                     "Restore &Windows Original Settings", "-", "&Exit"}));
    EXPECT_EQ(captions(&m.mnuView), (Calls{"&ToolBar", "&Status Bar", "-", "&Control Panel"}));
    EXPECT_EQ(captions(&m.mnuControlPanel),
              (Calls{"&Systems...", "&Internet...", "&Modems...", "&Networks..."}));
    EXPECT_EQ(captions(&m.mnuPopupMenu),
              (Calls{"Zorvane", "Ping Configuration", "Ping Now", "-", "Contact us", "-",
                     "User's Guide", "-", "Disable"}));
    EXPECT_EQ(captions(&m.mnucontactus), (Calls{"Visit our Web Site", "Email us"}));
    EXPECT_EQ(captions(&m.mnuHelpMain),
              (Calls{"User's Guide", "&Tip of the Day", "-", "Contact us"}));
    EXPECT_EQ(captions(&m.mnucontactus1), (Calls{"Visit our Web Site", "Email us"}));
    EXPECT_FALSE(m.mnuPopupMenu.visible());
    EXPECT_TRUE(m.mnuToolBar.checked());
    EXPECT_TRUE(m.mnuStatusBar.checked());
}

TEST_F(MainChromeTest, MenuItemsTriggerTheirOperations) {
    MainMenu& m = chrome.menu;
    commands.apply_enabled = false;  // the menu applies whatever the button's state
    m.mnuApplyNewSettings.Click();
    m.mnuRegistryBackup.Click();
    m.mnuPingConfiguration.Click();
    m.mnuRestore.Click();
    m.mnuExit.Click();
    m.mnuZorvane.Click();
    m.mnuPingConfig.Click();
    m.mnuPingNow.Click();
    m.mnutip.Click();
    EXPECT_EQ(TakeCalls(), (Calls{"Apply", "Backup", "PingDialog", "Restore", "Close", "ShowMain",
                                  "PingDialog", "PingNow", "Tip"}));
    EXPECT_TRUE(port.launches.empty());
}

TEST_F(MainChromeTest, MenuItemsOpenTheirLaunchTargets) {
    MainMenu& m = chrome.menu;
    const std::string help = "C:\\Z\\Help\\help.htm";
    const std::string site = "http://www.zorvane.com/index.php";
    const std::string feedback = "http://www.zorvane.com/resources/feedback.php";
    const std::string rundll = "rundll32.exe shell32.dll,Control_RunDLL ";
    struct Case {
        ui::MenuItem* item;
        std::string target;
    };
    Case cases[] = {
        {&m.mnuHelp, help},
        {&m.mnuHelp1, help},
        {&m.mnuwebsite, site},
        {&m.mnuwebsite1, site},
        {&m.mnuemail, feedback},
        {&m.mnuemail1, feedback},
        {&m.mnuSystem, rundll + "sysdm.cpl,,0"},
        {&m.mnuInternet, rundll + "inetcpl.cpl,,0"},
        {&m.mnumodem, rundll + "modem.cpl"},
        {&m.mnuNetwork, rundll + "ncpa.cpl"},
    };
    for (const Case& c : cases) {
        c.item->Click();
        EXPECT_EQ(TakeLaunch(), c.target) << c.item->name();
    }
    EXPECT_TRUE(TakeCalls().empty());
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
    EXPECT_EQ(images, (std::vector<int>{10, 5, 0, 9, 4, 0, 6, 3, 2, 1, 0, 0}));
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
    EXPECT_EQ(TakeLaunch(), rundll + "modem.cpl");
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
    chrome.menu.mnuStatusBar.Click();  // a hidden status bar still moves with the toolbar
    int height = commands.window_height;

    chrome.menu.mnuToolBar.Click();
    EXPECT_FALSE(chrome.Toolbar1.visible());
    EXPECT_FALSE(chrome.menu.mnuToolBar.checked());
    EXPECT_EQ(commands.window_height, height - 570);
    EXPECT_EQ(commands.frame_top, 600 - 570);
    EXPECT_EQ(chrome.StatusBar1.bounds().top, 5000 - 570);

    chrome.menu.mnuToolBar.Click();
    EXPECT_TRUE(chrome.Toolbar1.visible());
    EXPECT_TRUE(chrome.menu.mnuToolBar.checked());
    EXPECT_EQ(commands.window_height, height);
    EXPECT_EQ(commands.frame_top, 600);
    EXPECT_EQ(chrome.StatusBar1.bounds().top, 5000);
}

TEST_F(MainChromeTest, StatusBarToggleChangesHeightByItsFixedAmount) {
    chrome.StatusBar1.SetBounds({0, 5000, 9000, 400});  // its real height is not used
    chrome.ToggleStatusBar();
    EXPECT_FALSE(chrome.StatusBar1.visible());
    EXPECT_FALSE(chrome.menu.mnuStatusBar.checked());
    EXPECT_EQ(commands.window_height, 6000 - 315);
    EXPECT_EQ(commands.frame_top, 600);
    chrome.ToggleStatusBar();
    EXPECT_TRUE(chrome.StatusBar1.visible());
    EXPECT_TRUE(chrome.menu.mnuStatusBar.checked());
    EXPECT_EQ(commands.window_height, 6000);
}

TEST_F(MainChromeTest, DisableShowsItsMessageOnlyWhenDisabling) {
    ui::MenuItem& item = chrome.menu.mnuDisable;
    std::vector<std::string> captions;
    for (int i = 0; i < 3; ++i) {
        item.Click();
        captions.push_back(item.caption());
    }
    EXPECT_EQ(captions, (Calls{"Enable", "Disable", "Enable"}));
    ASSERT_EQ(messages.shown.size(), 2u);
    const ui::Message& shown = messages.shown[0];
    EXPECT_EQ(shown.text,
              "You have only disabled the Ping utility...\r\n\r\nZorvane will continue boosting "
              "your Internet connection.\r\nIn order to disable the connection acceleration, you "
              "will have to run the uninstall program.");
    EXPECT_EQ(shown.caption, "Zorvane");
    EXPECT_EQ(shown.icon, ui::MessageIcon::Information);
    EXPECT_EQ(shown.buttons, ui::MessageButtons::Ok);
    EXPECT_TRUE(TakeCalls().empty());  // nothing else happens

    item.SetCaption("something else");
    item.Click();
    EXPECT_EQ(item.caption(), "Disable");
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(MainChromeTest, TrayActsOnReleasesAndDoubleClicksOnly) {
    for (int code : {512, 513, 516, 518, 0, -1}) {
        chrome.HandleTrayMouse(code);
    }
    EXPECT_TRUE(TakeCalls().empty());
    chrome.HandleTrayMouse(514);
    chrome.HandleTrayMouse(515);
    chrome.HandleTrayMouse(517);
    EXPECT_EQ(TakeCalls(),
              (Calls{"Foreground", "ShowMain", "Foreground", "ShowMain", "Foreground", "Popup"}));
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
