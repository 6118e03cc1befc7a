// The modern TCP/IP stack against fake WMI, IP Helper and netsh: one table row per release
// reads a machine left in every harmful state, finds what that release can show, repairs
// it with the exact netsh lines and WMI writes, and Undo brings every finding back; then
// Group Policy, refusals, Wine's missing classes and the MTU of a route.
#include <gtest/gtest.h>

#include "fakes/fake_stack_ports.h"
#include "fakes/memory_machine.h"
#include "fakes/registry_paths.h"
#include "netstack/stack_checks.h"
#include "netstack/stack_command.h"
#include "netstack/stack_entries.h"

namespace zv::netstack {
namespace {

using namespace test_keys;
using K = FindingKind;
using W = WmiClass;
using R = WindowsRelease;

const std::string kDir = "C:\\Zorvane";
const std::string kNetshMtu =
    "netsh interface ipv4 set subinterface interface=3 mtu=576 store=persistent";
const std::string kNetshCubic =
    "netsh int tcp set supplemental template=internet congestionprovider=cubic";
const std::string kNetshNewReno =
    "netsh int tcp set supplemental template=compat congestionprovider=newreno";

WmiInstance Template(const std::string& name, uint32_t provider) {
    return {name,
            {{"AutoTuningLevelLocal", 0},
             {"AutoTuningLevelGroupPolicy", 255},
             {"AutoTuningLevelEffective", 0},
             {"CongestionProvider", provider},
             {"EcnCapability", 0},
             {"Timestamps", 0},
             {"InitialRto", 3000},
             {"MaxSynRetransmissions", 2},
             {"NonSackRttResiliency", 0}}};
}

// Auto-tuning disabled, BBR2 on two templates, TcpAckFrequency on the Interfaces key, a
// classic receive window, an IPv4 MTU below its floor and receive-side scaling off.
struct HarmedMachine : testing::FakeStack, testing::MemoryMachine {
    HarmedMachine() {
        wmi.classes[W::TcpSetting] = {
            PortStatus::Ok,
            {Template("Internet", 6), Template("Datacenter", 5), Template("Compat", 6)}};
        wmi.classes[W::OffloadGlobalSetting] = {
            PortStatus::Ok, {{"", {{"ReceiveSideScaling", 0}, {"ReceiveSegmentCoalescing", 1}}}}};
        interfaces.list = {PortStatus::Ok,
                           {{7, 3, IpFamily::V4, 400, 1500, "Ethernet", "{E}", false},
                            {7, 3, IpFamily::V6, 1500, 1500, "Ethernet", "{E}", false},
                            {1, 1, IpFamily::V4, UINT32_MAX, 0, "Loopback", "{L}", true}}};
        testing::FakeStack::registry.AddKey(kInterfaces + "\\{E}");
        testing::FakeStack::registry.Put(kInterfaces, "TcpAckFrequency", kRegDword, DwordBytes(1));
        testing::FakeStack::registry.Put(kTcpip, "TcpWindowSize", kRegDword, DwordBytes(64240));
        // Windows 10 and 11 take Default as CUBIC, and WMI then reads CUBIC (see FakeWmi).
        wmi.default_provider = 5;
        netsh.effect = [this](const std::vector<std::string>& a) {
            if (a.size() == 6 && a[3] == "supplemental") {
                std::string name = a[4] == "template=compat" ? "Compat" : "Internet";
                const std::map<std::string, uint32_t> providers = {
                    {"congestionprovider=default", wmi.default_provider},
                    {"congestionprovider=newreno", 1},
                    {"congestionprovider=cubic", 5},
                    {"congestionprovider=bbr2", 6}};
                wmi.Set(W::TcpSetting, name, "CongestionProvider", providers.at(a[5]));
            }
        };
    }
    SnapshotPorts Snapshots(StackUndoPort* undo) {
        return {files, folders, testing::FakeStack::registry, undo};
    }
    std::vector<K> Kinds(const StackMachine& machine) {
        std::vector<K> kinds;
        for (const Finding& f : CheckStack(ReadStackRows(ports, machine), machine)) {
            kinds.push_back(f.kind);
        }
        return kinds;
    }
};

StackMachine Machine(uint32_t major, uint32_t minor, uint32_t build, bool server = false) {
    return {major < 6 ? R::WindowsXp : R::Vista, {major, minor, build, server}, 4};
}

// A harmed machine of one release, with the Undo of its stack changes.
struct UndoableMachine : HarmedMachine {
    explicit UndoableMachine(const StackMachine& release) : machine(release) {}
    using HarmedMachine::Snapshots;
    SnapshotPorts Snapshots() { return Snapshots(&undo); }
    const StackMachine machine;
    StackUndo undo{ports, machine};
};

struct ReleaseCase {
    const char* name;
    StackMachine machine;
    std::vector<K> findings;
    std::vector<std::string> netsh;
    std::vector<std::string> wmi;
};

const std::vector<K> kWmiFindings = {K::AutoTuningLimited, K::MisplacedValue,
                                     K::IgnoredClassicValues, K::MtuOutOfBounds, K::RssOff};
const std::vector<K> kHangFindings = {K::AutoTuningLimited,
                                      K::Bbr2LoopbackHang,
                                      K::Bbr2LoopbackHang,
                                      K::MisplacedValue,
                                      K::IgnoredClassicValues,
                                      K::MtuOutOfBounds,
                                      K::RssOff};
const std::vector<std::string> kWmiWrites = {"Internet.AutoTuningLevelLocal=3",
                                             ".ReceiveSideScaling=1"};

TEST(StackReleaseTest, EachReleaseFindsRepairsAndUndoesWhatItCanReach) {
    const ReleaseCase cases[] = {
        {"8", Machine(6, 2, 9200), kWmiFindings, {kNetshMtu}, kWmiWrites},
        {"10 1709", Machine(10, 0, 16299), kWmiFindings, {kNetshMtu}, kWmiWrites},
        {"11 22H2", Machine(10, 0, 22621), kWmiFindings, {kNetshMtu}, kWmiWrites},
        {"11 24H2",
         Machine(10, 0, 26100),
         kHangFindings,
         {kNetshCubic, kNetshNewReno, kNetshMtu},
         kWmiWrites},
        {"Server 2025",
         Machine(10, 0, 26100, true),
         kHangFindings,
         {kNetshMtu},
         {"Internet.AutoTuningLevelLocal=3", "Internet.CongestionProvider=5",
          "Compat.CongestionProvider=1", ".ReceiveSideScaling=1"}},
        {"Vista/7",
         Machine(6, 1, 7601),
         {K::MisplacedValue, K::IgnoredClassicValues, K::MtuOutOfBounds},
         {kNetshMtu},
         {}},
        {"XP", Machine(5, 1, 2600), {}, {}, {}},
    };
    for (const ReleaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        UndoableMachine m(c.machine);
        EXPECT_EQ(m.Kinds(c.machine), c.findings);
        CommandReport check = RunCheckCommand(m.ports, c.machine);
        EXPECT_EQ(check.exit_code, c.findings.empty() ? kExitDone : kExitRefused) << check.text;

        CommandReport repair = RunRepairCommand(m.ports, m.Snapshots(), kDir, c.machine);
        EXPECT_EQ(repair.exit_code, kExitDone) << repair.text;
        EXPECT_EQ(m.netsh.lines, c.netsh);
        EXPECT_EQ(m.wmi.writes, c.wmi);
        EXPECT_EQ(m.Kinds(c.machine), std::vector<K>{});

        if (!c.findings.empty()) {
            EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
            EXPECT_EQ(m.Kinds(c.machine), c.findings);
            EXPECT_EQ(UndoLastChange(m.Snapshots(nullptr), kDir).outcome,
                      UndoOutcome::NothingToUndo);
        }
    }
}

// The machine held a receive window before Zorvane; an Apply of Zorvane's wrote another,
// and /repair removed it: Undo All Changes puts back the first, not the one Zorvane wrote.
TEST(StackUndoTest, UndoAllPutsBackTheClassicValueOfBeforeZorvanesFirstChange) {
    UndoableMachine m(Machine(10, 0, 19045));
    auto& registry = static_cast<testing::FakeStack&>(m).registry;
    ASSERT_EQ(RecordSnapshot(m.Snapshots(), kDir, CatalogueRows(registry, R::Vista)).outcome,
              SnapshotRecord::Recorded);
    registry.Put(kTcpip, "TcpWindowSize", kRegDword, DwordBytes(93440));
    RunRepairCommand(m.ports, m.Snapshots(), kDir, m.machine);
    ASSERT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), std::nullopt);

