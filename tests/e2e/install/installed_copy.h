// What the drivers of the setup and of the Windows Installer package share: the installed
// copy of the programs, as the sandbox finds it after an install.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/registry_read.h"

namespace zv::e2e {

// The files an install puts into the folder, as built.
inline const char* const kShippedFiles[] = {"Zorvane.exe", "vigilo.exe", "TIPs.TXT", "Ping.wav",
                                            "Help\\help.htm"};

std::string Installed(const std::string& name);
std::string Quoted(const std::string& path);
// Ping.cfg as an install makes it: the companion's defaults.
std::string DefaultPingCfg();
// Checks each shipped file of the folder against the build's app folder.
void CheckShippedFiles(const std::string& built);
// Runs the installed Zorvane.exe with a switch, hidden; its exit code.
std::optional<DWORD> RunInstalled(const std::string& arguments);
// The tuned values: what /apply, /restore and the uninstall's restore change.
RegistrySnapshot TcpipRegistry();
// Waits (bounded) for every process that `parent` started to end.
bool WaitForChildrenOf(DWORD parent, DWORD timeout_ms);

}  // namespace zv::e2e
