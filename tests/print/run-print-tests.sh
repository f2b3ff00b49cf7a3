#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Runs the print test program against CUPS servers of its own: one whose default destination is a
# cups-pdf queue that writes into a private directory, with further queues beside it (Letter paper
# from the driver alone, A5 and DL paper, a printer that takes seconds per job, one that fails and
# stops), and one with a queue but no default. Every server is started here, in a private directory, listening only on its own local
# socket, and only the servers started here are stopped, by their process ids. The test's own
# backends live in a backend directory of this run's, which only its servers use.
#
# Usage: run-print-tests.sh <test program> [png of one printed page]
# Exit code 77 (skipped) when the machine cannot run a CUPS server with the cups-pdf backend.
set -eu

program=$1
page_png=${2:-}

PATH=$PATH:/usr/sbin:/sbin
export PATH

skip() {
    echo "skipped: $*"
    exit 77
}
command -v cupsd >/dev/null || skip "cupsd is not installed"
# cupsd runs a backend that only root may run (cups-pdf is mode 0700) as root, and only when
# it is root itself.
[ "$(id -u)" = 0 ] || skip "the cups-pdf backend needs a CUPS server started by root"
for tool in lpadmin lpstat cupsenable cupsdisable cupsaccept cupsreject pdftoppm pdfimages pdfinfo; do
    command -v $tool >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
server_bin=/usr/lib/cups
backend=$server_bin/backend/cups-pdf
[ -x $backend ] || { echo "missing: $backend (printer-driver-cups-pdf)" >&2; exit 1; }
ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)

work=$(mktemp -d "${TMPDIR:-/tmp}/lctune-print.XXXXXX")
# The filters run as the lp user and must reach the spool below.
chmod 755 "$work"
queue=lctune-pdf
# cups-pdf reads /etc/cups/cups-pdf-<name>.conf for a device URI cups-pdf:/<name>; the name is
# this run's own, so the file belongs to no other queue.
instance=lctune-$$
instance_conf=/etc/cups/cups-pdf-$instance.conf
# The system's programs for CUPS, but with a backend directory of this run's own, where the
# system's backends stand beside the test's.
own_bin=$work/server-bin
slow_backend=$own_bin/backend/lctune-slow
failing_backend=$own_bin/backend/lctune-failing
pids=

cleanup() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $pids; do
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$instance_conf"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# start_server <name>: a private cupsd listening on $work/<name>/socket.
start_server() {
    dir=$work/$1
    mkdir -p "$dir/etc" "$dir/log" "$dir/cache" "$dir/state" "$dir/spool/tmp"
    # What cupsd expects of its spool, which it will not create itself.
    chgrp lp "$dir/spool" "$dir/spool/tmp"
    chmod 0710 "$dir/spool"
    chmod 1770 "$dir/spool/tmp"
    cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $own_bin
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
Printcap $dir/printcap
CONF
    cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/socket
LogLevel debug
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" &
    pids="$pids $!"
}

# wait_for_server <name>: until lpstat says it runs (its exit code says nothing), for at most ten
# seconds.
wait_for_server() {
    tries=0
    until CUPS_SERVER=$work/$1/socket lpstat -r 2>/dev/null | grep -q 'is running'; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "the CUPS server $1 did not start:" >&2
            tail -n 40 "$work/$1/log/error_log" >&2 || true
            exit 1
        fi
        sleep 0.1
    done
}

# add_queue <server> <name> <device> [lpadmin options]: a queue with the cups-pdf driver,
# enabled and accepting jobs.
add_queue() {
    server=$1 name=$2 device=$3
    shift 3
    if [ -n "$ppd" ]; then
        driver="-P $ppd"
    else
        driver="-m $(CUPS_SERVER=$work/$server/socket lpinfo -m | grep -i 'cups-pdf' | head -n 1 | cut -d' ' -f1)"
    fi
    # shellcheck disable=SC2086
    CUPS_SERVER=$work/$server/socket lpadmin -p "$name" -v "$device" $driver -E "$@" 2>/dev/null
}

mkdir -p "$work/out" "$work/cups-pdf-spool" "$work/log" "$work/home" "$work/client"
# Label 1 puts the job number into every file name, so that two jobs of one title make two files.
cat >"$instance_conf" <<CONF
Out $work/out
AnonDirName $work/out
Spool $work/cups-pdf-spool
Log $work/log
Label 1
UserUMask 0022
Grp root
CONF

mkdir -p "$own_bin/backend"
for entry in "$server_bin"/*; do
    [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$own_bin/"
done
for entry in "$server_bin"/backend/*; do
    ln -s "$entry" "$own_bin/backend/"
done
# A printer that stays busy for seconds with each job, and one that fails every job.
cat >"$slow_backend" <<'SCRIPT'
#!/bin/sh
[ $# -eq 0 ] && { echo 'direct lctune-slow "Unknown" "LC Tune test: slow printer"'; exit 0; }
sleep 6
cat "${6:--}" >/dev/null
SCRIPT
cat >"$failing_backend" <<'SCRIPT'
#!/bin/sh
[ $# -eq 0 ] && { echo 'direct lctune-failing "Unknown" "LC Tune test: failing printer"'; exit 0; }
echo "ERROR: Paper jam in tray 2" >&2
exit 1
SCRIPT
chmod 755 "$slow_backend" "$failing_backend"

start_server full
start_server nodefault
wait_for_server full
wait_for_server nodefault
add_queue full $queue cups-pdf:/$instance
CUPS_SERVER=$work/full/socket lpadmin -d $queue
# The Letter queue states its paper only through its driver's default page size.
add_queue full lctune-letter cups-pdf:/$instance -o PageSize=Letter
add_queue full lctune-a5 cups-pdf:/$instance -o media-default=iso_a5_148x210mm
add_queue full lctune-dl cups-pdf:/$instance -o media-default=iso_dl_110x220mm
add_queue full lctune-slow "lctune-slow:/"
add_queue full lctune-failing "lctune-failing:/" -o printer-error-policy=stop-printer
add_queue nodefault $queue cups-pdf:/$instance

# The test program sees only these servers: no user or system lpoptions name another default but
# those that it writes into its own home and client directory. The locale's paper is the test's to
# set.
set +e
env -u LPDEST -u PRINTER -u LC_ALL -u LC_PAPER -u LC_MEASUREMENT LANG=C.UTF-8 \
    HOME="$work/home" CUPS_SERVERROOT="$work/client" \
    CUPS_SERVER="$work/full/socket" \
    LCTUNE_PRINT_QUEUE=$queue \
    LCTUNE_PRINT_OUT="$work/out" \
    LCTUNE_NO_DEFAULT_SERVER="$work/nodefault/socket" \
    LCTUNE_DEAD_SERVER="$work/dead/socket" \
    "$program"
status=$?
set -e
if [ $status -eq 0 ] && [ -n "$page_png" ]; then
    # The first page printed, as a reviewer would look at it.
    first=$(ls -tr "$work/out"/*.pdf | head -n 1)
    pdftoppm -r 150 -png -singlefile "$first" "${page_png%.png}"
    echo "printed page: $page_png"
fi
if [ $status -ne 0 ]; then
    for name in full nodefault; do
        echo "--- $name error_log (last lines)" >&2
        tail -n 40 "$work/$name/log/error_log" >&2 || true
    done
fi
exit $status