    EXPECT_EQ(UndoAllChanges(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
    EXPECT_EQ(registry.Dword(kTcpip, "TcpWindowSize"), std::optional<uint32_t>(64240));
}

TEST(StackCheckTest, GroupPolicyIsNamedAndNeverFixed) {
    UndoableMachine m(Machine(10, 0, 19045));
    m.wmi.Set(W::TcpSetting, "Internet", "AutoTuningLevelGroupPolicy", 1);
    // A policy level Windows does not apply (the local one is in effect) is no reason.
    EXPECT_FALSE(CheckStack(ReadStackRows(m.ports, m.machine), m.machine)[0].fix.empty());
    m.wmi.Set(W::TcpSetting, "Internet", "AutoTuningLevelEffective", 1);
    std::vector<Finding> findings = CheckStack(ReadStackRows(m.ports, m.machine), m.machine);
    ASSERT_EQ(findings[0].kind, K::AutoTuningLimited);
    EXPECT_TRUE(findings[0].fix.empty());
    CommandReport repair = RunRepairCommand(m.ports, m.Snapshots(), kDir, m.machine);
    EXPECT_EQ(repair.exit_code, kExitSetByGroupPolicy);
    EXPECT_NE(repair.text.find("Group Policy sets receive window auto-tuning to Highly "
                               "restricted"),
              std::string::npos);
    EXPECT_EQ(m.wmi.writes, std::vector<std::string>{".ReceiveSideScaling=1"});
}

TEST(StackCheckTest, EachLimitedLevelGivesItsOwnReason) {
    HarmedMachine m;
    StackMachine machine = Machine(10, 0, 19045);
    for (auto [level, why] : {std::pair<uint32_t, const char*>{0, "stays at 64 KB"},
                              {2, "stays small"},
                              {4, "meant for tests"}}) {
        m.wmi.Set(W::TcpSetting, "Internet", "AutoTuningLevelLocal", level);
        const std::string text = CheckStack(ReadStackRows(m.ports, machine), machine)[0].text;
        EXPECT_NE(text.find(why), std::string::npos) << "level " << level << ": " << text;
    }
}

TEST(StackChangeTest, ARefusedChangeIsReportedAsRefusedNeverAsDone) {
    struct Case {
        const char* name;
        std::function<void(HarmedMachine&)> refuse;
        const char* line;
        int exit_code;
    };
    const Case cases[] = {
        {"netsh exit code", [](HarmedMachine& m) { m.netsh.exit_code = 1; },
         "Congestion provider: Internet: not set to CUBIC, refused (netsh exit code 1).",
         kExitPartlyDone},
        {"read back", [](HarmedMachine& m) { m.wmi.windows_keeps_its_value = true; },
         "Receive window auto-tuning: not set to Normal, refused (Windows kept Disabled).",
         kExitRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UndoableMachine m(Machine(10, 0, 26100));
        c.refuse(m);
        CommandReport repair = RunRepairCommand(m.ports, m.Snapshots(), kDir, m.machine);
        EXPECT_EQ(repair.exit_code, c.exit_code) << repair.text;
        EXPECT_NE(repair.text.find(c.line), std::string::npos) << repair.text;
    }
}

// Each change told as what it was; anything that may have changed the machine keeps its
// snapshot (and Undo puts the row back), a refused one leaves none, nor a first snapshot.
TEST(StackChangeTest, EachOutcomeIsToldAndKeepsItsSnapshotUnlessNothingChanged) {
    using C = ChangeResult;
    const RowId mtu{StackSetting::Ipv4Mtu, "7"};
    const RowId provider{StackSetting::CongestionProvider, "Internet"};
    const RowId level{StackSetting::AutoTuningLocal, "Internet"};
    struct Case {
        const char* name;
        std::function<void(HarmedMachine&)> fault;
        RowChange change;
        C result;
        const char* text;
    };
    const Case cases[] = {
        {"stored refused",
         [](HarmedMachine& m) { m.netsh.exit_code = 1; },
         {mtu, 576},
         C::PartlyDone,
         "IPv4 MTU: Ethernet: partly set to 576: set now, not stored for the next start (netsh "
         "exit code 1)."},
        // Wine 8 has no SetIpInterfaceEntry (the port finds none in iphlpapi).
        {"no setter",
         [](HarmedMachine& m) { m.interfaces.set_status = PortStatus::NotAvailable; },
         {mtu, 576},
         C::PartlyDone,
         "IPv4 MTU: Ethernet: partly set to 576: stored for the next start, not set now (this "
         "Windows has no SetIpInterfaceEntry)."},
        {"setter refused",
         [](HarmedMachine& m) { m.interfaces.set_status = PortStatus::Refused; },
         {mtu, 576},
         C::Refused,
         "IPv4 MTU: Ethernet: not set to 576, refused (refused by SetIpInterfaceEntry)."},
        {"netsh ended",
         [](HarmedMachine& m) { m.netsh.timed_out = true; },
         {provider, 5},
         C::Unknown,
         "Congestion provider: Internet: set to CUBIC, not known whether made: netsh did not "
         "finish in time and was ended."},
        {"WMI timed out",
         [](HarmedMachine& m) { m.wmi.write_status = PortStatus::TimedOut; },
         {level, 3},
         C::Unknown,
         "Receive window auto-tuning: set to Normal, not known whether made: WMI did not answer "
         "in time and may still make it."},
        {"WMI refused",
         [](HarmedMachine& m) { m.wmi.write_status = PortStatus::Refused; },
         {level, 3},
         C::Refused,
         "Receive window auto-tuning: not set to Normal, refused (refused by WMI)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UndoableMachine m(Machine(10, 0, 26100));
        c.fault(m);
        std::vector<ChangeOutcome> outcomes = ApplyChanges(
            m.ports, m.Snapshots(), kDir, m.machine, ReadStackRows(m.ports, m.machine), {c.change});
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].result, c.result);
        EXPECT_EQ(outcomes[0].text, c.text);
        const bool kept = MayHaveChanged(c.result);
        EXPECT_EQ(m.files.FileExists(FirstSnapshotPath(kDir)), kept);
        EXPECT_EQ(NewestSnapshot(m.folders, kDir).has_value(), kept);
    }
}

// The snapshot and the first snapshot hold only the rows written: Undo All Changes on
// Vista and 7 sets no row to netsh's default whose change Windows refused.
TEST(StackChangeTest, ARefusedRowIsInNeitherSnapshot) {
    UndoableMachine m(Machine(6, 1, 7601));
    m.netsh.effect = [&](const std::vector<std::string>& a) {
        m.netsh.exit_code = a.back() == "timestamps=enabled" ? 1 : 0;
    };
    std::vector<StackRow> rows = ReadStackRows(m.ports, m.machine);
    std::vector<ChangeOutcome> outcomes =
        ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine, rows,
                     {{{StackSetting::Ecn, ""}, 1}, {{StackSetting::Timestamps, ""}, 1}});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[1].result, ChangeResult::Refused) << outcomes[1].text;
    m.netsh.effect = nullptr;
    m.netsh.exit_code = 0;
    m.netsh.lines.clear();
    EXPECT_EQ(UndoAllChanges(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
    EXPECT_EQ(m.netsh.lines,
              std::vector<std::string>{"netsh int tcp set global ecncapability=default"});
}

TEST(StackReadTest, WineWithoutTheWmiClassesShowsThemAsNotAvailable) {
    HarmedMachine m;
    m.wmi.classes.clear();
    StackMachine machine = Machine(10, 0, 19045);
    for (const StackRow& row : ReadPiece(StackPiece::TcpSettings, m.ports, machine)) {
        EXPECT_EQ(NowText(row), "not available") << row.label;
        EXPECT_FALSE(row.writable) << row.label;
    }
    EXPECT_EQ(m.Kinds(machine),
              (std::vector<K>{K::MisplacedValue, K::IgnoredClassicValues, K::MtuOutOfBounds}));
}

TEST(StackChangeTest, UnreadableRowsGoBackToTheWindowsDefaultAndNeedTheStackToUndo) {
    UndoableMachine m(Machine(6, 1, 7601));
    std::vector<StackRow> rows = ReadStackRows(m.ports, m.machine);
    const StackRow* ecn = FindRow(rows, {StackSetting::Ecn, ""});
    ASSERT_TRUE(ecn && ecn->undo_to_default_only);
    EXPECT_TRUE(
        AllDone(ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine, rows, {{ecn->id, 1}})));
    EXPECT_EQ(UndoLastChange(m.Snapshots(nullptr), kDir).outcome, UndoOutcome::Damaged);
    EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
    EXPECT_EQ(m.netsh.lines,
              (std::vector<std::string>{"netsh int tcp set global ecncapability=enabled",
                                        "netsh int tcp set global ecncapability=default"}));
}

// A snapshot is a file anyone may edit: Undo takes only the settings and places Zorvane
// changes, so that nothing else reaches netsh's arguments or the registry.
TEST(StackUndoTest, KnowsOnlyWhatZorvaneChanges) {
    UndoableMachine m(Machine(10, 0, 19045));
    const std::pair<Snapshot::StackValue, bool> cases[] = {
        {{"congestion-provider", "Compat", 1u}, true},
        {{"congestion-provider", "internet congestionprovider=bbr2", 1u}, false},
        {{"ecn", "Internet", 1u}, true},
        {{"ecn", "Datacenter", 1u}, false},
        {{"ipv4-mtu", "7", 1500u}, true},
        {{"ipv4-mtu", "7 x", 1500u}, false},
        {{"misplaced-tcp-no-delay", kInterfaces + "\\{E}", std::nullopt}, true},
        {{"misplaced-tcp-no-delay", "SOFTWARE\\Run", std::nullopt}, false},
        {{"classic-receive-window", "TcpWindowSize", std::nullopt}, true},
        {{"classic-receive-window", "DefaultTTL", std::nullopt}, false},
        {{"no-such-setting", "", 1u}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m.undo.Knows(c.first), c.second) << c.first.setting << " " << c.first.instance;
    }
}

TEST(StackChangeTest, UseForThisAdapterSetsTheRoutedAdapterNowAndPersistently) {
    HarmedMachine m;
    StackMachine machine = Machine(10, 0, 19045);
    m.interfaces.best = 3;
    ChangeOutcome set =
        UseMtuForRoute(m.ports, m.Snapshots(nullptr), kDir, machine, 0x0100007F, 1400);
    EXPECT_EQ(set.result, ChangeResult::Done) << set.text;
    EXPECT_EQ(m.interfaces.list.rows[0].mtu, 1400u);
    EXPECT_EQ(m.netsh.lines.back(),
              "netsh interface ipv4 set subinterface interface=3 mtu=1400 store=persistent");
    m.interfaces.best = 9;
    EXPECT_EQ(UseMtuForRoute(m.ports, m.Snapshots(nullptr), kDir, machine, 1, 1400).result,
              ChangeResult::NotAllowed);
}

// netsh is given the adapter's index, whatever its alias holds; without an index, netsh is
// not run and the MTU is reported as not stored.
TEST(StackChangeTest, NetshNamesTheAdapterByItsIndexOnly) {
    const struct {
        const char* alias;
        uint32_t index;
        std::vector<std::string> netsh;
    } cases[] = {
        {"Wi-Fi \"5\"",
         12,
         {"netsh interface ipv4 set subinterface interface=12 mtu=1400 store=persistent"}},
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alias);
        UndoableMachine m(Machine(10, 0, 19045));
        m.interfaces.list.rows[0].name = c.alias;
        m.interfaces.list.rows[0].index = c.index;
        std::vector<StackRow> rows = ReadStackRows(m.ports, m.machine);
        ChangeOutcome outcome = ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine, rows,
                                             {{{StackSetting::Ipv4Mtu, "7"}, 1400}})
                                    .front();
        EXPECT_EQ(m.netsh.lines, c.netsh);
        EXPECT_EQ(outcome.text.find("not stored for the next start") != std::string::npos,
                  c.index == 0)
            << outcome.text;
    }
}

