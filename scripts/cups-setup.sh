#!/usr/bin/env bash
# Makes a CUPS queue that prints to PDF files, for the end-to-end printing
# test. Installs cups and cups-pdf when missing, starts the scheduler when it
# is not running (no service manager here: cupsd is run directly), adds the
# queue, and writes what the test needs to ENVFILE:
#   QUEUE=<queue name>  OUTDIR=<where cups-pdf writes this user's files>
#   DUPLEX_QUEUE=<queue printing two-sided, paper from the lower tray, by default>
#   LETTER_QUEUE=<queue whose default paper is Letter>
# or, when CUPS cannot be made ready, UNAVAILABLE=<reason>. Exits 0 either way
# so that a machine without CUPS only skips that test.
# Usage: cups-setup.sh ENVFILE
set -u
ENVFILE="${1:-build/release/cups-pdf.env}"
QUEUE="${BRP_CUPS_QUEUE:-BRP_PDF}"
mkdir -p "$(dirname "$ENVFILE")"
rm -f "$ENVFILE"

unavailable() {
    echo "cups-setup: $1; the CUPS printing test will be skipped" >&2
    echo "UNAVAILABLE=$1" >"$ENVFILE"
    exit 0
}

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then SUDO=(sudo -n); else SUDO=(false); fi
fi

if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "cups-setup: installing cups and printer-driver-cups-pdf" >&2
    DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -q cups printer-driver-cups-pdf >/dev/null 2>&1 ||
        { "${SUDO[@]}" apt-get update -q >/dev/null 2>&1 &&
          DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -q cups printer-driver-cups-pdf >/dev/null 2>&1; } ||
        unavailable "cups and printer-driver-cups-pdf could not be installed"
fi
command -v cupsd >/dev/null || unavailable "cupsd is not installed"

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    "${SUDO[@]}" cupsd >/dev/null 2>&1 || unavailable "cupsd could not be started"
    for _ in $(seq 1 50); do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 0.2
    done
    lpstat -r 2>/dev/null | grep -q "is running" || unavailable "the CUPS scheduler did not come up"
fi

if ! lpstat -v "$QUEUE" >/dev/null 2>&1; then
    PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    if [ -f "$PPD" ]; then
        "${SUDO[@]}" lpadmin -p "$QUEUE" -E -v cups-pdf:/ -P "$PPD" >/dev/null 2>&1
    else
        "${SUDO[@]}" lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1
    fi || unavailable "lpadmin could not add the queue $QUEUE"
fi
# The cairo renderer keeps text as text on its way through PostScript, so the
# PDF that arrives can be searched.
"${SUDO[@]}" lpadmin -p "$QUEUE" -o pdftops-renderer-default=pdftocairo >/dev/null 2>&1
"${SUDO[@]}" cupsenable "$QUEUE" >/dev/null 2>&1
"${SUDO[@]}" cupsaccept "$QUEUE" >/dev/null 2>&1
lpstat -p "$QUEUE" 2>/dev/null | grep -q "enabled" || unavailable "the queue $QUEUE is not enabled"

# Two more queues on the same backend for the printer-defaults test: one
# whose PPD offers duplex and trays and prints two-sided from the lower tray
# by default, one whose default paper is Letter.
DUPLEX_QUEUE="${QUEUE}_DUPLEX"
LETTER_QUEUE="${QUEUE}_LETTER"
BASE_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [ -f "$BASE_PPD" ]; then
    if ! lpstat -v "$DUPLEX_QUEUE" >/dev/null 2>&1; then
        DUPLEX_PPD="$(mktemp --suffix=.ppd)"
        awk '{ print }
             /^\*CloseUI: \*PageRegion/ {
                 print ""
                 print "*OpenUI *Duplex/2-Sided Printing: PickOne"
                 print "*OrderDependency: 10 AnySetup *Duplex"
                 print "*DefaultDuplex: DuplexNoTumble"
                 print "*Duplex None/Off: \"<</Duplex false>>setpagedevice\""
                 print "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>setpagedevice\""
                 print "*Duplex DuplexTumble/Short Edge: \"<</Duplex true/Tumble true>>setpagedevice\""
                 print "*CloseUI: *Duplex"
                 print ""
                 print "*OpenUI *InputSlot/Paper Source: PickOne"
                 print "*OrderDependency: 10 AnySetup *InputSlot"
                 print "*DefaultInputSlot: Lower"
                 print "*InputSlot Upper/Upper Tray: \"\""
                 print "*InputSlot Lower/Lower Tray: \"\""
                 print "*CloseUI: *InputSlot"
             }' "$BASE_PPD" >"$DUPLEX_PPD"
        "${SUDO[@]}" lpadmin -p "$DUPLEX_QUEUE" -E -v cups-pdf:/ -P "$DUPLEX_PPD" >/dev/null 2>&1
        rm -f "$DUPLEX_PPD"
    fi
    "${SUDO[@]}" lpadmin -p "$DUPLEX_QUEUE" -o sides-default=two-sided-long-edge >/dev/null 2>&1
    if ! lpstat -v "$LETTER_QUEUE" >/dev/null 2>&1; then
        "${SUDO[@]}" lpadmin -p "$LETTER_QUEUE" -E -v cups-pdf:/ -P "$BASE_PPD" >/dev/null 2>&1
    fi
    "${SUDO[@]}" lpadmin -p "$LETTER_QUEUE" -o PageSize=Letter -o media-default=na_letter_8.5x11in >/dev/null 2>&1
    for q in "$DUPLEX_QUEUE" "$LETTER_QUEUE"; do
        "${SUDO[@]}" cupsenable "$q" >/dev/null 2>&1
        "${SUDO[@]}" cupsaccept "$q" >/dev/null 2>&1
    done
fi
lpstat -p "$DUPLEX_QUEUE" >/dev/null 2>&1 || DUPLEX_QUEUE=""
lpstat -p "$LETTER_QUEUE" >/dev/null 2>&1 || LETTER_QUEUE=""

# Where cups-pdf writes: its Out setting, with ${HOME} and ${USER} of the
# user who submits the job.
USERNAME="$(id -un)"
HOMEDIR="$(getent passwd "$USERNAME" | cut -d: -f6)"
OUT="$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)"
[ -n "$OUT" ] || OUT='/var/spool/cups-pdf/${USER}'
OUT="${OUT//\$\{HOME\}/$HOMEDIR}"
OUT="${OUT//\$\{USER\}/$USERNAME}"

printf 'QUEUE=%s\nOUTDIR=%s\nDUPLEX_QUEUE=%s\nLETTER_QUEUE=%s\n' "$QUEUE" "$OUT" "$DUPLEX_QUEUE" "$LETTER_QUEUE" >"$ENVFILE"
echo "cups-setup: queue $QUEUE ready, PDF files go to $OUT" >&2
