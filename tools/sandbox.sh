#!/usr/bin/env bash
# Runs one Windows program under Wine, sealed off from the world:
#   - a private Wine prefix, an overlay over a template made once and cached;
#   - an emulated Windows release;
#   - a private network namespace with loopback only (with --routed, a few more behind it,
#     made by the run and joined to nothing else), and a private /etc/hosts;
#   - its own X display (Xvfb), or the user's display with --screen;
#   - wineserver -k at the end, so nothing outlives the run.
# Nothing started here can send a packet beyond the run's own network namespaces.
#
# The program (usually a test driver) talks back through a control folder whose Windows
# path is in %ZV_CTL_DIR%: it creates a file there and waits for "<name>.done":
#   shot-<name>.req   save a screenshot as <name>.png in the shots folder (--shots)
#   echo-off.req      stop answering ICMP echo requests in the namespace
#   echo-on.req       answer them again
#   icmp-stats.req    write the namespace's "Icmp:" counter lines of /proc/net/snmp (names,
#                     then values) into icmp-stats.done: one more InEchos per echo request
#   lock-app.req      no file can be made or removed in "C:\Program Files\Zorvane" any more,
#                     while the files in it can still be changed: the rights the users have
#                     in an installed copy (Wine runs everything as administrator)
#   unlock-app.req    lift that again
#   keep-<file>.req   move <file>, which the program left in the control folder, into the
#                     shots folder (a page it wrote, say, for a picture taken outside)
# With --routed, for the routed network below:
#   gateway-off.req   the gateway goes silent: it answers nothing and forwards nothing
#   provider-off.req  the same for the provider's router
#   host-off.req      the host stops answering ICMP echo requests (TCP ports stay closed)
#   host-tcp-only.req the host ignores echo requests, but a listener accepts TCP on 443
#   gateway-on.req, provider-on.req, host-on.req   each answers again (no listener)
#   gateway-mute.req  the gateway still forwards but never says that a time to live ran out
#                     (as many routers do): the hop answers nothing while later ones answer
#   portal-on.req     the gateway stands in for the host, as a captive portal or a
#                     transparent proxy does: it takes the host's address as its own, ignores
#                     echo requests, and a listener of its own accepts TCP on 443
#   portal-off.req    the gateway forwards to the host again
#   names-lost.req    the private hosts file forgets every mapped name and the name server
#                     (the gateway's address) drops every query: lookups fail after the
#                     resolver's own timeout
# With --servers, Linux tools on this side of the link, each against the host:
#   load-down-SECS.req, load-up-SECS.req
#                     iperf3 loads the link for SECS seconds (8 streams, from the host or
#                     to it); answered as soon as it started
#   load-wait.req     waits for that load to end; load-wait.done holds the goodput the
#                     receiving side saw, in kbit/s (empty when iperf3 failed)
#   ping-start.req    Linux ping sends an echo request every 0.2 s
#   ping-stop.req     stops it; ping-stop.done holds each round trip in ms, one a line
#   connections.req   connections.done holds how many TCP connections this side holds open
#                     to the host (established, being opened, or closed by the host alone),
#                     iperf3's left out
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
wine_dir=/usr/lib/wine
wine="$wine_dir/wine64"
wineserver="$wine_dir/wineserver"
cache=${ZV_WINE_TEMPLATE:-$repo/build/wine-template}