// Default is taken as the release's provider, which WMI then reads back: a match, so the
// change is done and its snapshot kept, by netsh (a client) and by WMI (a server).
TEST(StackChangeTest, DefaultReadBackAsTheReleasesProviderIsDone) {
    for (const StackMachine& machine : {Machine(10, 0, 22621), Machine(10, 0, 26100, true)}) {
        SCOPED_TRACE(machine.detail.server ? "server" : "client");
        UndoableMachine m(machine);
        std::vector<StackRow> rows = ReadStackRows(m.ports, machine);
        ChangeOutcome outcome =
            ApplyChanges(m.ports, m.Snapshots(), kDir, machine, rows,
                         {{{StackSetting::CongestionProvider, "Internet"}, kProviderDefault}})
                .front();
        EXPECT_EQ(outcome.text, "Congestion provider: Internet: set to Default.");
        EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
        EXPECT_EQ(
            FindRow(ReadStackRows(m.ports, machine), {StackSetting::CongestionProvider, "Internet"})
                ->now,
            std::optional<uint32_t>(kBbr2));
    }
}

// A value a script wrote with another type comes back with its type and bytes.
TEST(StackUndoTest, RegistryRowsComeBackWithTheirKindAndBytes) {
    const std::string adapter = std::string(kTcpipInterfaces) + "\\{E}";
    const struct {
        StackSetting setting;
        std::string instance;
        std::string key;
        const char* name;
        uint32_t kind;
        std::string bytes;
        const char* named;  // as Undo names the value put back
    } cases[] = {
        {StackSetting::MisplacedTcpNoDelay, kTcpipParameters, kTcpipParameters, "TCPNoDelay",
         kRegSz, std::string("1\0", 2), "\"1\""},
        {StackSetting::MisplacedTcpAckFrequency, kTcpipInterfaces, kTcpipInterfaces,
         "TcpAckFrequency", 3, "\x01", "1 bytes"},
        {StackSetting::MisplacedTcpNoDelay, adapter, adapter, "TCPNoDelay", kRegSz,
         std::string("yes\0", 4), "\"yes\""},
        {StackSetting::TcpAckFrequency, "{E}", adapter, "TcpAckFrequency", kRegSz,
         std::string("1\0", 2), "\"1\""},
        {StackSetting::TcpAckFrequency, "{E}", adapter, "TcpAckFrequency", kRegDword,
         DwordBytes(UINT32_MAX - 1), "4294967294"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + "\\" + c.name);
        UndoableMachine m(Machine(10, 0, 19045));
        auto& registry = static_cast<testing::FakeStack&>(m).registry;
        registry.Put(c.key, c.name, c.kind, c.bytes);
        std::vector<StackRow> rows = ReadStackRows(m.ports, m.machine);
        EXPECT_TRUE(AllDone(ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine, rows,
                                         {{{c.setting, c.instance}, std::nullopt}})));
        EXPECT_FALSE(registry.Value(c.key, c.name));
        UndoResult undone = UndoLastChange(m.Snapshots(), kDir);
        EXPECT_EQ(undone.outcome, UndoOutcome::Undone);
        EXPECT_EQ(undone.stack_back,
                  std::vector<std::string>{c.name + (" in " + c.key + ": ") + c.named});
        std::optional<testing::StoredValue> back = registry.Value(c.key, c.name);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->kind, c.kind);
        EXPECT_EQ(back->data, c.bytes);
    }
}

