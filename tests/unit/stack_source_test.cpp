// The Network Stack window's work over fake stack ports: rows from IP Helper and the
// registry arrive before WMI's, a finding Group Policy owns says why it has no fix, a fix
// and a picked value become one change each with the exact netsh line; and the values
// offered for a row.
#include <gtest/gtest.h>

#include "fakes/fake_stack_ports.h"
#include "fakes/memory_machine.h"
#include "main_window/stack_source.h"

namespace zv::main_window {
namespace {

TEST(StackRowTextTest, AWritableRowOffersItsValues) {
    using Texts = std::vector<std::string>;
    netstack::StackRow row;
    row.id = {netstack::StackSetting::Ecn, "Internet"};
    row.choices = {{0, "Disabled"}, {4, "Normal"}};
    row.writable = true;
    EXPECT_EQ(RowText(row).choices, (Texts{"Disabled", "Normal"}));
    row.writable = false;
    EXPECT_EQ(RowText(row).choices, Texts{});
}

struct StackSourceTest : ::testing::Test, testing::FakeStack, testing::MemoryMachine {
    netstack::StackMachine machine{WindowsRelease::Vista, {10, 0, 19045, false}, 4};
    StackSource source{
        {[this](const std::function<void(netstack::StackPorts&)>& use) { use(ports); }, files,
         folders},
        machine,
        "C:\\Zorvane"};
    std::vector<std::vector<StackRowText>> pieces;

    StackSourceTest() {
        wmi.classes[netstack::WmiClass::TcpSetting] = {
            netstack::PortStatus::Ok,
            {{"Internet", {{"AutoTuningLevelLocal", 4}, {"AutoTuningLevelGroupPolicy", 1}}}}};
        interfaces.list = {netstack::PortStatus::Ok,
                           {{7, 3, netstack::IpFamily::V4, 400, 1500, "Ethernet", "{E}", false}}};
    }
    StackReading Read() {
        pieces.clear();
        return source.Read([this](std::vector<StackRowText> rows) { pieces.push_back(rows); });
    }
};

TEST_F(StackSourceTest, FastRowsFirstAndFixesAndPicksBecomeChanges) {
    StackReading reading = Read();
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces[0][0].setting, "IPv4 MTU: Ethernet");
    ASSERT_EQ(reading.findings.size(), 2u);
    EXPECT_FALSE(reading.findings[0].fixable);  // Group Policy's auto-tuning level
    EXPECT_NE(reading.findings[0].text.find("Group Policy"), std::string::npos);
    EXPECT_TRUE(reading.findings[1].fixable);
    EXPECT_TRUE(reading.note.empty());

    std::vector<std::string> outcomes = source.Change({{1, 1}, {{0, "1400"}}});
    const std::string set = "netsh interface ipv4 set subinterface interface=3 mtu=";
    EXPECT_EQ(netsh.lines, (std::vector<std::string>{set + "576 store=persistent",
                                                     set + "1400 store=persistent"}));
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_NE(outcomes[1].find("1400"), std::string::npos) << outcomes[1];
    EXPECT_EQ(interfaces.list.rows[0].mtu, 1400u);
}

}  // namespace
}  // namespace zv::main_window