usage() {
    cat <<'EOF'
usage: sandbox.sh [options] [--] PROGRAM.exe [ARGS...]
  --release NAME      emulated Windows release: win98 winme nt40 win2k winxp win2003 win7 win10
                      (default winxp)
  --app DIR           copy DIR into "C:\Program Files\Zorvane" (its path is in %ZV_APP_DIR%)
  --host NAME=ADDR    map a host name in the private hosts file (repeatable)
  --silent-echo       start with ICMP echo requests ignored
  --silent-names      a name server that never answers: a name missing from the hosts file
                      waits out the resolver's whole timeout (2 tries of 5 s)
  --routed            a small routed network of the sandbox's own, every address private:
                      this namespace 10.19.1.2 -> gateway 10.19.1.1 (forwards) ->
                      provider 10.19.2.2 (forwards) -> host 10.19.3.2, each a namespace
                      of the run joined by veth pairs; the default route is the gateway
  --shaped KIND       the customer link (gateway - provider) runs at 10 Mbit/s each way with
                      a plain FIFO of bytes at its bottleneck: "bloated" holds 500000 bytes
                      (about 400 ms at 10 Mbit/s), "managed" 12500 (about 10 ms), or a
                      number of bytes; implies --routed
  --servers           the host runs a web server on port 80 and, under a certificate for
                      *.zorvane.test from a test authority the run trusts, on 443
                      (tools/nq-server.conf: the responsiveness test's URLs), the same
                      names under an untrusted certificate on 8443, and an iperf3 server;
                      implies --routed
  --linux             PROGRAM is a Linux command run on this side of the network instead
                      of a Windows program under Wine (for checks of the network itself)
  --lo-mtu N          set the loopback MTU to N, so packets larger than N must be split
  --drop-fragments    never reassemble split packets: one larger than the loopback MTU is
                      lost, as on a path whose router drops it without a word
  --shot FILE.png     save a screenshot of the display when the program ends
  --shots DIR         folder for screenshots the program asks for (default build/shots)
  --screen            show the windows on $DISPLAY when there is one, else use Xvfb
  --dpi N             logical DPI of the emulated screen (default 96)
  --screen-size WxH   size of the emulated screen in pixels (default 1280x960)
  --timeout SECS      end the run after SECS seconds (default 300)
  --for SECS          let the program run SECS seconds, then take the --shot and end it (exit 0)
  --name NAME         a name for this run's folder and screenshots
  --prepare           only make the cached prefix template
EOF
}

release=winxp app="" hosts=() silent=0 silent_names=0 routed=0 shaped="" servers=0 linux=0 lo_mtu="" drop_fragments=0 shot="" screen=0 timeout=300 name=run prepare=0 dpi=96 screen_size=1280x960
run_for=""
shots="$repo/build/shots"
while [ $# -gt 0 ]; do
    case "$1" in
        --release) release=$2; shift 2 ;;
        --app) app=$2; shift 2 ;;
        --host) hosts+=("$2"); shift 2 ;;
        --silent-echo) silent=1; shift ;;
        --silent-names) silent_names=1; shift ;;
        --routed) routed=1; shift ;;
        --shaped) shaped=$2; routed=1; shift 2
            [[ "$shaped" =~ ^(bloated|managed|[1-9][0-9]*)$ ]] ||
                { echo "sandbox: --shaped takes bloated, managed or a number of bytes" >&2; exit 2; } ;;
        --servers) servers=1; routed=1; shift ;;
        --linux) linux=1; shift ;;
        --lo-mtu) lo_mtu=$2; shift 2 ;;
        --drop-fragments) drop_fragments=1; shift ;;
        --shot) shot=$2; shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        --screen) screen=1; shift ;;
        --dpi) dpi=$2; shift 2 ;;
        --screen-size) screen_size=$2; shift 2 ;;
        --timeout) timeout=$2; shift 2 ;;
        --for) run_for=$2; shift 2 ;;
        --name) name=$2; shift 2 ;;
        --prepare) prepare=1; shift ;;
        --inside) shift; break ;;
        -h|--help) usage; exit 0 ;;
        --) shift; break ;;
        -*) echo "sandbox: unknown option $1" >&2; usage >&2; exit 2 ;;
        *) break ;;
    esac
done

wine_env() {
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    export WINEARCH=win64
}

