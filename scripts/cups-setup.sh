#!/usr/bin/env bash
# Makes a local CUPS server with a PDF queue the default printer, so that the
# printing tests go through a real print system. Works as root on a fresh
# Debian 12 machine without systemd: starts cupsd itself when it is not up.
#
# The queue "gradesheet-pdf" writes every job as a PDF file into
# $GS_CUPS_PDF_DIR (default /var/spool/cups-pdf/gradesheet), named after the
# job id and title.
set -euo pipefail

queue=${GS_CUPS_QUEUE:-gradesheet-pdf}
outdir=${GS_CUPS_PDF_DIR:-/var/spool/cups-pdf/gradesheet}
conf=/etc/cups/cups-pdf.conf

fail() { echo "cups-setup: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || fail "must run as root (it configures the system's CUPS server)"
for tool in cupsd lpadmin lpstat cupsenable cupsaccept; do
  command -v "$tool" >/dev/null 2>&1 || [ -x "/usr/sbin/$tool" ] ||
    fail "$tool is missing; install cups, cups-client, cups-bsd (scripts/packages.txt)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing; install printer-driver-cups-pdf"
export PATH="$PATH:/usr/sbin"

# cups-pdf: a known output directory, one file per job (the job id first).
mkdir -p "$outdir"
chmod 1777 "$outdir"
touch "$conf"
set_option() {  # key value: replace the (possibly commented) line or append it
  local key=$1 value=$2
  if grep -qE "^[#[:space:]]*$key[[:space:]]" "$conf"; then
    sed -i -E "0,/^[#[:space:]]*$key[[:space:]].*/s||$key $value|" "$conf"
  else
    echo "$key $value" >>"$conf"
  fi
}
set_option Out "$outdir"
set_option AnonDirName "$outdir"
set_option Label 1

# The server: running already, or started here as a daemon.
server_up() { lpstat -r 2>/dev/null | grep -q "is running"; }
if ! server_up; then
  mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups
  cupsd || fail "cupsd did not start (see /var/log/cups/error_log)"
  for _ in $(seq 1 50); do
    server_up && break
    sleep 0.2
  done
  server_up || fail "cupsd started but does not answer on localhost"
fi

# The queue, made the server's default destination.
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
[ -f "$ppd" ] || ppd=$(ls /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n1)
[ -n "$ppd" ] && [ -f "$ppd" ] || fail "no cups-pdf PPD under /usr/share/ppd/cups-pdf"
# The PDF of a job reaches cups-pdf as PostScript. pdftocairo keeps the text
# of the page searchable through that step (the ghostscript route turns the
# embedded fonts into glyph shapes that pdftotext cannot read back).
# (lpadmin warns that PPD drivers are deprecated; that is expected here.)
lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -o printer-error-policy=abort-job \
  -o pdftops-renderer-default=pdftocairo -D "gradesheet test printer (PDF)" -E \
  2> >(grep -v 'deprecated' >&2)
cupsenable "$queue"
cupsaccept "$queue"
lpadmin -d "$queue" 2>/dev/null

# Root's own default (lpoptions) would override the server's; keep them equal.
if [ -f "${HOME:-/root}/.cups/lpoptions" ]; then
  sed -i -E '/^Default[[:space:]]/d' "${HOME:-/root}/.cups/lpoptions"
fi

lpstat -d | grep -q "$queue" || fail "could not make $queue the default printer"
lpstat -p "$queue" | grep -qv disabled || fail "$queue is disabled"
echo "cups-setup: default printer $queue, PDF files in $outdir"
