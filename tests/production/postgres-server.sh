#!/usr/bin/env bash
# A private PostgreSQL server for the line-database tests, the way PostgreSQL's own regression
# suite runs a temporary installation: a fresh cluster in a temporary folder, on a free port of
# 127.0.0.1, trusted local connections only, thrown away after the tests.
#   postgres-server.sh start STATE-FILE   starts it; STATE-FILE gets its folder and its port
#   postgres-server.sh stop STATE-FILE    stops it and removes the folder
# PostgreSQL refuses to run as root: as root the server runs as the user "postgres" (made by
# the Debian package), owner of its folder.
set -euo pipefail

action=${1:?start or stop}
state=${2:?state file}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [[ -z $bin || ! -x $bin/pg_ctl ]]; then
    echo "no PostgreSQL server under /usr/lib/postgresql (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

as_owner=()
if [[ $(id -u) -eq 0 ]]; then
    as_owner=(runuser -u postgres --)
fi

stop_server() {
    [[ -f $state ]] || return 0
    local folder
    folder=$(sed -n 's/^folder=//p' "$state")
    if [[ -n $folder && -d $folder ]]; then
        "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1 || true
        rm -rf "$folder"
    fi
    rm -f "$state"
}

case $action in
    stop)
        stop_server
        exit 0 ;;
    start) ;;
    *)
        echo "usage: $0 start|stop STATE-FILE" >&2
        exit 2 ;;
esac

stop_server
started=$(date +%s%N)
folder=$(mktemp -d /tmp/vorle6-postgres.XXXXXX)
chmod 755 "$folder"
[[ ${#as_owner[@]} -gt 0 ]] && chown postgres: "$folder"
"${as_owner[@]}" "$bin/initdb" -D "$folder/data" -U vorle -A trust --no-sync -E UTF8 \
    --locale=C >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }

# Bash's /dev/tcp tells a port that something listens on; another program may still take the
# chosen one before the server does, so a failed start goes on to the next port.
for port in $(shuf -i 20000-60000 -n 20); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
    if "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-p $port -k $folder -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60" \
        start >/dev/null; then
        printf 'folder=%s\nport=%s\n' "$folder" "$port" >"$state"
        echo "PostgreSQL ($bin) on 127.0.0.1:$port in $folder," \
             "started in $(( ($(date +%s%N) - started) / 1000000 )) ms"
        exit 0
    fi
done
cat "$folder/server.log" >&2
rm -rf "$folder"
exit 1
