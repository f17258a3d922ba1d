# Shared by scripts/demo and scripts/memcheck: the demo installation on a
# throwaway server. Source it after setting root and build.

# The DNL functions the generator builds, and the demo terminals.
DNL_FUNCTIONS=(MGDNL17P MGDNL18P MGDNL31P MGDNL60P IDSTAMM)
DEMO_TERMINALS=(EINGANG-01 KANTINE-02 LAGER-03)

# start_demo SERVERDIR DEMODIR: starts the server (stopped on exit), loads
# db/demo.sql and writes an encrypted configuration file for the SELECT-only
# login into DEMODIR/files; the generator runs in DEMODIR/srv/preluxa.
start_demo() {
    local server=$1 demo=$2
    trap '"$root/scripts/db-server" stop "'"$server"'"' EXIT
    DEMO_SOCKET=$("$root/scripts/db-server" start "$server")
    export MYSQL_UNIX_PORT=$DEMO_SOCKET
    local sql=(mariadb --no-defaults --socket="$DEMO_SOCKET" -uroot)
    "${sql[@]}" -e 'DROP DATABASE IF EXISTS Orvadat'
    "${sql[@]}" <"$root/db/schema.sql"
    "${sql[@]}" <"$root/db/demo.sql"
    rm -rf "$demo"
    mkdir -p "$demo/files" "$demo/srv/preluxa" "$demo/out"
    echo "preluxa-ro" | "$build/preluxa-ini" write "$demo/files/querandol.ini" \
        preluxa_ro - localhost Orvadat
}

# run_generator DEMODIR FUNCTION TERMINAL [WRAPPER...]: builds one file into
# DEMODIR/out and returns the generator's exit status.
run_generator() {
    local demo=$1 function=$2 terminal=$3
    shift 3
    (cd "$demo/srv/preluxa" &&
        "$@" "$build/preluxa" "$function" "$terminal" "$demo/out/$terminal.$function" 1)
}