// Each row offers its own values, Windows' default of the release among them, and removal
// where it is a registry value.
TEST(StackReadTest, EachRowOffersItsOwnValuesAndWindowsDefault) {
    using Texts = std::vector<std::string>;
    const std::string mark = " (Windows' default)";
    const struct {
        const char* name;
        StackMachine machine;
        RowId row;
        Texts offers;
        std::string windows_default;
    } cases[] = {
        {"RTO on 10",
         Machine(10, 0, 19045),
         {StackSetting::InitialRto, kGlobalTemplate},
         {"1000" + mark, "2000", "3000"},
         "1000"},
        {"RTO on 8",
         Machine(6, 2, 9200),
         {StackSetting::InitialRto, kGlobalTemplate},
         {"1000", "2000", "3000" + mark},
         "3000"},
        {"ACK",
         Machine(10, 0, 19045),
         {StackSetting::TcpAckFrequency, "{E}"},
         {"1", "2" + mark, "3", "4", "Remove the value"},
         "(not set): 2"},
        {"misplaced",
         Machine(10, 0, 19045),
         {StackSetting::MisplacedTcpAckFrequency, kTcpipInterfaces},
         {"Remove the value"},
         "(not set)"},
        {"MTU",
         Machine(10, 0, 19045),
         {StackSetting::Ipv4Mtu, "7"},
         {"576", "1280", "1400", "1450", "1480", "1492", "1500"},
         "The adapter's own"},
        {"provider",
         Machine(10, 0, 19045),
         {StackSetting::CongestionProvider, "Datacenter"},
         {"Default", "NewReno", "CTCP", "DCTCP", "LEDBAT", "CUBIC" + mark, "BBR2"},
         "CUBIC"},
    };
    for (const auto& c : cases) {
        HarmedMachine m;
        std::vector<StackRow> rows = ReadStackRows(m.ports, c.machine);
        const StackRow* row = FindRow(rows, c.row);
        ASSERT_TRUE(row) << c.name;
        Texts offers;
        for (const Offer& offer : Offers(*row)) {
            offers.push_back(offer.text);
        }
        EXPECT_EQ(offers, c.offers) << c.name;
        EXPECT_EQ(row->windows_default, c.windows_default) << c.name;
    }
}

