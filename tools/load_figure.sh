#!/bin/sh
# The load figure of the online server: wrk against the served page of a phrase, then against
# nginx serving one saved copy of that page as a static file, both on loopback; prints both
# rates and their ratio. Needs wrk and nginx (not build or test dependencies).
#   tools/load_figure.sh [build/beugwerk] [PHRASE]
set -eu
program=${1:-build/beugwerk}
phrase=${2:-sich anziehen}
port_app=18641
port_nginx=18642
work=$(mktemp -d)
chmod 755 "$work"  # nginx workers read as another user
trap 'kill $app_pid 2>/dev/null || true; [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true; sleep 0.3; rm -rf "$work"' EXIT

query=$(printf '%s' "$phrase" | sed 's/ /%20/g')
"$program" serve --port $port_app --threads 64 2>/dev/null &
app_pid=$!
sleep 0.5
app=$(wrk -t2 -c64 -d10s "http://127.0.0.1:$port_app/beugwerkde/verbformen-deutsch.htm?infi=$query")
kill $app_pid; wait $app_pid 2>/dev/null || true

mkdir -p "$work/root/beugwerkde" "$work/tmp"
"$program" page --online "$phrase" > "$work/root/beugwerkde/page.htm"
cat > "$work/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 1024; }
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
static=$(wrk -t2 -c64 -d10s "http://127.0.0.1:$port_nginx/beugwerkde/page.htm")

echo "== beugwerk serve (generated per request)"; echo "$app"
echo "== nginx (static copy)"; echo "$static"
a=$(echo "$app" | awk '/Requests\/sec/ {print $2}')
s=$(echo "$static" | awk '/Requests\/sec/ {print $2}')
echo "ratio: $(echo "$a $s" | awk '{printf "%.2f", $1 / $2}')  ($a / $s requests per second)"