# Starts Xvfb on a free display and exports DISPLAY; its pid goes to xvfb_pid.
start_xvfb() {
    local fd_file
    fd_file=$(mktemp)
    Xvfb -displayfd 1 -nolisten tcp -screen 0 "${screen_size}x24" -dpi "$dpi" >"$fd_file" 2>/dev/null &
    xvfb_pid=$!
    # Alone it answers in a tenth of a second; beside other runs starting at once it may take
    # longer than the five seconds this once allowed, and the programs would then run with no
    # display at all, which no run says. Not starting at all is said.
    for _ in $(seq 600); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    if ! [ -s "$fd_file" ]; then
        echo "sandbox: $name: Xvfb did not start within 30 s" >&2
        rm -f "$fd_file"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fd_file")"
    rm -f "$fd_file"
}

make_template() {
    local tmp="$cache.tmp.$$"
    rm -rf "$tmp"
    mkdir -p "$tmp/home"
    (
        export WINEPREFIX="$tmp/prefix" HOME="$tmp/home"
        wine_env
        start_xvfb
        "$wine" wineboot -i >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        "$wineserver" -w
        kill "$xvfb_pid" 2>/dev/null || true
    )
    # Wine links the user's Desktop, Documents and the like to $HOME, here a folder of this
    # one run: made real folders of the prefix, the shell's namespace (and with it the file
    # dialogs) works in every copy.
    find "$tmp/prefix/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
        rm "$link" && mkdir "$link"
    done
    rm -rf "$cache"
    mv "$tmp" "$cache"
}

ensure_template() {
    mkdir -p "$(dirname "$cache")"
    exec 9>"$cache.lock"
    flock 9
    if [ ! -f "$cache/prefix/system.reg" ]; then
        echo "sandbox: making the Wine prefix template (once)" >&2
        unshare -n -- bash -c "ip link set lo up; $(declare -f wine_env start_xvfb make_template);
            wine='$wine' wineserver='$wineserver' cache='$cache' dpi=96 \
            screen_size=1280x960 name=template make_template"
    fi
    flock -u 9
}