// Undo of an MTU puts both stores back as they were: the one in effect and the persistent
// one (a value Zorvane stored where there was none, as for an MTU from DHCP, is removed). A
// size in effect in both is not written at all.
TEST(StackUndoTest, AnMtuComesBackInBothStoresExactly) {
    struct Case {
        const char* name;
        uint32_t now;
        std::optional<uint32_t> stored;
        size_t netsh_runs;
        UndoOutcome undo;
    };
    const Case cases[] = {
        {"from DHCP", 1500, std::nullopt, 1, UndoOutcome::Undone},
        {"stored before", 1450, 1450u, 1, UndoOutcome::Undone},
        {"in effect, not stored", 1400, std::nullopt, 1, UndoOutcome::Undone},
        {"in effect in both", 1400, 1400u, 0, UndoOutcome::NothingToUndo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UndoableMachine m(Machine(10, 0, 19045));
        m.interfaces.best = 3;
        m.interfaces.list.rows[0].mtu = c.now;
        auto stored = [&]() -> std::optional<uint32_t> {
            auto found = m.interfaces.stored.find({7, IpFamily::V4});
            return found == m.interfaces.stored.end() ? std::nullopt : std::optional(found->second);
        };
        if (c.stored) {
            m.interfaces.stored[{7, IpFamily::V4}] = *c.stored;
        }
        ChangeOutcome set = UseMtuForRoute(m.ports, m.Snapshots(), kDir, m.machine, 1, 1400);
        EXPECT_EQ(set.result, ChangeResult::Done) << set.text;
        EXPECT_EQ(m.netsh.lines.size(), c.netsh_runs) << set.text;
        EXPECT_EQ(stored(), std::optional<uint32_t>(1400));
        EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, c.undo);
        EXPECT_EQ(m.interfaces.list.rows[0].mtu, c.now);
        EXPECT_EQ(stored(), c.stored);
    }
}

