#!/usr/bin/env bash
# Prints the speed, memory and size figures of the programs, each against a raw-API
# baseline measured in the same run in the sandbox. Figures, not pass/fail tests.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/build.sh" --windows-only >/dev/null
win="$repo/build/win"
# The companion's probe host, answered on loopback inside the sandbox, or by the host of
# the sandbox's routed network, behind a gateway the companion watches.
probe_host=$(grep -ho 'kProbeHost[^"]*"[^"]*"' -r "$repo/src/monitor" 2>/dev/null | sed 's/.*"\(.*\)"/\1/' | head -n1)
sandbox() { "$repo/tools/sandbox.sh" --app "$win/app" "$@"; }
on_loopback=(--host "${probe_host:-probe.invalid}=127.0.0.1")

echo "== Sizes and imports"
for exe in "$win/app/Zorvane.exe" "$win/app/vigilo.exe"; do
    [ -f "$exe" ] || continue
    printf '  %-12s %7d bytes (target <= 512000); imports: %s\n' "$(basename "$exe")" \
        "$(stat -c %s "$exe")" \
        "$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
done

echo "== Start-up"
sandbox "${on_loopback[@]}" --name bench-start -- "$win/bench/bench_start.exe"

for bench in "$win"/bench/*_core_bench.exe; do
    [ -f "$bench" ] || continue
    echo "== $(basename "$bench" .exe)"
    sandbox "${on_loopback[@]}" --name "$(basename "$bench" .exe)" -- "$bench"
done

echo "== Companion at rest, watching its gateway on the routed network"
sandbox --routed --host "${probe_host:-probe.invalid}=10.19.3.2" --name bench-vigilo -- \
    "$win/bench/bench_vigilo.exe" "${VIGILO_SECONDS:-30}"

echo "== Companion watching a busy link: iperf3 fills the shaped link, extra probes every 5 s"
sandbox --shaped bloated --servers --host "${probe_host:-probe.invalid}=10.19.3.2" \
    --name bench-vigilo-busy -- "$win/bench/bench_vigilo.exe" "${VIGILO_SECONDS:-30}" busy
