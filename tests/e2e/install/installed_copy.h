// What the drivers of the setup and of the Windows Installer package share: the installed
// copy of the programs, as the sandbox finds it after an install.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "support/registry_read.h"

namespace zv::e2e {

// The files an install puts into the folder, as built.
inline const char* const kShippedFiles[] = {"Zorvane.exe", "vigilo.exe", "TIPs.TXT", "Ping.wav",
                                            "Help\\help.htm"};

// The Start-menu entries of an install, in its folder "Zorvane".
inline const char* const kShortcutFiles[] = {"Zorvane.lnk", "Vigilo.lnk", "User's Guide.lnk",
                                             "Uninstall Zorvane.lnk"};

std::string Installed(const std::string& name);
std::string Quoted(const std::string& path);
// Ping.cfg as an install makes it: the companion's defaults.
std::string DefaultPingCfg();
// Checks each shipped file of the folder against the build's app folder.
void CheckShippedFiles(const std::string& built);
void CheckShortcuts(const std::string& folder);
struct RegistryText {
    const char* name;
    std::string value;
};
// Checks the text values of a key of HKEY_LOCAL_MACHINE.
void CheckTexts(const std::string& key, std::initializer_list<RegistryText> texts);
// Runs the installed Zorvane.exe with a switch, hidden; its exit code.
std::optional<DWORD> RunInstalled(const std::string& arguments);
// The tuned values: what /apply, /restore and the uninstall's restore change.
RegistrySnapshot TcpipRegistry();
// Checks the tuned values against `expected`, naming each difference.
void CheckTcpipRegistry(const RegistrySnapshot& expected);
// What the programs keep for a user: the companion's options and its log. An uninstall
// takes them away for the user who runs it.
void LeaveUserTraces();
void CheckNoUserTraces();
// Waits (bounded) for every process that `parent` started to end.
bool WaitForChildrenOf(DWORD parent, DWORD timeout_ms);

}  // namespace zv::e2e
