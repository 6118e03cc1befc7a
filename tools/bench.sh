#!/usr/bin/env bash
# Prints the speed, memory and size figures of the programs, each against a raw-API
# baseline measured in the same run in the sandbox. Figures, not pass/fail tests.
# --only PART (sizes, startup, core, vigilo, rpm or busy) measures that part alone, for the
# quick repeats a change of one of them needs.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
only=
if [ "${1:-}" = "--only" ]; then
    only=${2:-}
    case $only in
        sizes | startup | core | vigilo | rpm | busy) ;;
        *) echo "--only needs a part: sizes, startup, core, vigilo, rpm or busy" >&2 && exit 2 ;;
    esac
fi
wanted() { [ -z "$only" ] || [ "$only" = "$1" ]; }
"$repo/tools/build.sh" --windows-only >/dev/null
win="$repo/build/win"
# The companion's probe host, answered on loopback inside the sandbox, or by the host of
# the sandbox's routed network, behind a gateway the companion watches.
probe_host=$(grep -ho 'kProbeHost[^"]*"[^"]*"' -r "$repo/src/monitor" 2>/dev/null | sed 's/.*"\(.*\)"/\1/' | head -n1)
sandbox() { "$repo/tools/sandbox.sh" --app "$win/app" "$@"; }
on_loopback=(--host "${probe_host:-probe.invalid}=127.0.0.1")

if wanted sizes; then
    echo "== Sizes and imports"
    for exe in "$win/app/Zorvane.exe" "$win/app/vigilo.exe"; do
        [ -f "$exe" ] || continue
        printf '  %-12s %7d bytes (target <= 512000); imports: %s\n' "$(basename "$exe")" \
            "$(stat -c %s "$exe")" \
            "$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
    done
fi

if wanted startup; then
    echo "== Start-up"
    sandbox "${on_loopback[@]}" --name bench-start -- "$win/bench/bench_start.exe"
fi

if wanted core; then
    for bench in "$win"/bench/*_core_bench.exe; do
        [ -f "$bench" ] || continue
        echo "== $(basename "$bench" .exe)"
        sandbox "${on_loopback[@]}" --name "$(basename "$bench" .exe)" -- "$bench"
    done
fi

if wanted vigilo; then
    echo "== Companion at rest, watching its gateway on the routed network"
    sandbox --routed --host "${probe_host:-probe.invalid}=10.19.3.2" --name bench-vigilo -- \
        "$win/bench/bench_vigilo.exe" "${VIGILO_SECONDS:-30}"
fi

# The responsiveness test's end-to-end driver on each shaped link: its figures against what
# the link was built to do (the buffer's delay when full: bytes * 8 / 10 Mbit/s; the shaped
# rate) and against Linux ping to the same server under the same download.
if wanted rpm; then
    echo "== Responsiveness test against the shaped link"
    for link in bloated:500000 managed:12500; do
        name=${link%:*} bytes=${link#*:}
        sandbox --shaped "$name" --servers --host nq.zorvane.test=10.19.3.2 --name "bench-rpm-$name" \
            -- "$win/tests/e2e/responsiveness_driver.exe" "$name" 2>&1 | tr -d ',' |
            awk -v link="$name" -v buffer_ms="$((bytes * 8 / 10000))" '
                / added / { for (i = 1; i <= NF; i++) if ($i == "added") added = $(i + 1) }
                /goodput down/ { down = $4 / 1e6; up = $8 / 1e6 }
                /Linux ping median/ { ping = $5; ours = $(NF - 1) }
                END {
                    printf "  %-8s added latency %.0f ms against the buffer'"'"'s %d ms (%.2f)\n",
                           link, added, buffer_ms, added / buffer_ms
                    printf "  %-8s goodput down %.2f, up %.2f Mbit/s against 10 (%.2f, %.2f)\n",
                           link, down, up, down / 10, up / 10
                    if (ping > 0)
                        printf "  %-8s loaded latency under download %.0f ms against Linux ping %.0f ms (%.2f)\n",
                               link, ours, ping, ours / ping
                }'
    done
fi

if wanted busy; then
    echo "== Companion watching a busy link: iperf3 fills the shaped link, extra probes every 5 s"
    sandbox --shaped bloated --servers --host "${probe_host:-probe.invalid}=10.19.3.2" \
        --name bench-vigilo-busy -- "$win/bench/bench_vigilo.exe" "${VIGILO_SECONDS:-30}" busy
fi
