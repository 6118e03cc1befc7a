#!/usr/bin/env bash
# Reads the import table and headers of each shipped program and fails when Windows at the
# build's floor release would refuse to load it: a function or DLL newer than the floor, a
# subsystem version above it. Also fails on an implicit import of a DLL the programs must
# load from the system folder themselves (the loader would look beside the program first),
# and on a program larger than the size budget.
#
# usage: check_programs.sh OBJDUMP FLOOR PROGRAM.exe...   (FLOOR: 5.1 for x86, 5.2 for x64)
set -uo pipefail
objdump=$1
floor=$2
shift 2

max_bytes=$((500 * 1024))

# Functions and DLLs a release older than the one named lacks, with the Windows NT version
# of the first release that has them on that architecture line (5.2: Server 2003 SP1 and
# XP x64, which the x64 build targets; 32-bit XP never got them).
refused=$(cat <<'LIST'
6.0 GetTickCount64                   Vista; the posix thread runtime imports it
6.0 InitializeCriticalSectionEx      Vista
6.0 InitOnceExecuteOnce              Vista
6.0 InitOnceBeginInitialize          Vista
6.0 InitOnceComplete                 Vista
6.0 InitializeSRWLock                Vista
6.0 AcquireSRWLockExclusive          Vista
6.0 AcquireSRWLockShared             Vista
6.0 ReleaseSRWLockExclusive          Vista
6.0 ReleaseSRWLockShared             Vista
6.1 TryAcquireSRWLockExclusive       Windows 7
6.0 InitializeConditionVariable      Vista
6.0 SleepConditionVariableCS         Vista
6.0 SleepConditionVariableSRW        Vista
6.0 WakeConditionVariable            Vista
6.0 WakeAllConditionVariable         Vista
5.2 FlsAlloc                         Server 2003
5.2 FlsFree                          Server 2003
5.2 FlsGetValue                      Server 2003
5.2 FlsSetValue                      Server 2003
5.2 GetThreadId                      Server 2003
5.2 Wow64DisableWow64FsRedirection   Server 2003 SP1 / XP x64
5.2 Wow64RevertWow64FsRedirection    Server 2003 SP1 / XP x64
6.0 GetFileInformationByHandleEx     Vista
6.0 SetFileInformationByHandle       Vista
6.0 GetFinalPathNameByHandleA        Vista
6.0 GetFinalPathNameByHandleW        Vista
6.0 CreateSymbolicLinkA              Vista
6.0 CreateSymbolicLinkW              Vista
6.0 CancelIoEx                       Vista
6.0 CreateEventExA                   Vista
6.0 CreateEventExW                   Vista
6.0 CreateMutexExA                   Vista
6.0 CreateMutexExW                   Vista
6.0 CreateSemaphoreExW               Vista
6.0 GetErrorMode                     Vista
6.0 QueryFullProcessImageNameA       Vista
6.0 QueryFullProcessImageNameW       Vista
6.0 CompareStringEx                  Vista
6.0 LCIDToLocaleName                 Vista
6.0 LocaleNameToLCID                 Vista
6.0 GetLocaleInfoEx                  Vista
6.0 RegisterApplicationRestart       Vista
6.2 SetDefaultDllDirectories         Windows 8; Vista and 7 only with update KB2533623
6.2 AddDllDirectory                  Windows 8; Vista and 7 only with update KB2533623
6.2 RemoveDllDirectory               Windows 8; Vista and 7 only with update KB2533623
6.2 GetSystemTimePreciseAsFileTime   Windows 8
6.2 CreateFile2                      Windows 8
5.2 RegGetValueA                     XP x64; Vista on x86
5.2 RegGetValueW                     XP x64; Vista on x86
5.2 RegDeleteKeyExA                  XP x64; Vista on x86
5.2 RegDeleteKeyExW                  XP x64; Vista on x86
6.0 RegDeleteTreeA                   Vista
6.0 RegDeleteTreeW                   Vista
6.0 RegSetKeyValueA                  Vista
6.0 RegCopyTreeA                     Vista
6.0 RegLoadMUIStringA                Vista
6.0 EventRegister                    Vista
6.0 ChangeWindowMessageFilter        Vista
6.1 ChangeWindowMessageFilterEx      Windows 7
6.0 SetProcessDPIAware               Vista
6.0 IsProcessDPIAware                Vista
6.0 LogicalToPhysicalPoint           Vista
6.0 AddClipboardFormatListener       Vista
6.0 ShutdownBlockReasonCreate        Vista
6.1 CalculatePopupWindowPosition     Windows 7
10.0 GetDpiForWindow                 Windows 10 1607
10.0 GetDpiForSystem                 Windows 10 1607
10.0 GetSystemMetricsForDpi          Windows 10 1607
10.0 AdjustWindowRectExForDpi        Windows 10 1607
10.0 SystemParametersInfoForDpi      Windows 10 1607
10.0 EnableNonClientDpiScaling       Windows 10 1607
10.0 SetProcessDpiAwarenessContext   Windows 10 1703
6.0 SHGetKnownFolderPath             Vista
6.0 SHCreateItemFromParsingName      Vista
6.0 SHGetStockIconInfo               Vista
6.1 Shell_NotifyIconGetRect          Windows 7
6.1 SetCurrentProcessExplicitAppUserModelID  Windows 7
6.0 TaskDialog                       Vista
6.0 TaskDialogIndirect               Vista
6.0 LoadIconMetric                   Vista
6.0 LoadIconWithScaleDown            Vista
6.0 _set_invalid_parameter_handler   Vista's msvcrt.dll
6.0 _get_invalid_parameter_handler   Vista's msvcrt.dll
6.0 dwmapi.dll                       Vista
6.0 bcrypt.dll                       Vista
6.0 ncrypt.dll                       Vista
6.0 propsys.dll                      Vista
6.3 shcore.dll                       Windows 8.1
10.0 ucrtbase.dll                    Windows 10
LIST
)

