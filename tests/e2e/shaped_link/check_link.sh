#!/usr/bin/env bash
# Run by the sandbox on this side of its shaped network (--shaped KIND --servers --linux):
# checks with Linux tools alone that the customer link adds its buffer's delay under load
# each way, carries its rate, and that the web server answers each URL of the
# responsiveness test. Prints what it saw.
# usage: check_link.sh BUFFER_MS   (the buffer's delay when full: bytes * 8 / 10 Mbit/s)
set -uo pipefail
buffer_ms=$1 host=10.19.3.2 failures=0

check() {  # WHAT CONDITION...
    if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failures=$((failures + 1)); fi
}

median_rtt() {  # COUNT: the median of COUNT echoes 0.2 s apart, in whole ms
    ping -n -i 0.2 -c "$1" "$host" | sed -n 's/.* time=\([0-9.]*\) ms.*/\1/p' | sort -n |
        awk '{rtt[NR] = $1} END {printf "%.0f", NR ? rtt[int((NR + 1) / 2)] : -1}'
}

within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN {exit !(v >= lo && v <= hi)}'; }

idle=$(median_rtt 10)
echo "idle: median round trip ${idle} ms"
check "idle round trip under 5 ms" within "$idle" 0 5
for direction in down up; do
    link_load "$direction" 6 >load.out 2>&1 &
    sleep 2
    loaded=$(median_rtt 18)
    wait
    goodput=$(goodput_of <load.out)
    echo "load $direction: median round trip ${loaded} ms (buffer ${buffer_ms} ms)," \
        "goodput ${goodput:-none} kbit/s"
    check "$direction: added latency within 50-110 % of the buffer's delay" \
        within "$((loaded - idle))" "$((buffer_ms / 2))" "$((buffer_ms * 11 / 10 + 2))"
    check "$direction: goodput at least 90 % of 10 Mbit/s" within "${goodput:-0}" 9000 10000
done

url=http://nq.zorvane.test
fetch() { curl -s -m 10 -o /dev/null -w '%{http_code} %{size_download} %{size_upload}' "$@"; }
check "small: 1 byte" test "$(fetch "$url/small")" = "200 1 0"
check "large: 8 GiB offered" curl -s -m 10 -r 0-0 -o /dev/null -D headers.out "$url/large"
check "large: whole size" grep -qi '^content-range: bytes 0-0/8589934592' headers.out
check "upload: 3 MB taken" test "$(head -c 3000000 /dev/zero |
    fetch -X POST -H 'Content-Type: application/octet-stream' --data-binary @- "$url/upload")" \
    = "200 0 3000000"
config=$(curl -s -m 10 "$url/.well-known/nq")
echo "config: $config"
check "config: JSON naming the three URLs" python3 -c '
import json, sys
urls = json.loads(sys.argv[1])["urls"]
base = "http://nq.zorvane.test/"
assert urls["small_download_url"] == base + "small"
assert urls["large_download_url"] == base + "large"
assert urls["upload_url"] == base + "upload"' "$config"
exit $((failures > 0))