// A change made whose first snapshot could not be written says so beside its outcome;
// Undo Last Change still has its snapshot.
TEST(StackChangeTest, AFirstSnapshotNotWrittenIsTold) {
    UndoableMachine m(Machine(10, 0, 19045));
    m.interfaces.best = 3;
    m.files.folders.insert(FirstSnapshotPath(kDir));
    ChangeOutcome set = UseMtuForRoute(m.ports, m.Snapshots(), kDir, m.machine, 1, 1400);
    EXPECT_EQ(set.result, ChangeResult::Done);
    EXPECT_NE(set.text.find("set to 1400. The snapshots in C:\\Zorvane\\Snapshots could not be "
                            "brought up to date"),
              std::string::npos)
        << set.text;
    EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
}

// Every old value comes back as it was, the all-ones DWORD too.
TEST(StackUndoTest, AnAllOnesOldValueComesBack) {
    UndoableMachine m(Machine(10, 0, 19045));
    auto& registry = static_cast<testing::FakeStack&>(m).registry;
    const std::string adapter = kInterfaces + "\\{E}";
    registry.Put(adapter, "TcpAckFrequency", kRegDword, DwordBytes(0xFFFFFFFF));
    ASSERT_TRUE(AllDone(ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine,
                                     ReadStackRows(m.ports, m.machine),
                                     {{{StackSetting::TcpAckFrequency, "{E}"}, 1}})));
    ASSERT_EQ(registry.Dword(adapter, "TcpAckFrequency"), std::optional<uint32_t>(1));
    EXPECT_EQ(UndoLastChange(m.Snapshots(), kDir).outcome, UndoOutcome::Undone);
    EXPECT_EQ(registry.Dword(adapter, "TcpAckFrequency"), std::optional<uint32_t>(0xFFFFFFFF));
}