# Everything below --inside runs in the private network and mount namespaces.
inside() {
    local run=$1; shift
    ip link set lo up
    [ -n "$lo_mtu" ] && ip link set lo mtu "$lo_mtu"
    # A zero reassembly limit makes the kernel drop every fragment it receives.
    [ "$drop_fragments" = 1 ] &&
        sysctl -qw net.ipv4.ipfrag_low_thresh=0 net.ipv4.ipfrag_high_thresh=0
    {
        echo "127.0.0.1 localhost"
        echo "::1 localhost"
        for h in "${hosts[@]+"${hosts[@]}"}"; do echo "${h#*=} ${h%%=*}"; done
    } >"$run/hosts"
    mount --bind "$run/hosts" /etc/hosts
    sysctl -qw net.ipv4.icmp_echo_ignore_all="$silent"
    [ "$routed" = 1 ] && make_routed_network "$run"
    [ -n "$shaped" ] && shape_customer_link "$shaped"
    [ "$servers" = 1 ] && start_servers "$run"
    [ "$silent_names" = 1 ] && silence_name_server "$run"
    if [ "$linux" = 1 ]; then
        export -f link_load goodput_of
        cd "$run" && timeout --kill-after=5 "$timeout" "$@"
        return
    fi

    mkdir -p "$run/prefix" "$run/upper" "$run/work"
    mount -t overlay overlay \
        -o "lowerdir=$cache/prefix,upperdir=$run/upper,workdir=$run/work" "$run/prefix"
    export WINEPREFIX="$run/prefix" HOME="$run/home"
    mkdir -p "$HOME"
    wine_env

    if [ "$screen" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        xvfb_pid=""
    else
        start_xvfb
    fi

    local app_win='C:\Program Files\Zorvane'
    if [ -n "$app" ]; then
        mkdir -p "$WINEPREFIX/drive_c/Program Files/Zorvane"
        cp -r "$app"/. "$WINEPREFIX/drive_c/Program Files/Zorvane/"
    fi
    mkdir -p "$run/ctl" "$shots"
    export ZV_APP_DIR="$app_win" ZV_CTL_DIR="Z:${run//\//\\}\\ctl" ZV_RUN_NAME="$name"
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES"

    "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$release" /f >/dev/null 2>&1
    if [ "$dpi" != 96 ]; then
        "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
    fi

    app_folder="$WINEPREFIX/drive_c/Program Files/Zorvane"
    serve_requests "$run/ctl" &
    local server_pid=$!

    local rc=0
    if [ -n "$run_for" ]; then
        timeout --kill-after=5 "$timeout" "$wine" "$@" &
        local pid=$!
        for _ in $(seq $((run_for * 10))); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        [ -n "$shot" ] && screenshot "$shot" && shot=""
        "$wineserver" -k 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    else
        run_program "$@" || rc=$?
        if [ $rc = 124 ]; then
            echo "sandbox: $name timed out after ${timeout}s" >&2
        elif [ $rc != 0 ]; then
            echo "sandbox: $name: the program ended with exit code $rc" >&2
        fi
    fi

    [ -n "$shot" ] && screenshot "$shot"
    kill "$server_pid" 2>/dev/null || true
    # A locked folder could not be removed with the run.
    if [ -d "$app_folder" ]; then chattr -i "$app_folder" 2>/dev/null || true; fi
    "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    return $rc
}

# Runs the program under the run's bound. Wine's own server has been seen to go away in the
# first second of a run, before the program did anything ("wine client error: ...
# Connection reset by peer"); such a run is said and made once more. Any other failure, or
# one later in the run, stands.
run_program() {
    local started=$SECONDS rc=0
    # Wine's own processes hold the copy of the error stream open until the run's end, so
    # its copy is read after a moment rather than waited for.
    timeout --kill-after=5 "$timeout" "$wine" "$@" 2> >(tee "$run/stderr" >&2) || rc=$?
    if [ $rc != 0 ] && [ $((SECONDS - started)) -lt 5 ] && sleep 0.5 &&
        grep -q '^wine client error' "$run/stderr" 2>/dev/null; then
        echo "sandbox: $name: Wine's server went away as the program started; once more" >&2
        rc=0
        timeout --kill-after=5 "$timeout" "$wine" "$@" || rc=$?
    fi
    return $rc
}

# Xvfb leaves the later top-level windows out of an image of the root window (they come
# out black), so each viewable top-level window is captured on its own and laid over the
# root image, bottom of the stack first.
screenshot() {
    local out=$1 layers id geometry
    layers=$(mktemp -d)
    mkdir -p "$(dirname "$out")"
    local args=("$layers/root.png")
    xwd -root -silent | convert xwd:- "$layers/root.png" 2>/dev/null
    for id in $(xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}' | tac); do
        geometry=$(xwininfo -id "$id" | awk '
            /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
            /Width:/ {w=$NF} /Height:/ {h=$NF} /Map State:/ {m=$NF}
            END {if (m == "IsViewable" && w > 1 && h > 1) print "+" x "+" y}')
        [ -n "$geometry" ] || continue
        xwd -id "$id" -silent 2>/dev/null | convert xwd:- "$layers/$id.png" 2>/dev/null &&
            args+=(-page "$geometry" "$layers/$id.png")
    done
    convert "${args[@]}" -background black -flatten "$out" 2>/dev/null ||
        echo "sandbox: screenshot failed" >&2
    rm -rf "$layers"
}

# The namespaces are made inside this run's own network namespace, which has no link to the
# machine's: their veth pairs join only one another, so a packet can go no further than the
# host's namespace. Their names live in a /run/netns private to the run's mount namespace.
make_routed_network() {  # RUN_FOLDER
    local run=$1 ns
    mkdir -p /run/netns
    mount -t tmpfs netns /run/netns
    for ns in gateway provider host; do
        ip netns add "$ns"
        ip -n "$ns" link set lo up
    done
    ip link add companion type veth peer name lan netns gateway
    ip -n gateway link add wan type veth peer name customer netns provider
    ip -n provider link add site type veth peer name uplink netns host
    address "" companion 10.19.1.2/24
    address gateway lan 10.19.1.1/24
    address gateway wan 10.19.2.1/24
    address provider customer 10.19.2.2/24
    address provider site 10.19.3.1/24
    address host uplink 10.19.3.2/24
    ip route add default via 10.19.1.1
    ip -n gateway route add default via 10.19.2.2
    # The provider's router knows the two networks beside it and no default route.
    ip -n provider route add 10.19.1.0/24 via 10.19.2.1
    ip -n host route add default via 10.19.3.1
    # A name missing from the private hosts file is refused at once on loopback, rather than
    # asked of the machine's name server, now that a route leads away from loopback.
    echo "nameserver 127.0.0.1" >"$run/resolv.conf"
    mount --bind "$run/resolv.conf" /etc/resolv.conf
    for ns in gateway provider; do ip netns exec "$ns" sysctl -qw net.ipv4.ip_forward=1; done
}

# Each direction of the customer link leaves through an HTB class of 10 Mbit/s whose only
# queue is a byte FIFO of the given size, as in a modem or router with a fixed buffer: a
# full buffer of B bytes holds a packet back B * 8 / 10^7 s. The veths queue nothing of
# their own (they have no qdisc), and with segmentation and coalescing off each packet is
# one frame of the link's size, so the FIFO is the only queue that fills and its limit
# counts real packets.
shape_customer_link() {  # bloated|managed|BYTES
    local bytes=$1 ns dev
    case "$1" in
        bloated) bytes=500000 ;;
        managed) bytes=12500 ;;
    esac
    for ns in "" gateway provider host; do
        for dev in $(ip ${ns:+-n "$ns"} -o link show type veth | awk -F'[ :@]+' '{print $2}'); do
            in_namespace "$ns" ethtool -K "$dev" tso off gso off gro off
        done
    done
    # Loss-based congestion control, as Windows and most servers use, fills a buffer; the
    # machine's own default may be one that keeps queues short on purpose (BBR). Reno, since
    # a namespace may only take an algorithm the machine allows for everyone (iperf3 asks
    # for CUBIC on its own sockets).
    for ns in "" host; do
        in_namespace "$ns" sysctl -qw net.ipv4.tcp_congestion_control=reno
    done
    for dev in gateway/wan provider/customer; do
        ns=${dev%/*} dev=${dev#*/}
        tc -n "$ns" qdisc add dev "$dev" root handle 1: htb default 10
        tc -n "$ns" class add dev "$dev" parent 1: classid 1:10 htb rate 10mbit ceil 10mbit
        tc -n "$ns" qdisc add dev "$dev" parent 1:10 handle 10: bfifo limit "$bytes"
    done
}

