#!/bin/sh
# deploy/beugwerk-nginx.conf passes `nginx -t`: a copy with its cache in a temporary folder,
# inside a minimal main configuration.
set -eu
conf=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s|/var/cache/nginx/beugwerk|$work/cache|; s|listen 80;|listen 127.0.0.1:18083;|" "$conf" > "$work/beugwerk.conf"
cat > "$work/nginx.conf" <<CONF
pid $work/nginx.pid;
error_log $work/error.log;
events {}
http {
  access_log off;
  client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
  include $work/beugwerk.conf;
}
CONF
mkdir -p "$work/tmp"
nginx -t -q -c "$work/nginx.conf" -p "$work"