// Undo names each stack row it put back, and each it could not with why; the hint to run
// as administrator only when a registry value was refused.
TEST(StackUndoTest, UndoNamesTheRowsPutBackAndThoseNot) {
    UndoableMachine m(Machine(10, 0, 26100));
    ASSERT_TRUE(AllDone(ApplyChanges(m.ports, m.Snapshots(), kDir, m.machine,
                                     ReadStackRows(m.ports, m.machine),
                                     {{{StackSetting::CongestionProvider, "Internet"}, 5},
                                      {{StackSetting::AutoTuningLocal, "Internet"}, 3}})));
    m.netsh.exit_code = 1;
    CommandReport refused = ReportUndo(UndoLastChange(m.Snapshots(), kDir), kDir);
    EXPECT_EQ(refused.exit_code, kExitRefused);
    EXPECT_EQ(refused.text,
              "Zorvane.cfg is back as it was, but not everything was put back.\r\n"
              "The network stack settings not put back:\r\n"
              "Congestion provider: Internet: BBR2 (refused: netsh exit code 1)\r\n"
              "The network stack settings put back:\r\n"
              "Receive window auto-tuning: Disabled");
    m.netsh.exit_code = 0;
    CommandReport done = ReportUndo(UndoLastChange(m.Snapshots(), kDir), kDir);
    EXPECT_EQ(done.text,
              "The last change has been undone: the registry values and Zorvane.cfg are as they "
              "were before it.\r\n"
              "The network stack settings put back:\r\n"
              "Congestion provider: Internet: BBR2\r\n"
              "Receive window auto-tuning: Disabled");
}

}  // namespace
}  // namespace zv::netstack
