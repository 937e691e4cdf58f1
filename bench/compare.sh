#!/usr/bin/env bash
# Side-by-side: the launcher's engine against the physical limits and the tools a user would pick
# instead, end to end, on generated game data served over HTTPS on loopback by Debian's nginx.
# Prints each ratio against its goal. Needs about 4 GiB in the work folder, removed at the end.
# usage: bench/compare.sh [WORK-FOLDER-PARENT]   (default /var/tmp)
# The launcher fetches from its built-in demo address https://127.0.0.1:18441 (in a private network
# namespace, so a running demo server does not matter). Needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build=$repo/build/bench
port=18441
small_files=2000
big_mib=1024
medium_mib=100

# --- What the comparison needs: the build's packages, nginx, curl, GNU time. ---
bash scripts/install-deps.sh
need=()
for p in nginx-light curl time iproute2; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if ((${#need[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

cmake --preset bench >/dev/null
cmake --build "$build" -j "$(nproc)" --target vexmor-launcher vexmor-publish bench_check_tree bench_scene >/dev/null

# The measurements run in a network namespace of their own, so that the demo address is free even
# while a demo server listens on this machine's loopback, and nothing else shares the loopback.
if [ -z "${VEXMOR_COMPARE_NETNS:-}" ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  exec "${sudo_cmd[@]}" unshare --net env VEXMOR_COMPARE_NETNS=1 bash "$0" "$@"
fi
ip link set lo up

work=$(mktemp -d "${1:-/var/tmp}/vexmor-compare-XXXXXX")
chmod 755 "$work"  # nginx serves it from an unprivileged worker
nginx_pid=
cleanup() {
  if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2>/dev/null || true; wait "$nginx_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
# Arithmetic on decimal figures.
calc() { awk "BEGIN { printf \"%.3f\", $* }"; }
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? a : b) }'; }
# One line of the table: what, measured figure, goal, verdict.
results=()
row() {  # label figure goal pass(0/1)
  local verdict=PASS
  [ "$4" = 1 ] || verdict=MISS
  results+=("$(printf '%-58s %14s   %-22s %s' "$1" "$2" "$3" "$verdict")")
  echo "  -> $1: $2 (goal $3) $verdict"
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }' && echo 1 || echo 0; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }' && echo 1 || echo 0; }

# --- Deterministic game data. ---
# AES-128-CTR over zeros with a fixed key: the same bytes on every machine. Every 4 KiB block holds
# 1516 such bytes and zero padding, which gzip packs at about 2.7 : 1 like typical game data.
game_bytes() {  # seed count (a multiple of 4096)
  head -c "$(($2 / 4096 * 1516))" /dev/zero |
    openssl enc -aes-128-ctr -nosalt -K 5665786d6f7244656d6f576f726c6421 -iv "$(printf '%032x' "$1")" |
    perl -e 'binmode STDIN; binmode STDOUT; my $pad = "\0" x 2580;
             while (read(STDIN, my $block, 1516)) { print $block, $pad; }'
}

echo "== Generating data in $work"
small=$work/game-small
big=$work/game-big
mkdir -p "$small/Vexmor/Data" "$big/Vexmor/Data"
game_bytes 1 $((128 << 20)) >"$work/pool"
RANDOM=153
offset=0
for ((i = 0; i < small_files; i++)); do
  size=$((4096 + (RANDOM * 32768 + RANDOM) % (56 * 1024 + 1)))
  dir=$small/Vexmor/Data/d$((i % 40))
  mkdir -p "$dir"
  dd if="$work/pool" of="$dir/file$i.dat" bs=64K iflag=skip_bytes,count_bytes skip=$offset count=$size status=none
  offset=$((offset + size))
done
rm -f "$work/pool"
game_bytes 3 $((big_mib << 20)) >"$big/Vexmor/Data/world.pak"
game_bytes 4 $((medium_mib << 20)) >"$big/Vexmor/Data/music.pak"

echo "== Publishing"
for name in small big; do
  "$build/vexmor-publish" build --root "$work/game-$name" --out "$work/tree-$name" --game-version 2 \
    --key demo/keys/demo-signing-1.pem >/dev/null
done
rm -rf "$small" "$big"
world_gz=$work/tree-big/new_launcher/files/Vexmor/Data/world.pak.gz
echo "world.pak: $((big_mib << 20)) bytes, gzip $(stat -c %s "$world_gz") bytes, ratio" \
  "$(calc "$((big_mib << 20)) / $(stat -c %s "$world_gz")")"

echo "== Starting nginx on 127.0.0.1:$port"
mkdir -p "$work/nginx"
ln -sfn "$work/tree-small" "$work/serve"
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
error_log $work/nginx/error.log;
pid $work/nginx/nginx.pid;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  default_type application/octet-stream;
  keepalive_requests 100000;
  server {
    listen 127.0.0.1:$port ssl;
    ssl_certificate $repo/demo/tls/demo-server.pem;
    ssl_certificate_key $repo/demo/tls/demo-server.key;
    root $work/serve;
  }
}
CONF
"$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
for _ in $(seq 50); do curl -sf --cacert demo/tls/demo-ca.pem "https://127.0.0.1:$port/cdn_status.txt" >/dev/null && break; sleep 0.1; done
curl -sf --cacert demo/tls/demo-ca.pem "https://127.0.0.1:$port/cdn_status.txt" >/dev/null ||
  { cat "$work/nginx/error.log"; exit 1; }
base=https://127.0.0.1:$port/new_launcher/files
curl_tls=(--cacert "$repo/demo/tls/demo-ca.pem" -sS --fail)

# Runs the launcher headless in its folder; prints "seconds peak-KiB". Fails when the run fails.
run_launcher() {  # folder
  local start end
  start=$(now)
  /usr/bin/time -f '%M' -o "$1.rss" "$1/vexmor-launcher" --headless --yes >"$1.log" 2>&1 ||
    { echo "compare.sh: the launcher failed in $1:" >&2; tail -20 "$1.log" >&2; exit 1; }
  end=$(now)
  echo "$(calc "$end - $start") $(cat "$1.rss")"
}
new_install() {  # folder
  rm -rf "$1"
  mkdir -p "$1"
  cp "$build/vexmor-launcher" "$1/"
}
runs=3

echo "== Fresh install of $small_files small files"
install=$work/install-small
best_launcher=1e9
for ((r = 0; r < runs; r++)); do
  new_install "$install"
  result=$(run_launcher "$install")
  read -r seconds _ <<<"$result"
  best_launcher=$(min "$best_launcher" "$seconds")
done
cut -f1 "$work/tree-small/new_launcher/checksums.txt" >"$work/small.list"
: >"$work/curl.cfg"
while read -r path; do
  printf 'url = "%s/%s.gz"\noutput = "%s/%s.gz"\n' "$base" "$path" "$work/by-curl" "$path" >>"$work/curl.cfg"
done <"$work/small.list"
best_curl=1e9
best_gzip=1e9
for ((r = 0; r < runs; r++)); do
  rm -rf "$work/by-curl"
  start=$(now)
  curl "${curl_tls[@]}" --create-dirs -K "$work/curl.cfg"
  mid=$(now)
  while read -r path; do gzip -dc "$work/by-curl/$path.gz" >"$work/by-curl/$path"; done <"$work/small.list"
  end=$(now)
  best_curl=$(min "$best_curl" "$(calc "$mid - $start")")
  best_gzip=$(min "$best_gzip" "$(calc "$end - $mid")")
done
echo "launcher ${best_launcher}s; curl ${best_curl}s + gzip -dc ${best_gzip}s"
row "install: curl + gzip -dc time / launcher time" "$(calc "($best_curl + $best_gzip) / $best_launcher")" "> 1" \
  "$(awk -v a="$(calc "($best_curl + $best_gzip) / $best_launcher")" 'BEGIN { print (a > 1) }')"
per_file=$(calc "($best_launcher - $best_curl) * 1000 / $small_files")
row "install: launcher ms per file above curl's transfer" "$per_file" "<= 0.15" "$(below "$per_file" 0.1500001)"

echo "== Check against a plain 64 KiB read loop"
check_row() {  # label folder list prefix
  local out plain check
  out=$("$build/bench/bench_check_tree" "$2" "$3" "$4" 5)
  plain=$(awk '$1 == "plain_seconds" { print $2 }' <<<"$out")
  check=$(awk '$1 == "check_seconds" { print $2 }' <<<"$out")
  echo "$1: read loop ${plain}s, check ${check}s"
  row "check $1: read-loop time / check time" "$(calc "$plain / $check")" ">= 0.8" "$(at_least "$(calc "$plain / $check")" 0.8)"
}
check_row "$small_files small files" "$install" "$work/tree-small/new_launcher/checksums.txt" "Vexmor/Data/d"
rm -rf "$work/by-curl" "$work/tree-small"

echo "== Update of one ${big_mib} MiB file"
ln -sfn "$work/tree-big" "$work/serve"
install=$work/install-big
new_install "$install"
run_launcher "$install" >/dev/null
check_row "one ${big_mib} MiB file" "$install" "$work/tree-big/new_launcher/checksums.txt" "Vexmor/Data/world.pak"

# The installed file becomes an older version: same size, other contents, so the check reads it
# whole. Without a recorded game version the launcher checks every file.
outdate() {  # install file
  printf 'older version' | dd of="$1/$2" bs=1 seek=4096 conv=notrunc status=none
  rm -f "$1/Launcher.ini"
}
best_launcher=1e9
for ((r = 0; r < runs; r++)); do
  outdate "$install" Vexmor/Data/world.pak
  result=$(run_launcher "$install")
  read -r seconds rss <<<"$result"
  best_launcher=$(min "$best_launcher" "$seconds")
done
rss_big=$rss
best_pipe=1e9
for ((r = 0; r < runs; r++)); do
  start=$(now)
  curl "${curl_tls[@]}" "$base/Vexmor/Data/world.pak.gz" | tee >(sha256sum >"$work/world.sum") | gzip -dc >"$work/world.pak"
  end=$(now)
  best_pipe=$(min "$best_pipe" "$(calc "$end - $start")")
done
rm -f "$work/world.pak"
echo "launcher ${best_launcher}s; curl | tee >(sha256sum) | gzip -dc ${best_pipe}s"
row "update ${big_mib} MiB: pipeline time / launcher time" "$(calc "$best_pipe / $best_launcher")" ">= 1.5" \
  "$(at_least "$(calc "$best_pipe / $best_launcher")" 1.5)"

echo "== Peak resident memory of the launcher during an update"
outdate "$install" Vexmor/Data/music.pak
result=$(run_launcher "$install")
read -r _ rss_medium <<<"$result"
row "peak RSS, update of a ${medium_mib} MiB file (MiB)" "$(calc "$rss_medium / 1024")" "< 64" "$(below "$rss_medium" 65536)"
row "peak RSS, update of a ${big_mib} MiB file (MiB)" "$(calc "$rss_big / 1024")" "< 64" "$(below "$rss_big" 65536)"

echo "== The running launcher's window (Xvfb, 1920x1080)"
# The installation is current now: the window's update run ends quickly and the launcher idles.
exec 4>"$work/xvfb.display"
Xvfb -displayfd 4 -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/xvfb.display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/xvfb.display")
start=$(now)
"$install/vexmor-launcher" >"$work/window.log" 2>&1 &
launcher_pid=$!
# Polled every 10 ms: xdotool's own --sync waits half a second between looks.
for _ in $(seq 3000); do
  xdotool search --onlyvisible --pid "$launcher_pid" >/dev/null 2>&1 && break
  sleep 0.01
done
shown=$(now)
sleep 5
ticks() { awk '{ print $14 + $15 }' "/proc/$launcher_pid/stat"; }
t0=$(ticks)
sleep 10
t1=$(ticks)
kill "$launcher_pid" "$xvfb_pid"
wait "$launcher_pid" "$xvfb_pid" 2>/dev/null || true
idle=$(calc "($t1 - $t0) * 100 / $(getconf CLK_TCK) / 10")
row "window: idle CPU, % of one core" "$idle" "< 1" "$(below "$idle" 1)"
row "window: start to the window shown (ms)" "$(calc "($shown - $start) * 1000")" "reported" 1
compose=$("$build/bench/bench_scene" --benchmark_filter='BM_ComposeDownloadScene/1080' --benchmark_format=csv 2>/dev/null |
  awk -F, '/BM_ComposeDownloadScene/ { print $3 }')
row "window: compose one 1920x1080 frame (ms)" "$(calc "$compose")" "reported" 1

echo
echo "Results ($(nproc) CPUs, $(date -u +%Y-%m-%dT%H:%MZ))"
printf '%s\n' "${results[@]}"