# A test authority of the run's own, trusted inside the run only: the machine's list of
# trusted roots with it added is mounted over the list, from which Wine makes its root
# store. It signs the host's certificate for *.zorvane.test; a second certificate for the
# same names is signed by itself, so nothing trusts it.
make_certificates() {  # FOLDER
    local tls=$1 names="subjectAltName=DNS:*.zorvane.test,IP:10.19.3.2"
    local key=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2)
    mkdir -p "$tls"
    openssl req -x509 "${key[@]}" -keyout "$tls/ca.key" -out "$tls/ca.pem" \
        -subj "/CN=Zorvane sandbox test authority" 2>/dev/null
    openssl req "${key[@]}" -keyout "$tls/host.key" -out "$tls/host.csr" \
        -subj "/CN=nq.zorvane.test" 2>/dev/null
    openssl x509 -req -in "$tls/host.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" \
        -CAcreateserial -days 2 -out "$tls/host.pem" 2>/dev/null \
        -extfile <(printf '%s\nextendedKeyUsage=serverAuth\n' "$names")
    openssl req -x509 "${key[@]}" -keyout "$tls/self.key" -out "$tls/self.pem" \
        -subj "/CN=nq.zorvane.test" -addext "$names" 2>/dev/null
    cat /etc/ssl/certs/ca-certificates.crt "$tls/ca.pem" >"$tls/roots.crt"
    mount --bind "$tls/roots.crt" /etc/ssl/certs/ca-certificates.crt
}

