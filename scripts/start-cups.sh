#!/usr/bin/env bash
# Sets up the print server the real print path tests use: installs it (through
# deps.sh), starts cupsd when it is not running, and adds the "PDF" queue, which writes
# each job as a PDF file into the PDF folder of the submitting user's home (~/PDF).
# pdftocairo renders the queue's PostScript step, so the files keep real text that
# pdftotext can read.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --print

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

running() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

if ! running; then
  $sudo cupsd
  # cupsd forks into the background; wait (bounded) until it answers.
  for _ in $(seq 1 100); do
    running && break
    sleep 0.1
  done
fi
if ! running; then
  echo "start-cups: the print server did not start" >&2
  exit 1
fi

if ! lpstat -p PDF >/dev/null 2>&1; then
  $sudo lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E -o pdftops-renderer-default=pdftocairo
fi
mkdir -p "$HOME/PDF"
echo "start-cups: queue PDF ready, files go to $HOME/PDF"
