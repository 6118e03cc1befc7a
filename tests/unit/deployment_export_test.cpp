// The export for deployment: both registry-editor formats written out in full without the
// per-interface values, the undo file from the values as they are (the string kinds as
// each format's editor reads them, no key it would create), and where the undo file goes.
#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"
#include "fakes/memory_registry.h"
#include "fakes/registry_paths.h"
#include "fakes/settings_records.h"
#include "sysconfig/deployment_export.h"
#include "sysconfig/registry_access.h"
#include "tuning/presets.h"

namespace zv {
namespace {

using namespace test_keys;

const char kNote[] =
    "; The MTU and MSS of each network adapter are not in this file, as adapters differ "
    "between computers: run Zorvane.exe /apply on each computer to write them.\r\n";

// The sections both layouts end with: 2 and 4 connections per server under the layout's
// spelling of the Software key, and on 9x the NDI cache (NT reads no such key, and an
// import would create it).
std::string ConnectionsAndNdiCache(const std::string& software, const std::string& ndi_cache) {
    return "[HKEY_LOCAL_MACHINE\\" + software +
           "\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\r\n"
           "\"MaxConnectionsPer1_0Server\"=dword:00000002\r\n"
           "\"MaxConnectionsPerServer\"=dword:00000004\r\n"
           "\r\n" +
           (ndi_cache.empty() ? ""
                              : "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\"
                                "NWLink\\Ndi\\params\\cachesize]\r\n@=" +
                                    ndi_cache + "\r\n\r\n");
}

TEST(DeploymentExportTest, NtLayoutInVersionFiveFormatWithRemovalsAndTheUndoFile) {
    testing::MemoryRegistry registry;
    registry.AddKey(kInterfaces + "\\{A}");
    registry.AddKey(kInternet);
    registry.Put(kTcpip, "TcpWindowSize", kRegDword, DwordBytes(65535));
    registry.Put(kTcpip, "DefaultTTL", kRegSz, std::string("6\"4\0", 4));
    registry.Put(kTcpip, "KeepAliveTime", 3, "\x01\xab");
    registry.Put(kTcpip, "KeepAliveInterval", 11, std::string("\x10\0\0\0\0\0\0\0", 8));
    registry.Put(kTcpip, "EnablePMTUDiscovery", 2, std::string("%A%\0", 4));
    registry.Put(kTcpip, "EnablePMTUBHDetect", 7, std::string("a\0b\0\0", 5));
    registry.Put(kTcpip, "SYNAttackProtect", kRegSz, std::string("x\ty\0", 4));

    std::optional<DeploymentFiles> files =
        MakeDeploymentFiles(registry, testing::RestoredSettings(), WindowsRelease::Vista);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->apply,
              "Windows Registry Editor Version 5.00\r\n" + std::string(kNote) +
                  "\r\n"
                  "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters]\r\n"
                  "\"GlobalMaxTcpWindowSize\"=-\r\n"
                  "\"TcpWindowSize\"=-\r\n"
                  "\"DefaultTTL\"=-\r\n"
                  "\"KeepAliveTime\"=-\r\n"
                  "\"KeepAliveInterval\"=dword:000003e8\r\n"
                  "\"EnablePMTUDiscovery\"=dword:00000001\r\n"
                  "\"EnablePMTUBHDetect\"=dword:00000000\r\n"
                  "\"SYNAttackProtect\"=dword:00000002\r\n"
                  "\r\n" +
                  ConnectionsAndNdiCache("SOFTWARE", ""));
    // The undo file holds what is there now, whatever its kind, strings in UTF-16LE, and
    // removes no key, as the import creates none.
    EXPECT_EQ(files->undo,
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters]\r\n"
              "\"GlobalMaxTcpWindowSize\"=-\r\n"
              "\"TcpWindowSize\"=dword:0000ffff\r\n"
              "\"DefaultTTL\"=\"6\\\"4\"\r\n"
              "\"KeepAliveTime\"=hex(3):01,ab\r\n"
              "\"KeepAliveInterval\"=hex(b):10,00,00,00,00,00,00,00\r\n"
              "\"EnablePMTUDiscovery\"=hex(2):25,00,41,00,25,00,00,00\r\n"
              "\"EnablePMTUBHDetect\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
              "\"SYNAttackProtect\"=hex(1):78,00,09,00,79,00,00,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet "
              "Settings]\r\n"
              "\"MaxConnectionsPer1_0Server\"=-\r\n"
              "\"MaxConnectionsPerServer\"=-\r\n"
              "\r\n");
}

TEST(DeploymentExportTest, Windows9xLayoutInRegedit4FormatWithTheTtlAsText) {
    testing::MemoryRegistry registry;
    registry.AddKey(kNetTrans + "\\0000");
    TuningSettings dialup;
    ApplyPreset(dialup, 0, WindowsRelease::Windows98);  // MTU 576, RWIN 2144, TTL 128, NDI 16
    std::optional<DeploymentFiles> files =
        MakeDeploymentFiles(registry, dialup, WindowsRelease::Windows98);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->apply,
              "REGEDIT4\r\n" + std::string(kNote) +
                  "\r\n"
                  "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP]\r\n"
                  "\"DefaultRcvWindow\"=dword:00000860\r\n"
                  "\"DefaultTTL\"=\"128\"\r\n"
                  "\"SessionKeepAlive\"=dword:0036ee80\r\n"
                  "\"PMTUDiscovery\"=dword:00000001\r\n"
                  "\"PMTUBlackHoleDetect\"=dword:00000000\r\n"
                  "\"SYNAttackProtect\"=dword:00000002\r\n"
                  "\r\n" +
                  ConnectionsAndNdiCache("Software", "dword:00000010"));
}

TEST(DeploymentExportTest, ExportWritesBesideTheFileOrSaysWhyNot) {
    struct Case {
        const char* path;
        const char* undo;
    };
    for (const Case& c : {Case{"C:\\d\\fast.reg", "C:\\d\\fast-undo.reg"},
                          Case{"C:\\d\\fast.REG", "C:\\d\\fast-undo.reg"},
                          Case{"C:\\d.x\\fast", "C:\\d.x\\fast-undo.reg"}}) {
        EXPECT_EQ(UndoFilePath(c.path), c.undo) << c.path;
    }
    testing::MemoryFileSystem files;
    testing::MemoryRegistry registry;
    TuningSettings s = testing::RestoredSettings();
    EXPECT_EQ(ExportForDeployment(files, registry, s, WindowsRelease::Unrecognised, "C:\\x.reg"),
              ExportResult::NothingToExport);
    files.writes_fail = true;
    EXPECT_EQ(ExportForDeployment(files, registry, s, WindowsRelease::WindowsXp, "C:\\x.reg"),
              ExportResult::FileNotWritten);
    files.writes_fail = false;
    EXPECT_EQ(ExportForDeployment(files, registry, s, WindowsRelease::WindowsXp, "C:\\x.reg"),
              ExportResult::Written);
    EXPECT_EQ(files.files.size(), 2u);
    EXPECT_EQ(registry.ValueCount(), 0u) << "exporting changes nothing";
}

}  // namespace
}  // namespace zv