# nginx serves tools/nq-server.conf from the host's namespace, its files in the run's folder
# (the large download a sparse file), over HTTP on port 80 and HTTPS on 443 (and on 8443
# with the certificate nothing trusts); an iperf3 server waits beside it.
start_servers() {  # RUN_FOLDER
    local web="$1/web"
    mkdir -p "$web/nq" "$web/logs"
    truncate -s 8G "$web/nq/large"
    make_certificates "$web/tls"
    local tls="ssl_certificate $web/tls/host.pem; ssl_certificate_key $web/tls/host.key;"
    {
        echo "user root; daemon off; pid $web/nginx.pid; error_log $web/logs/error.log;"
        echo "events {} http { access_log off; sendfile on;"
        sed -e "s|/srv/nq|$web/nq|" -e "s|listen 80;|listen 80; listen 443 ssl; $tls|" \
            "$here/nq-server.conf"
        echo "server { listen 8443 ssl; ssl_certificate $web/tls/self.pem;"
        echo "    ssl_certificate_key $web/tls/self.key; return 200; } }"
    } >"$web/nginx.conf"
    ip netns exec host nginx -p "$web" -c "$web/nginx.conf" &
    ip netns exec host iperf3 --server --daemon --logfile "$web/logs/iperf3.log"
    wait_for_listener 80
    wait_for_listener 443
    wait_for_listener 8443
    wait_for_listener 5201
}

# The questions reach the name server's address and are dropped there unanswered: no
# refusal, no unreachable port, so the resolver waits for each as for a dead server.
silence_name_server() {  # RUN_FOLDER
    printf 'nameserver 127.0.0.53\noptions timeout:5 attempts:2\n' >"$1/resolv.conf"
    mount --bind "$1/resolv.conf" /etc/resolv.conf
    iptables -A INPUT -i lo -d 127.0.0.53 -p udp --dport 53 -j DROP
    iptables -A INPUT -i lo -d 127.0.0.53 -p tcp --dport 53 -j DROP
}

# Loads the customer link from this side, as a busy download or upload does: eight CUBIC
# flows, whose losses each take back a small share, keep a large buffer nearly full. The
# summary (iperf3 -f k) goes to the standard output.
link_load() {  # down|up SECONDS
    local reverse=""
    [ "$1" = down ] && reverse=--reverse
    iperf3 --client 10.19.3.2 --parallel 8 --congestion cubic --time "$2" --format k $reverse
}

goodput_of() {  # < iperf3 -f k summary; prints the receiver's kbit/s
    awk '/SUM.*receiver/ {print $6}'
}

in_namespace() {  # NAMESPACE COMMAND... ("" is this namespace)
    if [ -n "$1" ]; then ip netns exec "$@"; else shift; "$@"; fi
}

address() {  # NAMESPACE DEVICE ADDRESS/PREFIX ("" is this namespace)
    ip ${1:+-n "$1"} addr add "$3" dev "$2"
    ip ${1:+-n "$1"} link set "$2" up
}

# A router goes silent as a dead one: every route but to its own addresses leads nowhere, so
# it forwards nothing and sends nothing back, neither echo replies nor TTL-expired notes.
silence_router() {  # NAMESPACE off|on
    ip -n "$1" rule del pref 10 2>/dev/null || true
    [ "$2" = on ] || ip -n "$1" rule add pref 10 blackhole
}

wait_for_listener() {  # PORT [NAMESPACE]
    for _ in $(seq 100); do
        [ -n "$(ip netns exec "${2:-host}" ss -Hltn "sport = :$1")" ] && return
        sleep 0.05
    done
}