# Never imported: these are loaded at run time from the system folder, by full path, so a
# copy of the same name beside the program or in the current folder is never used.
run_time_only="iphlpapi.dll icmp.dll wsock32.dll ws2_32.dll winmm.dll ole32.dll oleaut32.dll
               secur32.dll crypt32.dll"

# Not imported by the program named: the companion stays small at rest, and comctl32
# (every class of the common controls registered at load) weighs about 1.8 MiB there.
not_at_start="vigilo.exe:comctl32.dll"

# Not part of Windows at all: a runtime DLL the static build must not need.
foreign="libwinpthread-1.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libstdc++-6.dll
         vcruntime140.dll msvcp140.dll"

newer_than_floor() {  # VERSION: true when VERSION > floor
    awk -v a="$1" -v b="$floor" 'BEGIN { split(a, x, "."); split(b, y, ".");
        exit !(x[1] > y[1] || (x[1] == y[1] && x[2] > y[2])) }'
}

failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

for exe in "$@"; do
    name=$(basename "$exe")
    if ! dump=$("$objdump" -p "$exe"); then
        fail "$name: objdump could not read it"
        continue
    fi
    # "DLL: function" for every import, DLL names lowered.
    imports=$(echo "$dump" | awk '
        /^\tDLL Name: / { dll = tolower($3); next }
        /^\t[0-9a-f]+\t *[0-9]+ +[^ ]+$/ && dll != "" { print dll ": " $NF }
        ')
    dlls=$(echo "$dump" | awk '/^\tDLL Name: / { print tolower($3) }')
    [ -n "$dlls" ] || fail "$name: no import table read"

    # One pass: every import (and imported DLL) looked up in the table.
    while read -r hit; do
        fail "$name imports $hit"
    done < <(awk -v floor="$floor" '
        function newer(v,   a, b) { split(v, a, "."); split(floor, b, ".");
                                    return a[1] > b[1] || (a[1] == b[1] && a[2] > b[2]) }
        FNR == NR { if (NF >= 2 && newer($1)) since[tolower($2)] = $1; next }
        { fn = tolower($2); dll = tolower(substr($1, 1, length($1) - 1)) }
        fn in since { print $0 " (Windows " since[fn] ")" }
        dll in since && !(dll in told) { told[dll]; print dll " (Windows " since[dll] ")" }
        ' <(echo "$refused") <(echo "$imports"))

    for dll in $run_time_only $foreign; do
        echo "$dlls" | grep -qx "$dll" && fail "$name imports $dll when it must not"
    done

    for rule in $not_at_start; do
        [ "${rule%%:*}" = "$name" ] && echo "$dlls" | grep -qx "${rule#*:}" &&
            fail "$name imports ${rule#*:}, which it would load at every start"
    done

    subsystem=$(echo "$dump" | awk '/^MajorSubsystemVersion/ { a = $2 } /^MinorSubsystemVersion/ { b = $2 }
                                    END { print a "." b }')
    newer_than_floor "$subsystem" && fail "$name asks for subsystem version $subsystem"

    size=$(stat -c %s "$exe")
    [ "$size" -le "$max_bytes" ] || fail "$name is $size bytes, more than $max_bytes"

    echo "$name: $(echo "$imports" | wc -l) imports from $(echo "$dlls" | tr '\n' ' ')," \
         "subsystem $subsystem, $size bytes"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s) at floor $floor"; exit 1; }
echo "all imports at or below Windows $floor"
