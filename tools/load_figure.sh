#!/bin/sh
# The load figures of the online server, wrk on loopback: the hot page of one phrase (cached),
# the API, mixed verbs (every request another verb of the development list, cache off) with
# the built-in lists and with --verb-lists, the hot page and mixed verbs with 1,000
# connections; then nginx serving one saved copy of the page as a static file. Prints each
# rate with its errors and non-2xx answers, and the ratio hot page / nginx.
#   tools/load_figure.sh [build/beugwerk] [PHRASE]     DURATION=5s for a quick run
set -eu
program=${1:-build/beugwerk}
phrase=${2:-sich anziehen}
duration=${DURATION:-15s}
lists=${VERB_LISTS:-data/Beugwerk.VLX}
verbs=${VERBS:-../shared/reference/verbs-dev.tsv}
port_app=18641
port_nginx=18081
work=$(mktemp -d)
chmod 755 "$work"  # nginx workers read as another user
app_pid=
trap '[ -n "$app_pid" ] && kill $app_pid 2>/dev/null; [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null; sleep 0.3; rm -rf "$work"' EXIT
ulimit -n 4096 2>/dev/null || true

urlencode() { python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' "$1"; }
query=$(urlencode "$phrase")
page="/beugwerkde/verbformen-deutsch.htm"

# The verbs, percent-encoded, one a line; the script picks one per request.
tail -n +2 "$verbs" | cut -f1 | python3 -c '
import sys, urllib.parse
for line in sys.stdin:
    print(urllib.parse.quote(line.strip(), safe=""))' > "$work/verbs.txt"
cat > "$work/mixed.lua" <<LUA
local verbs = {}
for line in io.lines("$work/verbs.txt") do verbs[#verbs + 1] = line end
local n = 0
function init(args) n = math.random(#verbs) end
function request()
  n = n % #verbs + 1
  return wrk.format("GET", "$page?infi=" .. verbs[n])
end
LUA

serve() {  # serve ARGS...: (re)start the server
  [ -n "$app_pid" ] && { kill $app_pid; wait $app_pid 2>/dev/null || true; }
  "$program" "$@" serve --port $port_app 2>/dev/null &
  app_pid=$!
  sleep 0.7
}
run() {  # run NAME CONNECTIONS URL [SCRIPT]
  name=$1 c=$2 url=$3
  shift 3
  out=$(wrk -t2 -c"$c" -d"$duration" "$@" "$url")
  rate=$(echo "$out" | awk '/Requests\/sec/ {print $2}')
  errors=$(echo "$out" | awk '/Socket errors/ {print $0}')
  non2xx=$(echo "$out" | awk '/Non-2xx/ {print $NF}')
  printf '%-34s %10s req/s  non-2xx: %s  %s\n' "$name (-c$c)" "$rate" "${non2xx:-0}" "${errors:-errors: 0}"
  eval "rate_$(echo "$name $c" | tr -c 'a-z0-9\n' '_')=$rate"
}

app="http://127.0.0.1:$port_app"
serve
run "hot page" 64 "$app$page?infi=$query"
run "API" 64 "$app/api/v1/conjugate?infi=$query"
run "hot page" 1000 "$app$page?infi=$query"
serve --verb-lists "$lists"
run "hot page, --verb-lists" 64 "$app$page?infi=$query"
# Uncached: every request is generated.
[ -n "$app_pid" ] && { kill $app_pid; wait $app_pid 2>/dev/null || true; app_pid=; }
"$program" serve --port $port_app --cache-mib 0 2>/dev/null & app_pid=$!; sleep 0.7
run "mixed verbs" 64 "$app/" -s "$work/mixed.lua"
run "mixed verbs" 1000 "$app/" -s "$work/mixed.lua"
mixed_builtin=$rate_mixed_verbs_64
kill $app_pid; wait $app_pid 2>/dev/null || true
"$program" --verb-lists "$lists" serve --port $port_app --cache-mib 0 2>/dev/null & app_pid=$!; sleep 0.7
run "mixed verbs, --verb-lists" 64 "$app/" -s "$work/mixed.lua"
mixed_file=$rate_mixed_verbs____verb_lists_64
kill $app_pid; wait $app_pid 2>/dev/null || true; app_pid=

mkdir -p "$work/root/beugwerkde" "$work/tmp"
"$program" page --online "$phrase" > "$work/root/beugwerkde/page.htm"
cat > "$work/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 2048; }
http {
  access_log off;
  client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
  sendfile on;
  server { listen 127.0.0.1:$port_nginx; root $work/root; default_type "text/html; charset=UTF-8"; }
}
CONF
nginx -c "$work/nginx.conf" -p "$work"
sleep 0.5
run "nginx static copy" 64 "http://127.0.0.1:$port_nginx/beugwerkde/page.htm"
echo "hot page / nginx static: $(echo "$rate_hot_page_64 $rate_nginx_static_copy_64" | awk '{printf "%.2f", $1 / $2}')"
echo "mixed, --verb-lists / built-in: $(echo "$mixed_file $mixed_builtin" | awk '{printf "%.2f", $1 / $2}')"