# A listener on 443 in the namespace, in the background; the kernel completes each
# handshake on the listening socket, so nothing needs to be accepted.
listen_443() {  # NAMESPACE
    ip netns exec "$1" perl -MIO::Socket::INET -e \
        'my $s = IO::Socket::INET->new(LocalPort => 443, Listen => 128) or die; sleep' &
}

portal() {  # on|off; the listener's pid goes to portal_pid
    [ -n "$portal_pid" ] && { kill "$portal_pid" 2>/dev/null || true; }
    portal_pid=""
    ip -n gateway addr del 10.19.3.2/32 dev lo 2>/dev/null || true
    ip netns exec gateway sysctl -qw net.ipv4.icmp_echo_ignore_all="$([ "$1" = on ] && echo 1 || echo 0)"
    if [ "$1" = on ]; then
        ip -n gateway addr add 10.19.3.2/32 dev lo
        listen_443 gateway
        portal_pid=$!
        wait_for_listener 443 gateway
    fi
}

# Both files are bind mounts: they are written in place, never replaced.
lose_names() {  # RUN_FOLDER
    echo "127.0.0.1 localhost" >"$1/hosts"
    printf 'nameserver 10.19.1.1\noptions timeout:3 attempts:1\n' >"$1/resolv.conf"
    ip netns exec gateway iptables -A INPUT -p udp --dport 53 -j DROP
    ip netns exec gateway iptables -A INPUT -p tcp --dport 53 -j DROP
}

# iperf3 from this side; its summary goes to load.out. Upload loads send to the host.
start_load() {  # CTL_FOLDER down|up SECONDS; the client's pid goes to load_pid
    link_load "$2" "$3" >"$1/load.out" 2>&1 &
    load_pid=$!
}

# The goodput the receiver saw over the whole run, in kbit/s.
load_goodput() {  # CTL_FOLDER
    [ -n "$load_pid" ] && { wait "$load_pid" || true; }
    load_pid=""
    goodput_of <"$1/load.out"
}

# The round trips of the ping run, in ms, one a line.
stop_ping() {  # CTL_FOLDER
    [ -n "$ping_pid" ] && { kill -INT "$ping_pid" 2>/dev/null || true; wait "$ping_pid" || true; }
    ping_pid=""
    sed -n 's/.* time=\([0-9.]*\) ms.*/\1/p' "$1/ping.out"
}

serve_requests() {
    local ctl=$1 req base listener="" portal_pid="" load_pid="" ping_pid="" direction seconds
    while true; do
        for req in "$ctl"/*.req; do
            [ -e "$req" ] || continue
            base=$(basename "$req" .req)
            case "$base" in
                shot-*) screenshot "$shots/${base#shot-}.png" ;;
                echo-off) sysctl -qw net.ipv4.icmp_echo_ignore_all=1 ;;
                echo-on) sysctl -qw net.ipv4.icmp_echo_ignore_all=0 ;;
                gateway-off | provider-off) silence_router "${base%-off}" off ;;
                gateway-on | provider-on) silence_router "${base%-on}" on ;;
                host-off | host-on | host-tcp-only)
                    [ -n "$listener" ] && { kill "$listener" 2>/dev/null || true; }
                    listener=""
                    ip netns exec host sysctl -qw \
                        net.ipv4.icmp_echo_ignore_all="$([ "$base" = host-on ] && echo 0 || echo 1)"
                    if [ "$base" = host-tcp-only ]; then
                        listen_443 host
                        listener=$!
                        wait_for_listener 443
                    fi ;;
                gateway-mute) ip netns exec gateway iptables -A OUTPUT -p icmp \
                    --icmp-type time-exceeded -j DROP ;;
                portal-on | portal-off) portal "${base#portal-}" ;;
                names-lost) lose_names "$(dirname "$ctl")" ;;
                load-down-* | load-up-*) IFS=- read -r _ direction seconds <<<"$base"
                    start_load "$ctl" "$direction" "$seconds" ;;
                load-wait) load_goodput "$ctl" >"$ctl/$base.tmp" ;;
                ping-start) ping -n -i 0.2 10.19.3.2 >"$ctl/ping.out" 2>&1 &
                    ping_pid=$! ;;
                ping-stop) stop_ping "$ctl" >"$ctl/$base.tmp" ;;
                connections) ss -Htn state established state syn-sent state close-wait \
                    '( dst 10.19.3.2 and dport != :5201 )' | wc -l >"$ctl/$base.tmp" ;;
                lock-app) chattr +i "$app_folder" ;;
                unlock-app) chattr -i "$app_folder" ;;
                icmp-stats) grep '^Icmp:' /proc/net/snmp >"$ctl/$base.tmp" ;;
                keep-*) mv "$ctl/${base#keep-}" "$shots/${base#keep-}" ;;
            esac || true  # a request that failed is answered all the same, and the next served
            # The request goes before its answer appears, whole and at once: a driver that
            # asks the same again as soon as it sees the answer must find neither this
            # request's removal nor an empty answer coming after its new one.
            rm -f "$req"
            if [ -e "$ctl/$base.tmp" ]; then
                mv "$ctl/$base.tmp" "$ctl/$base.done"
            else
                touch "$ctl/$base.done"
            fi
        done
        sleep 0.05
    done
}

if [ "${ZV_SANDBOX_INSIDE:-}" = 1 ]; then
    inside "$@"
    exit $?
fi

[ "$linux" = 1 ] || ensure_template
[ "$prepare" = 1 ] && exit 0
[ $# -gt 0 ] || { usage >&2; exit 2; }

mkdir -p "$repo/build/sandbox"
run=$(mktemp -d "$repo/build/sandbox/$name.XXXXXX")
trap 'rm -rf "$run"' EXIT
args=(--release "$release" --timeout "$timeout" --name "$name" --shots "$shots" --dpi "$dpi"
      --screen-size "$screen_size")
[ -n "$app" ] && args+=(--app "$(cd "$app" && pwd)")
for h in "${hosts[@]+"${hosts[@]}"}"; do args+=(--host "$h"); done
[ "$silent" = 1 ] && args+=(--silent-echo)
[ "$silent_names" = 1 ] && args+=(--silent-names)
[ "$routed" = 1 ] && args+=(--routed)
[ -n "$shaped" ] && args+=(--shaped "$shaped")
[ "$servers" = 1 ] && args+=(--servers)
[ "$linux" = 1 ] && args+=(--linux)
[ -n "$lo_mtu" ] && args+=(--lo-mtu "$lo_mtu")
[ "$drop_fragments" = 1 ] && args+=(--drop-fragments)
[ -n "$shot" ] && args+=(--shot "$(realpath -m "$shot")")
[ "$screen" = 1 ] && args+=(--screen)
[ -n "$run_for" ] && args+=(--for "$run_for")
# The run has its own process namespace: when its first process ends, the kernel ends every
# process of the run with it, so nothing outlives a run that is stopped from outside.
# Runs started at the same moment (ctest starts five at once) failed in ways no run alone
# shows: a companion whose window never came, Wine's server gone in the first second, a run
# that printed nothing. Each run now starts two seconds after the one before it.
exec 9>"$repo/build/sandbox/.starting"
flock -w 120 9 || true
ZV_SANDBOX_INSIDE=1 unshare -n -m -p -f --mount-proc -- "$0" "${args[@]}" --inside "$run" "$@" \
    2> >(grep -v --line-buffered "sigprocmask" >&2) 9>&- &
unshare_pid=$!
sleep 2
flock -u 9
exec 9>&-
stop_run() {
    pkill -KILL -P "$unshare_pid" 2>/dev/null || true
    wait "$unshare_pid" 2>/dev/null || true
    exit 143
}
trap stop_run TERM INT HUP
rc=0
wait "$unshare_pid" || rc=$?
exit $rc
